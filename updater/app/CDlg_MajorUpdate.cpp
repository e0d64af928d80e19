#include "CDlg_MajorUpdate.h"

#include "MarkerText.h"
#include "RedirectAddresses.h"
#include "UpdaterApp.h"
#include "engine/CRegister.h"
#include "engine/CSetup_CommandLine.h"
#include "ui_CDlg_MajorUpdate.h"

#include <QDebug>
#include <QDesktopServices>
#include <QUrl>

namespace {

const QString kUpdaterKey = QStringLiteral("Software\\Kelvrin Software\\Kelvrin PDF Reader\\plugins\\Updater");
// Dismissals count 1, 2, 3 and then start over; More Info sets the count to its top at once.
constexpr unsigned int kMostDismissals = 3;

// The run's selected updater module that brings a major upgrade; null without a conductor or engine.
const MODULEINFO* selectedMajorUpgrade()
{
    CReaderModuleManager* engine = theApp ? theApp->engine() : nullptr;
    if (!engine)
        return nullptr;
    for (int i = 0; i < engine->CountSelModules(); ++i) {
        const MODULEINFO* module = engine->GetSelModule(i);
        if (module && module->module_type == "updater" && module->bMajorUpgrade)
            return module;
    }
    return nullptr;
}

// Remembers the upgrade's version as declined; with `checked` also marks it as fully seen.
void rememberMajorUpgrade(bool checked)
{
    const MODULEINFO* module = selectedMajorUpgrade();
    if (!module)
        return;
    CRegister::regSetString(kUpdaterKey, "UpdateRejectVersion", QString::fromStdString(module->version));
    if (checked)
        CRegister::regSetDword(kUpdaterKey, "MajorUpdateChecked", kMostDismissals);
}

void countDismissal()
{
    const unsigned int dismissals = CRegister::regGetDword(kUpdaterKey, "MajorUpdateChecked");
    CRegister::regSetDword(kUpdaterKey, "MajorUpdateChecked", dismissals < kMostDismissals ? dismissals + 1 : 1);
}

QString readerVersion()
{
    if (!theApp || !theApp->commandLine())
        return QString();
    return QString::fromStdString(theApp->commandLine()->GetReaderVersion());
}

void replaceWhenSet(QLabel* label, const QString& text)
{
    if (!text.isEmpty())
        label->setText(text);
}

} // namespace

CDlg_MajorUpdate::CDlg_MajorUpdate(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui_CDlg_MajorUpdate>())
{
    ui->setupUi(this);
    setWindowFlags((windowFlags() | Qt::CustomizeWindowHint) & ~Qt::WindowMaximizeButtonHint);
    ui->lb_title->setText(
        fillMarkers(ui->lb_title->text(), {{"%s", QString::fromStdString(UpdaterApp::GetProductName())}}));

    if (theApp) {
        replaceWhenSet(ui->lb_title, theApp->m_strMajorTipTitle);
        replaceWhenSet(ui->lb_des, theApp->m_strMajorTipContent);
        if (!theApp->m_strMajorTipButton.isEmpty())
            ui->btn_info->setText(theApp->m_strMajorTipButton);
    }
}

CDlg_MajorUpdate::~CDlg_MajorUpdate()
{
    if (m_bMoreInfo)
        return;
    rememberMajorUpgrade(false);
    countDismissal();
}

void CDlg_MajorUpdate::on_btn_info_clicked()
{
    m_bMoreInfo = true;
    rememberMajorUpgrade(true);

    const QString language = theApp ? QString::fromStdString(theApp->GetLang()) : QString();
    const QString address =
        majorUpgradeInfoAddress(UpdaterApp::GetPackageType(), language, readerVersion(), QStringLiteral("Business"));
    qDebug() << "url: " << address;
    QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
    accept();
}

void CDlg_MajorUpdate::on_pushButton_2_clicked()
{
    reject();
}
