#pragma once

#include <QDialog>
#include <QString>

class Ui_DlgMessage;

// The updater's small modal question: one text, OK and Cancel. Both buttons reject the dialog, so
// the caller reads the answer from `bOk` after exec(), never from exec()'s result.
class DlgMessage : public QDialog
{
    Q_OBJECT

public:
    explicit DlgMessage(QWidget* parent);
    ~DlgMessage() override;

    void setInformation(QString text);
    // Shows Cancel again and names the OK button.
    void setOkButtonText(QString text);
    // Leaves only the OK button.
    void setStandardButtonsOk();

    // True once the user has clicked OK; Cancel and the close control leave it false.
    bool bOk = false;

private slots:
    void on_pushButton_cancel_clicked();
    void on_pushButton_ok_clicked();

private:
    Ui_DlgMessage* ui;
};
