#include "DlgMessage.h"

#include "UpdaterResources.h"
#include "ui_DlgMessage.h"

DlgMessage::DlgMessage(QWidget* parent)
    : QDialog(parent)
{
    ensureUpdaterResources();
    ui = new Ui_DlgMessage;
    ui->setupUi(this);
    setFixedSize(size());
    setWindowFlags(windowFlags() | Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    ui->label->setWordWrap(true);
    ui->label->setAlignment(Qt::AlignTop);
}

DlgMessage::~DlgMessage()
{
    delete ui;
}

void DlgMessage::setInformation(QString text)
{
    ui->label->setText(text);
}

void DlgMessage::setOkButtonText(QString text)
{
    ui->pushButton_cancel->setVisible(true);
    ui->pushButton_ok->setText(text);
}

void DlgMessage::setStandardButtonsOk()
{
    ui->pushButton_cancel->setVisible(false);
    ui->pushButton_ok->setText(tr("OK"));
}

void DlgMessage::on_pushButton_cancel_clicked()
{
    reject();
}

void DlgMessage::on_pushButton_ok_clicked()
{
    bOk = true;
    reject();
}
