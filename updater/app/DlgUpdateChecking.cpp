#include "DlgUpdateChecking.h"

#include "engine/DlgMessage.h"
#include "DlgUpdatesTree.h"
#include "UpdaterApp.h"
#include "engine/CReaderModuleManager.h"
#include "engine/CSetup_CommandLine.h"
#include "engine/UpdaterResources.h"
#include "ui_DlgUpdateChecking.h"

#include <QDebug>
#include <QStringList>
#include <QTimer>

#include <array>

namespace {

constexpr int kCheckTimeoutMs = 60000;

// "12.1.0.3" as four numbers: the text before each of the first three points, then the rest.
std::array<int, 4> versionNumbers(QString version)
{
    std::array<int, 4> numbers{};
    for (int i = 0; i < 3; ++i) {
        const int point = version.indexOf('.');
        numbers[i] = version.left(point).toInt();
        version = point < 0 ? QString() : version.mid(point + 1);
    }
    numbers[3] = version.toInt();
    return numbers;
}

} // namespace

DlgUpdateChecking::DlgUpdateChecking(QString title, QWidget* parent)
    : QDialog(parent)
    , m_strTitle(std::move(title))
{
    ensureUpdaterResources();
    ui = new Ui_DlgUpdateChecking;
    ui->setupUi(this);
    setWindowFlags(windowFlags() | Qt::CustomizeWindowHint | Qt::WindowStaysOnTopHint);
    setWindowFlags(Qt::WindowFlags());
}

DlgUpdateChecking::~DlgUpdateChecking()
{
    delete ui;
}

void DlgUpdateChecking::setModuleManager(CReaderModuleManager* engine)
{
    m_pModuleManager = engine;
}

void DlgUpdateChecking::startUpdateCheck()
{
    if (!m_pModuleManager)
        return;
    startTimer(kCheckTimeoutMs);
    connect(m_pModuleManager, SIGNAL(sQueryModuleInfoFinish()), this, SLOT(checkFinsh()));
    connect(m_pModuleManager, SIGNAL(sErrorFinish()), this, SLOT(ErrFinish()));
    connect(m_pModuleManager, SIGNAL(sErrorNetwork()), this, SLOT(ErrNetwork()));
    m_pModuleManager->QueryModuleInfo(ui->progressBar, false);
}

void DlgUpdateChecking::startTimer(int ms)
{
    if (!m_pTimer) {
        m_pTimer = new QTimer(this);
        connect(m_pTimer, SIGNAL(timeout()), this, SLOT(timeOut()));
    }
    m_pTimer->start(ms);
}

void DlgUpdateChecking::checkFinsh()
{
    nCheckResult = 1;
    reject();
    deleteTimer();
    if (m_pModuleManager)
        OnUpdateQueryResult(m_pModuleManager->GetQueryResultInfo());
}

bool DlgUpdateChecking::OnUpdateQueryResult(QueryResultInfo info)
{
    if (!info.bSuccess) {
        if (reportsToReader())
            theApp->NotifyMainCallBack(UPDATE_CHECK_ERROR_NETWORK);
        theApp->bCheckHandled = true;
        nCheckResult = -1;
        reject();
        releaseEngine();
        return true;
    }
    if (!info.bUpdateFound) {
        if (reportsToReader())
            theApp->NotifyMainCallBack(UPDATE_CHECK_FINISHED);
        releaseEngine();
        theApp->bCheckHandled = true;
        reject();
        return true;
    }

    bool allSilent = true;
    for (int i = 0; allSilent && m_pModuleManager && i < m_pModuleManager->CountAvailableModule(); ++i) {
        const MODULEINFO* record = m_pModuleManager->GetAvailabletModule(i);
        allSilent = record && record->SilentInstall;
    }
    if (allSilent) {
        releaseEngine();
        return true;
    }

    if (reportsToReader())
        theApp->NotifyMainCallBack(bAutoClose ? UPDATE_CHECK_AUTOCLOSE : UPDATE_CHECK_CLOSE);
    DlgUpdatesTree list(m_pModuleManager, theApp, nullptr);
    theApp->bCheckHandled = true;
    list.exec();
    if (list.bFinished)
        reject();
    return true;
}

void DlgUpdateChecking::ErrFinish()
{
    reject();
}

void DlgUpdateChecking::ErrNetwork()
{
    if (reportsToReader())
        theApp->NotifyMainCallBack(UPDATE_CHECK_ERROR_NETWORK);
    nCheckResult = -1;
    theApp->bCheckHandled = true;
    reject();
}

void DlgUpdateChecking::timeOut()
{
    qDebug() << "Update Time out";
    if (nCheckResult != -1)
        return;
    nCheckResult = -1;
    deleteTimer();
    if (bAutoClose)
        showTimeoutMessage();
    else
        theApp->NotifyMainCallBack(UPDATE_CHECK_ERROR_NETWORK);
    theApp->bCheckHandled = true;
    reject();
}

void DlgUpdateChecking::on_cancelButton_clicked()
{
    nCheckResult = 0;
    deleteTimer();
    if (m_pModuleManager)
        m_pModuleManager->stopDownload();
    reject();
}

bool DlgUpdateChecking::CheckMajorVersionUpgrade(std::string version)
{
    const QString readerVersion = theApp ? QString::fromStdString(theApp->m_strReaderVersion) : QString();
    return versionNumbers(QString::fromStdString(version)) > versionNumbers(readerVersion);
}

bool DlgUpdateChecking::reportsToReader() const
{
    const CSetup_CommandLine* commandLine = theApp->commandLine();
    return !commandLine || commandLine->GetUpdaterType() != "Auto Updater";
}

void DlgUpdateChecking::releaseEngine()
{
    if (m_pModuleManager && theApp->engine() == m_pModuleManager)
        theApp->releaseEngine();
    m_pModuleManager = nullptr;
}

// The timer may be the sender of the running slot: it goes once that slot has returned.
void DlgUpdateChecking::deleteTimer()
{
    if (!m_pTimer)
        return;
    m_pTimer->stop();
    m_pTimer->deleteLater();
    m_pTimer = nullptr;
}

void DlgUpdateChecking::showTimeoutMessage()
{
    DlgMessage message(this);
    message.setInformation(tr("Cannot establish connection to the Server, Check your network."));
    const QPoint centre = UpdaterApp::GetMainAppCenterPos();
    message.move(centre.x() - message.width() / 2, centre.y() - message.height() / 2);
    message.exec();
}
