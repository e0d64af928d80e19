#include "dlgAcCertain.h"

#include "ui_dlgAcCertain.h"

dlgAcCertain::dlgAcCertain(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui_dlgAcCertain>())
{
    ui->setupUi(this);
    // The slot's name does not follow the by-name pattern ("on_btn_now_clicked"), so it is connected here.
    connect(ui->btn_now, &QPushButton::clicked, this, &dlgAcCertain::on_btn_now);
}

dlgAcCertain::~dlgAcCertain() = default;

void dlgAcCertain::on_btn_now() {}
