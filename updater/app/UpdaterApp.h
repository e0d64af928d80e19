#pragma once

#include "UpdateCheckState.h"
#include "engine/CReaderModuleManager.h"

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

// The conductor of one update run, and the process-wide service object that the engine and the
// dialogs reach through `theApp`: data folders, package type, language code, network identity, the
// reader's version and window, and the state report to the reader.
class UpdaterApp : public QObject
{
    Q_OBJECT

public:
    // `commandLine` stays owned by the caller and may be null.
    UpdaterApp(CSetup_CommandLine* commandLine, QObject* parent);
    ~UpdaterApp() override;

    CSetup_CommandLine* commandLine() const { return m_pCommandLine; }

    // The engine is held through a guarded pointer: whoever deletes it leaves null here, never a
    // dangling pointer. Every deletion goes through releaseEngine().
    CReaderModuleManager* engine() const { return m_pModuleManager; }
    void setEngine(CReaderModuleManager* engine);
    void releaseEngine();

    // Data folders under the writable generic data location, for the machine's track word
    // ("Continuous" or "Classic", read anew on every call); both end in "/".
    static QString GetAppDateRootPath();
    static QString GetAppDatePath();

    std::string GetLang() const;
    // The "name" of the bundle's packagetype.xml root element; empty when there is no readable file.
    static QString GetPackageType();
    static std::string GetMacAddress();
    QString GetBigVersioin() const;
    static QPoint GetMainAppCenterPos();
    static std::string GetCurrentUserPlist();
    static void ResetPostion(QRect rect, QWidget* widget);
    static std::string GetProductName();
    bool RunCommandLine(std::string commandLine, bool& handled);

    void NotifyMainCallBack(UPDATE_CHECK_STATE state);
    bool SendProcData(std::string const& data);

    bool bCheckHandled = false;
    bool bQueryReplied = false;
    bool bMajorUpdate = false;
    bool bInternalUpdate = false;
    bool bRollback = false;
    bool bForcedOnly = false;
    QString m_strMajorTipButton;
    QString m_strMajorTipTitle;
    QString m_strMajorTipContent;
    bool bRunFinished = false;
    int m_nLanguage = 0;
    int m_nCountry = 0;
    std::string m_strReaderVersion;
    std::string m_strReaderPath;

private:
    bool sendReport(const QByteArray& word);

    QString m_strServerName;
    QPointer<QLocalSocket> m_pReportSocket;
    CSetup_CommandLine* m_pCommandLine;
    QPointer<CReaderModuleManager> m_pModuleManager;
    std::unique_ptr<UpdateListener> m_pListener;
};

// The preferences list under `queriedHome`, the home that the user query gave; an empty answer
// counts as a failed query and the updater's own home is used instead.
std::string userPreferencesPlist(QString queriedHome);

// The network identity sent to the update service: each hardware address ("-" for ":") followed by
// "|", virtual-machine and empty addresses left out, then the host name.
std::string joinMacAddresses(const QStringList& hardwareAddresses, const QString& hostName);

bool RunUpdaterFromService(QString command);

extern UpdaterApp* theApp;
