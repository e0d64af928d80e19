#pragma once

#include <QDialog>

#include <memory>

class Ui_CDlg_MajorUpdate;

// Announces a major upgrade and offers to show what is new. Closing it without More Info counts the
// dismissal in the settings, so the engine can stop offering the same upgrade. No run opens it.
class CDlg_MajorUpdate : public QDialog
{
    Q_OBJECT

public:
    explicit CDlg_MajorUpdate(QWidget* parent);
    ~CDlg_MajorUpdate() override;

public slots:
    void on_btn_info_clicked();
    void on_pushButton_2_clicked();

private:
    std::unique_ptr<Ui_CDlg_MajorUpdate> ui;
    bool m_bMoreInfo = false;
};
