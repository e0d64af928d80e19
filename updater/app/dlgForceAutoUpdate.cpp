#include "dlgForceAutoUpdate.h"

#include "ui_dlgForceAutoUpdate.h"

#include <QDebug>

dlgForceAutoUpdate::dlgForceAutoUpdate(CReaderModuleManager* manager, QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui_dlgForceAutoUpdate>())
    , m_pManager(manager)
{
    ui->setupUi(this);
    // The three markers stay: the texts that would fill them are not known to this dialog.
    ui->lbl_detail->setText(QCoreApplication::translate(
        "dlgForceAutoUpdate", "Your IT administrator has required a %s update. %s must be closed to proceed with the "
                              "installation. Please close %s and then click Retry to continue."));
    connect(ui->btn_Install, &QPushButton::clicked, this, &dlgForceAutoUpdate::onBtnInstall);
}

dlgForceAutoUpdate::~dlgForceAutoUpdate() = default;

void dlgForceAutoUpdate::onBtnInstall()
{
    qDebug() << "添加Btn实现";
}
