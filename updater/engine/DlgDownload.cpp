#include "DlgDownload.h"

#include "CReaderModuleManager.h"
#include "PackageChecksum.h"
#include "QHttpDownLoadS.h"
#include "UpdaterFolders.h"
#include "UpdaterResources.h"
#include "WorkBesideEventLoop.h"
#include "CUP_Log.h"
#include "ui_DlgDownload.h"

#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>

#include <cmath>

namespace {

constexpr int kStartInstallDelayMs = 3000;
constexpr int kNinetySeconds = 90000;

// The package's file name: the URL's last segment, cut after "vzip" so that a query string goes.
QString packageFileName(const QString& url)
{
    QString name = url.mid(url.lastIndexOf('/') + 1);
    const int extension = name.indexOf("vzip");
    if (extension >= 0)
        name = name.left(extension) + "vzip";
    return name;
}

// A name that would make the target the download folder itself or its parent.
bool isUnusableFileName(const QString& name)
{
    return name.isEmpty() || name == "." || name == "..";
}

// The module's size text ("1048576B") as bytes; 0 when it holds no number.
qint64 expectedPackageSize(const std::string& sizeText)
{
    const QString text = QString::fromStdString(sizeText);
    const int unit = text.indexOf('B');
    return (unit >= 0 ? text.left(unit) : text).toLongLong();
}

// "--" when nothing has arrived yet or no time has passed: there is no rate to divide by.
QString remainingSecondsText(qint64 received, qint64 total, double elapsedSeconds)
{
    const double remaining = (total - received) / (received / elapsedSeconds);
    if (!std::isfinite(remaining) || remaining < 0 || remaining > 1e15)
        return QStringLiteral("--");
    return QString::number(static_cast<qint64>(remaining));
}

// Reads the whole package, which can take long, beside the event loop.
QByteArray packageDigest(const QString& path)
{
    return runBesideEventLoop([path] { return PackageChecksum::md5Of(path); });
}

} // namespace

DlgDownload::DlgDownload(QWidget* parent)
    : QMainWindow(parent),
      ui(new Ui_DlgDownload),
      m_pDownloader(nullptr),
      m_pCurModule(nullptr),
      m_nResumeOffset(0),
      m_nCurIndex(0),
      m_pInstallProcess(nullptr),
      m_pStartInstallTimer(nullptr),
      m_pInstallerFrontTimer(nullptr),
      m_nFrontStepLimitMs(30000),
      m_nResponseTimeoutMs(kNinetySeconds),
      m_nWatchdogIntervalMs(kNinetySeconds)
{
    ensureUpdaterResources();
    ui->setupUi(this);
    setWindowFlags(Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint);
    connect(ui->cancelButton, SIGNAL(clicked()), this, SLOT(cancel()));
    setWindowTitle(tr("Kelvrin Updater"));
    setFixedSize(size());
    ui->descriptionEdit->setReadOnly(true);

    m_pStartInstallTimer = new QTimer(this);
    m_pStartInstallTimer->setInterval(kStartInstallDelayMs);
    connect(m_pStartInstallTimer, &QTimer::timeout, this, [this] {
        emit SignalStartInstall(m_strPendingPackage);
        m_pStartInstallTimer->stop();
    });
    m_pInstallerFrontTimer = new QTimer(this);
    m_pInstallerFrontTimer->setInterval(1000);
    connect(m_pInstallerFrontTimer, &QTimer::timeout, this, &DlgDownload::bringInstallerToFront);
    hide();
}

DlgDownload::~DlgDownload()
{
    // The downloader may be the one emitting the signal during which the window goes.
    if (m_pDownloader) {
        m_pDownloader->disconnect(this);
        m_pDownloader->deleteLater();
    }
    delete ui;
}

void DlgDownload::setTimerIntervals(int startInstallMs, int installerFrontMs, int frontStepLimitMs)
{
    m_pStartInstallTimer->setInterval(startInstallMs);
    m_pInstallerFrontTimer->setInterval(installerFrontMs);
    m_nFrontStepLimitMs = frontStepLimitMs;
}

void DlgDownload::setTransferTimerIntervals(int responseTimeoutMs, int watchdogIntervalMs)
{
    m_nResponseTimeoutMs = responseTimeoutMs;
    m_nWatchdogIntervalMs = watchdogIntervalMs;
}

void DlgDownload::setSelectUpdates(QVector<MODULEINFO*> modules)
{
    m_vecSelected = modules;
}

void DlgDownload::startShowDownload()
{
    if (m_vecSelected.isEmpty())
        return;
    m_nCurIndex = 0;
    downloadUpates(0);
}

void DlgDownload::pauseDown()
{
    if (m_pDownloader)
        m_pDownloader->pauseDownloads();
}

void DlgDownload::new_continue_download()
{
    if (m_pDownloader)
        m_pDownloader->continueDownload();
}

void DlgDownload::cancel()
{
    close();
}

void DlgDownload::continueDownload()
{
    ++m_nCurIndex;
    downloadUpates(m_nCurIndex);
}

void DlgDownload::downloadUpates(int work)
{
    if (work < 0 || work >= m_vecSelected.size()) {
        // A queue that ends with another kind of module still installs the plug-ins before it.
        if (!m_vecCollectedPlugins.isEmpty())
            installCollectedPlugins();
        close();
        return;
    }
    qDebug() << "Begin to download:";
    m_pCurModule = m_vecSelected.at(work);
    emit SignalSetCurrentDownloadModule(QString::fromStdString(m_pCurModule->name));
    m_strTitle = QString::fromStdString(m_pCurModule->title);
    m_strName = QString::fromStdString(m_pCurModule->name);
    m_strVersion = QString::fromStdString(m_pCurModule->version);
    ui->descriptionEdit->setText(QString::fromStdString(m_pCurModule->description));
    ui->timeRemainLabel->setText(QString());

    replaceDownloader();

    const MadeFolder folder = UpdaterFolders::downloadFolder();
    if (!folder.isMade()) {
        skipModule("the download folder cannot be made: " + folder.error);
        return;
    }
    const QString fileName = packageFileName(QString::fromStdString(m_pCurModule->url));
    if (isUnusableFileName(fileName)) {
        skipModule("the package URL names no file: " + QString::fromStdString(m_pCurModule->url));
        return;
    }
    const QString target = folder.path + "/" + fileName;
    const qint64 expectedSize = expectedPackageSize(m_pCurModule->size);
    QPointer<DlgDownload> self(this);
    const bool complete = packageIsComplete(target, expectedSize);
    if (!self)
        return;
    if (complete) {
        announceCompletePackage(target, expectedSize);
        return;
    }
    QFile::remove(target);
    startTransfer(target);
}

// The previous downloader may be the sender of the signal that got us here: it goes once control
// is back in the event loop.
void DlgDownload::replaceDownloader()
{
    m_nResumeOffset = 0;
    if (m_pDownloader) {
        m_pDownloader->disconnect(this);
        m_pDownloader->deleteLater();
    }
    m_pDownloader = new QHttpDownLoadS(nullptr, ui->progressBar, ui->timeRemainLabel, &m_nResumeOffset);
    m_pDownloader->bFollowRedirects = true;
    m_pDownloader->setTimerIntervals(m_nResponseTimeoutMs, m_nWatchdogIntervalMs);
    connect(m_pDownloader, SIGNAL(signal_updateProgress(qint64, qint64)), this, SLOT(updateProgress(qint64, qint64)));
}

// Complete means the size the service announced and, when it sent a usable MD5, that digest too.
// The window may be gone when this returns.
bool DlgDownload::packageIsComplete(const QString& target, qint64 expectedSize) const
{
    const QFileInfo file(target);
    if (!file.exists() || file.size() != expectedSize)
        return false;
    return !PackageChecksum::isUsableMd5(m_pCurModule->md5) ||
           PackageChecksum::sameMd5(packageDigest(target), m_pCurModule->md5);
}

void DlgDownload::announceCompletePackage(const QString& target, qint64 expectedSize)
{
    m_pDownloader->downloadProgress(expectedSize, expectedSize);
    ui->progressBar->setValue(100);
    emit SignalInstallProgress(m_strTitle, 0);
    markRunFinished();
    m_strPendingPackage = target;
    m_pStartInstallTimer->start();
}

void DlgDownload::startTransfer(const QString& target)
{
    const QUrl url = CReaderModuleManager::GetPackageDownloadURL(m_pCurModule);
    if (!m_pDownloader->setUrlAndFilePath(url, target)) {
        skipModule("the package URL cannot be fetched: " + url.toString());
        return;
    }
    connect(m_pDownloader, SIGNAL(oneDownLoadFinish(QString)), this, SLOT(oneDownloadFinish(QString)));
    connect(m_pDownloader, SIGNAL(errorfinish(QString)), this, SLOT(errorfinish(QString)));
    const bool silent = m_pCurModule->SilentInstall;
    CUP_Log::PrintLog(silent ? "bSilentInstall: true" : "bSilentInstall: false");
    // A waited start runs the whole module (and maybe the next ones) before it returns; the window
    // may be gone by then.
    QPointer<DlgDownload> self(this);
    QHttpDownLoadS* downloader = m_pDownloader;
    const bool started = downloader->startDownLoads(silent);
    if (!started && self && m_pDownloader == downloader)
        skipModule("the download did not start: " + downloader->failureCause());
}

// What a failed transfer left behind is no package: a later run must not take it for one. The
// failing downloader is always the current one: an earlier one is cut off when it is replaced.
void DlgDownload::errorfinish(QString filePath)
{
    QFile::remove(filePath);
    skipModule("the download failed: " + m_pDownloader->failureCause() + " (" + filePath + ")");
}

// The module has ended without being installed; the queue goes on with the next one.
void DlgDownload::skipModule(const QString& reason)
{
    CUP_Log::PrintLog("skip module " + m_strTitle + ": " + reason);
    emit SignalInstallProgress(m_strTitle, -1);
    continueDownload();
}

void DlgDownload::installHasDownloadUpdates(QString tempName)
{
    oneDownloadFinish(tempName);
}

void DlgDownload::oneDownloadFinish(QString filePath)
{
    hide();
    if (filePath.isEmpty())
        return;
    if (m_pCurModule && PackageChecksum::isUsableMd5(m_pCurModule->md5)) {
        QPointer<DlgDownload> self(this);
        const QByteArray digest = packageDigest(filePath);
        if (!self)
            return;
        if (!PackageChecksum::sameMd5(digest, m_pCurModule->md5)) {
            QFile::remove(filePath);
            const QString found = digest.isEmpty() ? QString("the package cannot be read") : "its MD5 is " + digest;
            skipModule("the package does not match its MD5: " + found + ", the service announced " +
                       QString::fromStdString(m_pCurModule->md5) + " (" + filePath + ")");
            return;
        }
    }
    const QString fileName = QFileInfo(filePath).fileName();
    if (fileName.startsWith("JS")) {
        // Plug-ins wait in the download folder until the last module, then are copied together.
        collectPlugin(fileName);
        if (m_nCurIndex >= m_vecSelected.size() - 1) {
            installCollectedPlugins();
            close();
        } else {
            continueDownload();
        }
        return;
    }
    const MadeFolder unpackFolder = UpdaterFolders::freshUnpackFolder();
    if (!unpackFolder.isMade()) {
        skipModule("the unpack folder cannot be made: " + unpackFolder.error);
        return;
    }
    const bool userModule = !m_pCurModule || (m_pCurModule->module_type != "service" && m_pCurModule->module_type != "basic");
    InstallVzip(filePath, unpackFolder.path, true, userModule);
}

void DlgDownload::updateProgress(qint64 receiveSize, qint64 totalSize)
{
    static const qint64 startedAt = QDateTime::currentMSecsSinceEpoch();
    const double percent = totalSize > 0 ? receiveSize * 100.0 / totalSize : 0.0;
    ui->progressBar->setValue(static_cast<int>(percent));
    emit SignalCurrentProgress(m_strTitle, percent);

    const double elapsedSeconds = (QDateTime::currentMSecsSinceEpoch() - startedAt) / 1000.0;
    const double megabyte = 1.0 / 1024 * (1.0 / 1024);
    ui->timeRemainLabel->setText(tr("Time Remaining: %1 seconds ( %2/%3 MB)")
                                     .arg(remainingSecondsText(receiveSize, totalSize, elapsedSeconds))
                                     .arg(receiveSize * megabyte, 0, 'f', 2)
                                     .arg(totalSize * megabyte, 0, 'f', 2));
    ui->timeRemainLabel->repaint();
}
