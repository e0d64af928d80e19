// The runs that the conductor chooses from the command line.
#include "UpdaterApp.h"

#include "CDlgComponentFound.h"
#include "ComponentInfo.h"
#include "DlgUpdateChecking.h"
#include "UpdateListener.h"
#include "engine/CReaderModuleManager.h"
#include "engine/CRegister.h"
#include "engine/CSetup_CommandLine.h"
#include "engine/CUP_Log.h"
#include "engine/DlgDownload.h"
#include "engine/DlgMessage.h"
#include "engine/UpdaterFolders.h"

#include <QDebug>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTextStream>
#include <QTimer>

namespace {

const QString kUpdateList = QStringLiteral("Update List");
const QString kAutoUpdater = QStringLiteral("Auto Updater");

// Runs `loop` until it quits or `boundMs` has passed.
void runBounded(QEventLoop& loop, int boundMs)
{
    QTimer bound;
    bound.setSingleShot(true);
    QObject::connect(&bound, &QTimer::timeout, &loop, &QEventLoop::quit);
    bound.start(boundMs);
    loop.exec();
}

} // namespace

void UpdaterApp::runUpdate(int language, int country)
{
    m_nLanguage = language;
    m_nCountry = country;
    m_pListener->startListener();
    runUpdateVisible(language, country);
}

void UpdaterApp::runUpdateVisible(int language, int country)
{
    m_nLanguage = language;
    m_nCountry = country;
    if (!makeUnpackFolder())
        return;

    const QString type = m_pCommandLine ? QString::fromStdString(m_pCommandLine->GetUpdaterType()) : QString();
    auto* engine = new CReaderModuleManager(type, this);
    setEngine(engine);
    engine->setLangParm(language, country);
    if (!m_pCommandLine)
        return;
    if (m_pCommandLine->IsInsForceUpdate()) {
        checkForcedUpdate();
        bRunFinished = true;
        return;
    }

    m_strReaderVersion = m_pCommandLine->GetReaderVersion();
    m_strReaderPath = m_pCommandLine->GetReaderPath();
    if (m_pCommandLine->IsRun()) {
        runChecking(true);
    } else if (!m_pCommandLine->IsUpdater()) {
        if (m_pCommandLine->IsInsatll())
            runPackageInstall();
        else
            CUP_Log::PrintLog("no run for this command line: it names no mode");
    } else if (type == kUpdateList || type == kAutoUpdater) {
        runChecking(false);
    } else if (!type.isEmpty()) {
        runComponents(type);
    } else {
        CUP_Log::PrintLog("no run for this command line: the updater type is empty");
    }
}

// Without it nothing can be downloaded or unpacked: the user learns why before the run ends.
bool UpdaterApp::makeUnpackFolder()
{
    const MadeFolder folder = UpdaterFolders::freshUnpackFolder();
    if (!folder.isMade()) {
        DlgMessage message(nullptr);
        message.setInformation(
            tr("The download folder cannot be written (%1):\n%2").arg(folder.error, GetAppDateRootPath() + "updater"));
        message.setStandardButtonsOk();
        message.exec();
        return false;
    }
    m_strUnpackFolder = folder.path;
    return true;
}

// The two checking runs differ only in whether the dialog gets its engine before it is hidden.
void UpdaterApp::runChecking(bool engineFirst)
{
    DlgUpdateChecking checking(kUpdateList, nullptr);
    const auto start = [&] {
        checking.setModuleManager(engine());
        checking.bAutoClose = false;
        checking.startUpdateCheck();
    };
    const auto hide = [&] {
        checking.showMinimized();
        checking.setVisible(false);
        checking.setAttribute(Qt::WA_DontShowOnScreen, true);
    };
    if (engineFirst) {
        start();
        hide();
    } else {
        hide();
        start();
    }
    checking.exec();

    const bool nothingShown = checking.nCheckResult == 1 && !bCheckHandled;
    bRunFinished = true;
    if (nothingShown && m_pCommandLine->GetUpdaterType() == kUpdateList.toStdString())
        NotifyMainCallBack(UPDATE_CHECK_FINISHED);
}

void UpdaterApp::runPackageInstall()
{
    QStringList packages;
    for (const std::string& path : m_pCommandLine->GetVecVzipPath()) {
        if (!path.empty())
            packages.append(QString::fromStdString(path));
    }

    DlgDownload worker(nullptr);
    // Each package reports its end once, when its installers have ended; those started through
    // "open" end at once. The window must not go before that: it would take their ends with it.
    int packagesEnded = 0;
    QEventLoop allEnded;
    connect(&worker, &DlgDownload::SignalInstallProgress, &allEnded, [&](QString, int value) {
        if ((value == 100 || value == -1) && ++packagesEnded >= packages.size())
            allEnded.quit();
    });
    for (int i = 0; i < packages.size(); ++i) {
        // Each package in a folder of its own: another package's files must not replace those
        // that an installer started before may still be reading.
        worker.InstallVzip(packages[i], m_strUnpackFolder + "/" + QString::number(i + 1), true, false);
    }
    if (packagesEnded < packages.size())
        runBounded(allEnded, m_nInstallerWaitBoundMs);
    bRunFinished = true;
}

void UpdaterApp::runComponents(const QString& components)
{
    CReaderModuleManager* engine = this->engine();
    ComponentInfo info{QString::fromStdString(GetProductName()), QString::fromStdString(m_strReaderVersion), components,
                       engine->GetLocalLangName(), "Business"};
    CDlgComponentFound found(info, nullptr);
    if (found.exec() != QDialog::Accepted) {
        bRunFinished = true;
        return;
    }

    qDebug() << "need to download now...";
    if (!queryComponents() || !this->engine() || this->engine()->CountAvailableModule() < 1) {
        warnComponentsUnavailable();
        bRunFinished = true;
        return;
    }

    engine = this->engine();
    if (!components.contains(',')) {
        engine->AddSelModule(components);
    } else {
        for (const QString& name : components.split(',')) {
            if (!name.isEmpty())
                engine->AddSelModule(name);
        }
    }
    if (engine->CountSelModules() < 1)
        warnComponentsUnavailable();
    else
        engine->ModuleCallback(kUpdateList.toStdString(), engine, true);
    bRunFinished = true;
}

// Waits, bounded, until the query ends in any of its three ways; false when it did not start.
bool UpdaterApp::queryComponents()
{
    CReaderModuleManager* engine = this->engine();
    QEventLoop loop;
    bool ended = false;
    const auto end = [&] {
        ended = true;
        loop.quit();
    };
    connect(engine, &CReaderModuleManager::sQueryModuleInfoFinish, &loop, end);
    connect(engine, &CReaderModuleManager::sErrorFinish, &loop, end);
    connect(engine, &CReaderModuleManager::sErrorNetwork, &loop, end);
    if (engine->QueryModuleInfo(nullptr, false) != 0)
        return false;
    if (!ended)
        runBounded(loop, m_nComponentQueryBoundMs);
    return true;
}

void UpdaterApp::warnComponentsUnavailable()
{
    QMessageBox::warning(nullptr, tr("Kelvrin Updater"),
                         tr("Unable to get this component pack. Please check if they are ready for this version."),
                         QMessageBox::Ok);
}

void UpdaterApp::checkForcedUpdate()
{
    const QString appName =
        CRegister::regGetString("HKEY_LOCAL_MACHINE\\SOFTWARE\\Kelvrin Software\\Kelvrin PDF Reader\\InstallAppName",
                                "Kelvrin PDF Reader.app");
    if (!QFileInfo::exists(appName)) {
        qDebug() << "qsAppName文件不存在";
        return;
    }
    QFile list("ForceUpdateList.txt");
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text))
        qDebug() << "Can't open the file!";
    QTextStream lines(&list);
    while (list.isOpen() && !lines.atEnd())
        qDebug() << lines.readLine();
}
