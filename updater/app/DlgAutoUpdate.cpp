#include "DlgAutoUpdate.h"

#include "ui_DlgAutoUpdate.h"

DlgAutoUpdate::DlgAutoUpdate(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui_DlgAutoUpdate>())
{
    ui->setupUi(this);
}

DlgAutoUpdate::~DlgAutoUpdate() = default;
