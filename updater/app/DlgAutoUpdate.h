#pragma once

#include <QDialog>

#include <memory>

class Ui_DlgAutoUpdate;

// The offer form of an automatic update: the form only. No run opens it.
class DlgAutoUpdate : public QDialog
{
    Q_OBJECT

public:
    explicit DlgAutoUpdate(QWidget* parent);
    ~DlgAutoUpdate() override;

private:
    std::unique_ptr<Ui_DlgAutoUpdate> ui;
};
