#include "DlgDownload.h"

#include "CZR_Vzip.h"
#include "CUP_Log.h"
#include "Comm.h"
#include "InstallHistoryCheck.h"
#include "UpdaterFolders.h"
#include "WorkBesideEventLoop.h"
#include "XmlTree.h"
#include "platform/InstallerPrograms.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>

#include <memory>

// The installers started for one module. The module ends once, when the last of them has ended.
struct InstallBatch {
    QString title;
    QString package; // names the module in the log when it has no title, as in the install mode
    int running = 0;
    bool starting = true; // InstallVzip is still starting installers
    QString failure;      // why the first installer that failed or was not confirmed did so; empty while none
    bool reported = false;
    ClaimedRecords claimedRecords;

    QString logName() const { return title.isEmpty() ? package : title; }
};

namespace {

// An installer list is a few lines; anything this large is not one.
constexpr qint64 kMaximumSetupFileSize = 4 * 1024 * 1024;
// A package holds a handful of installers, and all of them start at once: a list of more would
// start that many processes together.
constexpr int kMostInstallers = 256;

// Empty for an installer that ended well.
QString installerExitCause(int exitCode, QProcess::ExitStatus status)
{
    if (status != QProcess::NormalExit)
        return QStringLiteral("the installer crashed");
    return exitCode == 0 ? QString() : QString("the installer ended with exit code %1").arg(exitCode);
}

using XmlTree::text;

// `name` from the package's list, kept inside the unpack folder; empty when it would leave it.
QString installerPathInside(const QString& folder, const QString& name)
{
    const QString base = QDir::cleanPath(folder);
    const QString path = QDir::cleanPath(folder + name);
    return path.startsWith(base + "/") ? folder + name : QString();
}

// How an unpacking failed; no cause when it did not.
struct UnpackFailure {
    QString cause;
    bool forWantOfRoom = false;
    bool forThePackage = false;
};

// A package of the download folder that is no good would be taken for complete by every later run:
// when the service announces no digest, its size is all that is checked. It goes, so that the next
// run fetches it again; a package that failed because of this system is good and stays for the next
// try, and one given from elsewhere is not ours to remove.
void removeUnusableDownload(const QString& package, const QString& why)
{
    const QString downloadFolder = QDir::cleanPath(QFileInfo(UpdaterFolders::downloadFolderPath()).absoluteFilePath());
    if (QDir::cleanPath(QFileInfo(package).absolutePath()) != downloadFolder)
        return;
    if (QFile::remove(package))
        CUP_Log::PrintLog("removed the package that " + why + ": " + package);
}

// Why the installers that a package lists cannot all be started; no cause when they can.
struct ListFault {
    QString cause;
    bool ofThePackage = true; // false: the list is there, but this system cannot read it

    bool found() const { return !cause.isEmpty(); }
};

// Reads the installer list of an unpack folder (ending in "/") into `entries`. An entry whose name
// leads out of the folder is left out. A list that is missing, too large, not well-formed, lists
// nothing or too many, or names a file outside the package is the package's fault: it would fail the same way
// however often it is fetched.
ListFault readInstallerList(const QString& folder, QVector<_SetupInfo*>& entries)
{
    QFile file(folder + "Setup.xml");
    if (!file.open(QIODevice::ReadOnly)) {
        if (QFileInfo(file).isFile())
            return ListFault{"the installer list cannot be read: " + file.errorString(), false};
        return ListFault{"the package lists no installer"};
    }
    if (file.size() > kMaximumSetupFileSize)
        return ListFault{"the installer list is too large to be one"};
    const QByteArray bytes = file.readAll();
    // A list cut short would install its first packages and count the module as installed.
    const XmlTree::Tree root = bytes.isEmpty() ? XmlTree::Tree() : XmlTree::parseWellFormed(bytes, file.fileName());
    if (!root)
        return ListFault{"the package lists no installer"};

    ListFault fault;
    CZR_ByteString prefix;
    CZR_ByteString name;
    CZR_WideString value;
    for (unsigned i = 0; i < root->CountChildren(); ++i) {
        const CZR_XMLElement* element = root->GetElement(i);
        if (!element || element->GetTagName(false) != "file")
            continue;
        auto record = std::make_unique<_SetupInfo>();
        QString entryName;
        for (int k = 0; k < element->CountAttrs(); ++k) {
            element->GetAttrByIndex(k, prefix, name, value);
            if (name == "name")
                entryName = text(value);
            else if (name == "parameter")
                record->parameter = text(value);
            else if (name == "iscommon")
                record->iscommon = text(value).compare("true", Qt::CaseInsensitive) == 0;
        }
        record->name = installerPathInside(folder, entryName);
        if (record->name.isEmpty()) {
            if (!fault.found())
                fault.cause = "the package lists an installer outside itself: \"" + entryName + "\"";
            continue;
        }
        entries.append(record.release());
        if (entries.size() > kMostInstallers) {
            fault.cause = QString("the package lists more than %1 installers").arg(kMostInstallers);
            break;
        }
    }
    if (!fault.found() && entries.isEmpty())
        fault.cause = "the package lists no installer";
    return fault;
}

// Why the installers that the package lists cannot all be started, installers that the package lacks
// included.
ListFault installerListFault(const QString& unpackFolder, QVector<_SetupInfo*>& entries)
{
    const ListFault fault = readInstallerList(unpackFolder, entries);
    if (fault.found())
        return fault;
    for (const _SetupInfo* entry : entries) {
        // Installers that are bundles are folders.
        if (!QFileInfo::exists(entry->name))
            return ListFault{"the package lacks the installer it lists: " + entry->name};
    }
    return ListFault();
}

QString withSlash(const QString& folder)
{
    return folder.endsWith('/') ? folder : folder + '/';
}

} // namespace

void DlgDownload::InstallVzip(QString package, QString unpackFolder, bool bAllowPrompt, bool bUserModule)
{
    const QString title = m_strTitle;
    emit SignalInstallProgress(title, 0);
    // Unpacking can take long, and meanwhile anything may happen to this window.
    QPointer<DlgDownload> self(this);
    const UnpackFailure failure = runBesideEventLoop([package, unpackFolder]() mutable {
        CZR_Vzip vzip;
        if (vzip.Unzip2(package, unpackFolder) >= 1)
            return UnpackFailure();
        return UnpackFailure{vzip.failureCause(), vzip.failedForWantOfRoom(), vzip.failedForThePackage()};
    });
    if (!self)
        return;
    if (!failure.cause.isEmpty()) {
        qDebug() << "Uncompress Failed";
        CUP_Log::PrintLog("Uncompress Failed: " + package + ": " + failure.cause);
        if (failure.forThePackage)
            removeUnusableDownload(package, "does not unpack");
        else
            CUP_Log::PrintLog(QString("the package is kept for the next try: ") +
                              (failure.forWantOfRoom ? "the disk has no room to unpack it" : "it is not at fault"));
        emit SignalInstallProgress(title, -1);
        QMessageBox::warning(nullptr, tr("Kelvrin PDF Reader") + tr(" Updater"),
                             tr("Failed to extract the downloaded package. Please try again."), QMessageBox::Ok);
        // The box runs a modal loop of its own.
        if (self)
            continueDownload();
        return;
    }
    emit SignalInstallProgress(title, 20);

    QVector<_SetupInfo*> entries;
    const ListFault listFault = installerListFault(withSlash(unpackFolder), entries);
    if (listFault.found()) {
        // Installing part of a package that lacks one of its installers would leave it half installed.
        qDeleteAll(entries);
        CUP_Log::PrintLog(listFault.cause + ", in " + package);
        if (listFault.ofThePackage)
            removeUnusableDownload(package, "cannot be installed");
        emit SignalInstallProgress(title, -1);
        continueDownload();
        return;
    }

    // The prompt runs a modal loop, in which anything may happen to this window.
    bool replaceable = true;
    while (replaceable && bAllowPrompt && bUserModule && IsDurnisRun()) {
        replaceable = askToCloseReader();
        if (!self) {
            qDeleteAll(entries);
            return;
        }
    }
    if (!replaceable) {
        qDeleteAll(entries);
        CUP_Log::PrintLog("install of " + title + " failed: Kelvrin PDF Reader was not closed");
        emit SignalInstallProgress(title, -1);
        continueDownload();
        return;
    }

    auto batch = std::make_shared<InstallBatch>();
    batch->title = title;
    batch->package = package;
    m_pStartingBatch = batch;
    for (const _SetupInfo* entry : qAsConst(entries)) {
        if (!entry)
            continue;
        qDebug() << "excute shell:" << entry->name;
        const int result = installUpdates(entry->name);
        qDebug() << "excute result:" << result;
    }
    m_pStartingBatch.reset();
    qDeleteAll(entries);
    batch->starting = false;
    finishBatchIfDone(batch);
}

int DlgDownload::installUpdates(QString installerPath)
{
    InstallerStart installer;
    installer.path = installerPath;
    installer.atMs = QDateTime::currentMSecsSinceEpoch();
    installer.viaOpen = installMode();
    CUP_Log::PrintLog(QString("fileinfo: %1").arg(QFileInfo(installerPath).size()));
    CUP_Log::PrintLog("beign open: " + installerPath);

    std::shared_ptr<InstallBatch> batch = m_pStartingBatch;
    const bool alone = !batch;
    if (alone) {
        batch = std::make_shared<InstallBatch>();
        batch->title = m_strTitle;
        batch->package = installerPath;
    }
    ++batch->running;

    const QString program =
        installer.viaOpen ? InstallerPrograms::openProgram() : InstallerPrograms::installerProgram();
    if (!installer.viaOpen)
        InstallHistoryCheck::noteHistoryAtStart(batch->claimedRecords);
    if (program.isEmpty()) {
        installerEnded(batch, installer, "there is no installer program on this system");
    } else {
        // Not the window's child: the window's end must not end an installation.
        auto* process = new QProcess;
        m_pInstallProcess = process;
        connect(process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), process,
                &QObject::deleteLater);
        connect(process, &QProcess::errorOccurred, process, [process](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart)
                process->deleteLater();
        });
        connect(process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
                [this, batch, installer](int exitCode, QProcess::ExitStatus status) {
                    qDebug() << "[S/W Update] Finished install with exit code" << exitCode;
                    installerEnded(batch, installer, installerExitCause(exitCode, status));
                });
        connect(process, &QProcess::errorOccurred, this,
                [this, process, batch, installer](QProcess::ProcessError error) {
                    if (error != QProcess::FailedToStart)
                        return;
                    installerEnded(batch, installer, "the installer did not start: " + process->errorString());
                });
        process->start(program, QStringList() << installerPath, QIODevice::ReadWrite);
        if (!installer.viaOpen)
            m_pInstallerFrontTimer->start();
    }
    if (alone) {
        batch->starting = false;
        finishBatchIfDone(batch);
    }
    CUP_Log::PrintLog(
        QString("open have use seconds: %1").arg((QDateTime::currentMSecsSinceEpoch() - installer.atMs) / 1000));
    return 0;
}

void DlgDownload::installerEnded(const std::shared_ptr<InstallBatch>& batch, const InstallerStart& installer,
                                 QString failure)
{
    if (failure.isEmpty() && installer.viaOpen) {
        // The installer runs on its own after "open" has returned: its record comes later, if at all.
        CUP_Log::PrintLog("install of " + batch->logName() + ": " + installer.path + " handed to the installer");
    } else if (failure.isEmpty()) {
        switch (InstallHistoryCheck::claimRecord(installer, batch->claimedRecords)) {
        case InstallHistoryCheck::Verdict::Confirmed:
            break;
        case InstallHistoryCheck::Verdict::NotConfirmed:
            failure = "the install history has no fresh record of it";
            break;
        case InstallHistoryCheck::Verdict::Unusable:
            failure = "the install history cannot be read";
            break;
        }
    }
    if (!failure.isEmpty() && batch->failure.isEmpty())
        batch->failure = installer.path + ": " + failure;
    --batch->running;
    finishBatchIfDone(batch);
}

void DlgDownload::finishBatchIfDone(const std::shared_ptr<InstallBatch>& batch)
{
    if (batch->starting || batch->running > 0 || batch->reported)
        return;
    batch->reported = true;
    if (!batch->failure.isEmpty()) {
        CUP_Log::PrintLog("install of " + batch->logName() + " failed: " + batch->failure);
        emit SignalInstallProgress(batch->title, -1);
    } else {
        emit SignalInstallProgress(batch->title, 90);
        emit SignalInstallProgress(batch->title, 100);
    }
    continueDownload();
}

// Brings the Installer in front of the reader once it has had a second to open its window.
void DlgDownload::bringInstallerToFront()
{
    m_pInstallerFrontTimer->stop();
    const QString open = InstallerPrograms::openProgram();
    if (open.isEmpty())
        return;
    QProcess front;
    front.start(open, QStringList() << InstallerPrograms::installerApplication());
    if (!front.waitForFinished(m_nFrontStepLimitMs)) {
        front.kill();
        front.waitForFinished();
    }
}

void DlgDownload::ParseSetupInfo(QString folder, QVector<_SetupInfo*>& entries)
{
    if (folder.isEmpty())
        return;
    entries.clear();
    folder = withSlash(folder);
    if (!QDir(folder).exists())
        QDir().mkdir(folder);
    const ListFault fault = readInstallerList(folder, entries);
    if (fault.found())
        CUP_Log::PrintLog("the installer list in " + folder + " is no good: " + fault.cause);
}

void DlgDownload::collectPlugin(const QString& fileName)
{
    m_vecCollectedPlugins.append(qMakePair(m_strTitle, fileName));
}

// Copies the collected plug-ins and ends each of their modules: an installed plug-in of that name
// stays as it is and counts as installed.
void DlgDownload::installCollectedPlugins()
{
    const QMap<QString, PluginCopy> outcomes = copyPlugins();
    const auto collected = m_vecCollectedPlugins;
    m_vecCollectedPlugins.clear();
    for (const auto& plugin : collected) {
        const PluginCopy outcome = outcomes.value(plugin.second, PluginCopy::Failed);
        emit SignalInstallProgress(plugin.first, outcome == PluginCopy::Failed ? -1 : 100);
    }
}

bool DlgDownload::copyJSPlugin()
{
    const QMap<QString, PluginCopy> outcomes = copyPlugins();
    for (const PluginCopy outcome : outcomes) {
        if (outcome != PluginCopy::Copied)
            return false;
    }
    return true;
}

QMap<QString, DlgDownload::PluginCopy> DlgDownload::copyPlugins()
{
    QMap<QString, PluginCopy> outcomes;
    const QString source = appDataRootPath() + "updater/";
    const QStringList names = QDir(source).entryList(QStringList() << "JS*");
    for (const QString& name : names) {
        const QString destination = QDir(appDataPath() + "SilentInstall/JavaScripts").absolutePath();
        if (!QDir().mkpath(destination)) {
            CUP_Log::PrintLog("copy of plug-in " + name + " failed: the folder cannot be made: " + destination);
            outcomes.insert(name, PluginCopy::Failed);
            continue;
        }
        const QString target = destination + "/" + name;
        QFile plugin(source + name);
        if (plugin.copy(target)) {
            outcomes.insert(name, PluginCopy::Copied);
        } else if (QFileInfo::exists(target)) {
            outcomes.insert(name, PluginCopy::AlreadyInstalled);
        } else {
            CUP_Log::PrintLog("copy of plug-in " + name + " failed: " + target + ": " + plugin.errorString());
            outcomes.insert(name, PluginCopy::Failed);
        }
        QFile::remove(source + name);
    }
    return outcomes;
}

bool DlgDownload::IsDurnisRun()
{
    return m_readerProbe ? m_readerProbe() : CheckMacProcessRunning("Kelvrin PDF Reader");
}

void DlgDownload::setReaderProbe(std::function<bool()> isReaderRunning)
{
    m_readerProbe = std::move(isReaderRunning);
}
