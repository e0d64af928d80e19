#pragma once

#include <QDialog>

#include <memory>

class Ui_dlgAcCertain;

// Asks the user to update now or next time, as the enterprise administrator requested. No run opens it.
class dlgAcCertain : public QDialog
{
    Q_OBJECT

public:
    explicit dlgAcCertain(QWidget* parent);
    ~dlgAcCertain() override;

public slots:
    // The now button's target; the update it would start is not part of this updater.
    void on_btn_now();

private:
    std::unique_ptr<Ui_dlgAcCertain> ui;
};
