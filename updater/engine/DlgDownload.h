#pragma once

#include "ModuleRecords.h"

#include <QMainWindow>
#include <QMap>
#include <QPair>
#include <QPointer>
#include <QProcess>
#include <QString>
#include <QVector>

#include <functional>
#include <memory>

class QHttpDownLoadS;
class QTimer;
class Ui_DlgDownload;
struct InstallBatch;
struct InstallerStart;

// One installer step of a package, from one "file" element of its "Setup.xml".
struct _SetupInfo {
    QString name; // the unpack folder followed by the element's "name"
    QString parameter;
    bool iscommon = false;
};

// True when a process whose command line ends with `processName` is running.
bool CheckMacProcessRunning(const QString& processName);

// The hidden worker of an update: downloads the chosen modules one after another, unpacks each
// package and starts its installers, and reports every step through its four signals. The engine
// drives it; the window itself is never shown in a run.
class DlgDownload : public QMainWindow
{
    Q_OBJECT

public:
    explicit DlgDownload(QWidget* parent);
    ~DlgDownload() override;

    // The records stay the engine's.
    void setSelectUpdates(QVector<MODULEINFO*> modules);
    void startShowDownload();
    void pauseDown();
    void new_continue_download();

    void InstallVzip(QString package, QString unpackFolder, bool bAllowPrompt, bool bUserModule);
    void ParseSetupInfo(QString folder, QVector<_SetupInfo*>& entries);
    int installUpdates(QString installerPath);
    bool copyJSPlugin();
    bool IsDurnisRun();

    // Test seams: the waits that take 3 s, 1 s and up to 30 s in a run, the transfer's 90-second
    // bounds, and the question whether the reader runs.
    void setTimerIntervals(int startInstallMs, int installerFrontMs, int frontStepLimitMs);
    void setTransferTimerIntervals(int responseTimeoutMs, int watchdogIntervalMs);
    void setReaderProbe(std::function<bool()> isReaderRunning);

signals:
    void SignalCurrentProgress(QString title, double percent);
    void SignalInstallProgress(QString title, int value);
    void SignalStartInstall(QString path);
    void SignalSetCurrentDownloadModule(QString name);

public slots:
    void downloadUpates(int work);
    void oneDownloadFinish(QString filePath);
    void errorfinish(QString filePath);
    void cancel();
    void continueDownload();
    void updateProgress(qint64 receiveSize, qint64 totalSize);
    void installHasDownloadUpdates(QString tempName);

private:
    // How a downloaded plug-in fared when the collected plug-ins were copied.
    enum class PluginCopy { Copied, AlreadyInstalled, Failed };

    // Download.
    void replaceDownloader();
    bool packageIsComplete(const QString& target, qint64 expectedSize) const;
    void announceCompletePackage(const QString& target, qint64 expectedSize);
    void startTransfer(const QString& target);
    void skipModule(const QString& reason);
    void collectPlugin(const QString& fileName);
    void installCollectedPlugins();
    QMap<QString, PluginCopy> copyPlugins();

    // Installation.
    // `failure` says why the installer did not end well; empty when it did, and the history then decides,
    // unless the installer was handed to "open".
    void installerEnded(const std::shared_ptr<InstallBatch>& batch, const InstallerStart& installer, QString failure);
    void finishBatchIfDone(const std::shared_ptr<InstallBatch>& batch);
    void bringInstallerToFront();

    // What the window needs of the run's conductor, kept together in DlgDownloadConductor.cpp.
    static QString appDataRootPath();
    static QString appDataPath();
    static bool installMode();
    static void markRunFinished();
    static bool askToCloseReader();

    Ui_DlgDownload* ui;
    QVector<MODULEINFO*> m_vecSelected;
    QHttpDownLoadS* m_pDownloader;
    MODULEINFO* m_pCurModule;
    qint64 m_nResumeOffset;
    int m_nCurIndex;
    QPointer<QProcess> m_pInstallProcess;
    QString m_strTitle;
    QString m_strName;
    QString m_strVersion;
    QTimer* m_pStartInstallTimer;
    QTimer* m_pInstallerFrontTimer;
    QString m_strPendingPackage;

    // Modules whose plug-in waits in the download folder: title and file name.
    QVector<QPair<QString, QString>> m_vecCollectedPlugins;
    // The module whose installers InstallVzip is starting.
    std::shared_ptr<InstallBatch> m_pStartingBatch;
    std::function<bool()> m_readerProbe;
    int m_nFrontStepLimitMs;
    int m_nResponseTimeoutMs;
    int m_nWatchdogIntervalMs;
};
