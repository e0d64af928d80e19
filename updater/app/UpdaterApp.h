#pragma once

#include "UpdateCheckState.h"
#include "engine/CReaderModuleManager.h"
#include "engine/UpdateRun.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>

#include <memory>
#include <string>

class CSetup_CommandLine;
class QLocalSocket;
class QWidget;
class UpdateListener;
class dlgfound;

// The conductor of one update run, and the process-wide service object that the dialogs reach
// through `theApp`: data folders, package type, language code, network identity, the reader's
// version and window, and the state report to the reader. The engine sees it only as its UpdateRun.
class UpdaterApp : public QObject, public UpdateRun
{
    Q_OBJECT

public:
    // `commandLine` stays owned by the caller and may be null.
    UpdaterApp(CSetup_CommandLine* commandLine, QObject* parent);
    ~UpdaterApp() override;

    // The engine is held through a guarded pointer: whoever deletes it leaves null here, never a
    // dangling pointer. Every release goes through releaseEngine(), which forgets the engine at once
    // and leaves deleting it to the event loop.
    CReaderModuleManager* engine() const { return m_pModuleManager; }
    void setEngine(CReaderModuleManager* engine);
    void releaseEngine();

    // One run as the command line asks for it, ended when these return; bRunFinished tells start-up
    // whether it did what it was asked. runUpdate starts the presence listener first.
    void runUpdate(int language, int country);
    void runUpdateVisible(int language, int country);
    // The run's fresh unpack folder ("updater/uncompress/<seconds since the epoch>"); empty before.
    QString unpackFolder() const { return m_strUnpackFolder; }

    // Test seams: how long the component run waits for its query (the transfer's own 90-second
    // bounds end it first in a run), and how long the package-install run waits for its installers.
    void setComponentQueryBound(int ms) { m_nComponentQueryBoundMs = ms; }
    void setInstallerWaitBound(int ms) { m_nInstallerWaitBoundMs = ms; }

    std::string GetLang() const;
    QString GetBigVersioin() const;
    static void ResetPostion(QRect rect, QWidget* widget);
    static std::string GetProductName();
    bool RunCommandLine(std::string commandLine, bool& handled);
    void ShowDownloadDlg(std::string title, bool& flag, bool a, bool b, bool c,
                         CReaderModuleManager* engine) override;

    void NotifyMainCallBack(UPDATE_CHECK_STATE state);
    bool SendProcData(std::string const& data);

    bool bCheckHandled = false;
    QString m_strMajorTipButton;
    QString m_strMajorTipTitle;
    QString m_strMajorTipContent;
    int m_nLanguage = 0;
    int m_nCountry = 0;
    std::string m_strReaderVersion;
    std::string m_strReaderPath;

private:
    bool sendReport(const QByteArray& word);
    bool makeUnpackFolder();
    void runChecking(bool engineFirst);
    void runPackageInstall();
    void runComponents(const QString& components);
    bool queryComponents();
    void warnComponentsUnavailable();
    void checkForcedUpdate();

    QString m_strServerName;
    QPointer<QLocalSocket> m_pReportSocket;
    QPointer<CReaderModuleManager> m_pModuleManager;
    std::unique_ptr<UpdateListener> m_pListener;
    QString m_strUnpackFolder;
    int m_nComponentQueryBoundMs = 120000;
    int m_nInstallerWaitBoundMs = 30000;
};

bool RunUpdaterFromService(QString command);

extern UpdaterApp* theApp;
// The download list while ShowDownloadDlg runs it; null otherwise.
extern dlgfound* g_curr_dlgfound_ptr;
