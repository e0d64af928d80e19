#pragma once

#include "ModuleRecords.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QUrl>
#include <QVector>

#include <optional>
#include <string>
#include <utility>

class CSetup_CommandLine;
class DlgDownload;
class QHttpDownLoadS;
class QProgressBar;
class CZR_XMLElement;

// The update engine of one run: asks the update service what is new for the run's update type,
// keeps the offered modules that apply to this installation, and owns every module record it makes.
// It reads the command line and writes the run's flags through the current UpdateRun, which must
// exist for as long as the engine does.
class CReaderModuleManager : public QObject
{
    Q_OBJECT

public:
    CReaderModuleManager(QString type, QObject* parent);
    ~CReaderModuleManager() override;

    // The user-interface language and country numbers of the run.
    void setLangParm(int language, int country);
    // The locale code of the run's language in the bundle's language table; "en-US" when it has none.
    QString GetLocalLangName() const;

    // The service request.
    QString GetHttpURL(QString type);
    // The whole request address for this run's type: endpoint, query and, towards an internal
    // update address, the internal-service parts. Marks the run as internal on the conductor.
    QString GetRequestURL();
    // Starts fetching the reply; 0 when the transfer started, and one of sQueryModuleInfoFinish and
    // sErrorFinish follows. 1 when it could not start (an unusable address, a reply file that cannot
    // be made): the check is then already marked failed and no signal follows.
    // With `wait` it returns once the transfer has ended.
    int QueryModuleInfo(QProgressBar* progress, bool wait);
    // Test seam: the response and stall bounds handed to every later query transfer (90 s by default).
    void setQueryTimerIntervals(int responseTimeoutMs, int stallTimeoutMs);

    // Reading the service reply and the bundle's installed components.
    void OnPaserModuleInfo(QString replyFile);
    void ParseModuleInfo(CZR_XMLElement* element, MODULEINFO* record);
    void ParseUpdaterInfo(QVector<_UpdaterInfo*>& list);
    bool CheckUpdateTime(CZR_XMLElement* root);
    QString GetScheduleTimePath();
    QString GetDownloadTempFileName(QString url);
    // Where a module's package is fetched from. An internal service's module keeps only a path; it
    // is fetched from the internal update address's scheme, host and port. Needs no engine: the
    // worker window asks it too.
    static QUrl GetPackageDownloadURL(const MODULEINFO* record);

    // Version rules and module filters.
    int CompareVersion(QString a, QString b);
    bool CheckModuleAvailable(MODULEINFO* record, QVector<_UpdaterInfo*>& installed);
    bool CheckAutoupdateModuleAvailable(MODULEINFO* record, QVector<_UpdaterInfo*>& installed);
    bool CheckUpdaterAvailable(MODULEINFO* record, bool unused = false);
    bool CheckForcedUpgradeVersion(MODULEINFO* record, QVector<_UpdaterInfo*>& installed);
    bool CheckMajorVersionUpgrade(QString version);
    bool CheckHasRejectForcedUpgrade(MODULEINFO* record, QVector<_HasRejectForceUpdaterInfo*>& rejected);
    void ParseHasRejectForceUpdaterInfo(QVector<_HasRejectForceUpdaterInfo*>& rejected);
    // The counterparts for automatic offers, whose declines the reject store below keeps: both
    // leave the list, which stays the caller's, and the store as they are.
    void ParseHasRejectAutoUpdaterInfo(QVector<_HasRejectAutoUpdaterInfo*>& rejected);
    void DeleteHasRejectAutoUpdaterInfo(QVector<_HasRejectAutoUpdaterInfo*>& rejected);
    bool MajorUpdateChecked(MODULEINFO* record);
    bool CheckVersionUpdate();
    bool isSilentUpdate();
    bool DeletePatchUpdate();
    bool DeleteKelvrinCloud();

    // The reject store of automatic offers.
    bool ParseRejectAutoUpdateInfo(std::string name, std::string version);
    void WriteRejectAutoUpdateInfo(QVector<MODULEINFO*> modules, bool unused = false);
    void WriteRejectInfo();

    // Records and lists.
    MODULEINFO* AddModule(QString type);
    QueryResultInfo GetQueryResultInfo() const;
    int CountAvailableModule() const;
    MODULEINFO* GetAvailabletModule(int i) const;
    void RemoveAvailableModule(int i);
    MODULEINFO* CloneAvailableModuleInfo(MODULEINFO* source);
    int CountSelModules() const;
    MODULEINFO* GetSelModule(int i) const;
    // The position of `record` in the selection; -1 for null or a record that is not selected.
    int GetModuleSelIndex(MODULEINFO const* record) const;
    // The selected record after `record`; the first one for null or an unselected record, null
    // after the last one.
    MODULEINFO* GetNextSelModule(MODULEINFO const* record) const;
    void AddSelModule(QString text);
    void AddSelModule(MODULEINFO* record);
    void SetCurDownloadModuleInfo(MODULEINFO* record);
    MODULEINFO* GetCurDownloadModule() const;
    void ReleaseModuleInfo();
    void ReleaseUpdaterInfoList(QVector<_UpdaterInfo*>& list);
    bool CanExitThred() const;

    // Downloads go to the worker window, which works through the whole selection.
    void startDownload();
    void Download(MODULEINFO const* first);
    bool stopDownload();
    void OnDownloadPause();
    void OnDownloadResume();
    bool QueryStopDownload() const;
    DlgDownload* GetDownloadDlg() const;

    // Runs the download list for `engine` through the run and returns once it has closed.
    bool ModuleCallback(std::string title, CReaderModuleManager* engine, bool flag);

    // HMAC-MD5 of `message` under `key`, as 32 lower-case hexadecimal digits.
    QString HMac(QByteArray key, QByteArray message) const;

    // Set by the caller of an automatic-upgrade run: enables the major-update notice and forced upgrades.
    bool bAutoUpgrade = false;
    // The stop flag that a caller sets to abandon a running parse.
    bool bStopQuery = false;
    // When false every module counts as not yet present.
    bool bCheckInstalled = true;

signals:
    void sQueryModuleInfoFinish();
    void sErrorFinish();
    void sErrorNetwork();
    void sSendDownloadProgress(QString title, double percent);
    void sSendInstallProgress(QString title, int value);
    void sSendInstallPkg(QString path);

public slots:
    void slotQueryModuleInfoFinish(QString filePath);
    void errorfinish(QString filePath);
    void error_network();
    void getDownProgress(QString name, double npos);
    void setInstallProgress(QString name, int value);
    void startInstall(QString path);
    // The selected record of that name becomes the current download; the last of several wins.
    void Slot_SetCurrentDownloadModule(QString name);

private:
    static const CSetup_CommandLine& commandLine();
    QString readerVersion() const;
    QString internalServiceQuery() const;
    // False when the stop flag abandoned the parse.
    bool ParseModules(CZR_XMLElement* root);
    bool IsModulePresent(MODULEINFO* record, QVector<_UpdaterInfo*>& installed);
    bool KeepModule(MODULEINFO* record, bool present);
    void OfferModule(MODULEINFO* record, QVector<_UpdaterInfo*>& installed);
    void failCheck();
    void ReleaseQueryDownloader();
    // Frees records after taking them out of every list, so no list is left pointing at them; one
    // pass over each list whatever the number of records.
    void DeleteModule(MODULEINFO* record);
    void DeleteModules(const QSet<MODULEINFO*>& records);

    QueryResultInfo m_result;
    DlgDownload* m_pDownloadDlg;
    QString m_strType;
    QString m_strReplyFile;
    QString m_strReaderPath;
    bool bQueryRunning = false;
    QHttpDownLoadS* m_pQueryDownloader = nullptr;
    std::optional<std::pair<int, int>> m_queryTimerIntervals;
    int m_nLanguage = 0;
    int m_nCountry = 0;
    bool bStopDownload = false;
    QString m_strInfoVersion;
    QVector<MODULEINFO*> m_vecAllModules;
    QVector<MODULEINFO*> m_vecAvailable;
    QVector<MODULEINFO*> m_vecSelected;
    QVector<MODULEINFO*> m_vecSpare;
    MODULEINFO* m_pCurDownload = nullptr;
};
