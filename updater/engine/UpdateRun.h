#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>

#include <string>

class CReaderModuleManager;
class CSetup_CommandLine;

// What the engine and its worker window need of the run that drives them: the parsed command line,
// the run's flags that the engine writes and the dialogs read, the data folders, the bundle's
// package type, the machine's identity, and the download list. The conductor is the one run of the
// process; the engine finds it through current() and never needs to know what the conductor is.
class UpdateRun
{
public:
    // The run made last, while it lives; null when there is none.
    static UpdateRun* current();

    CSetup_CommandLine* commandLine() const { return m_pCommandLine; }

    // Data folders under the writable generic data location, for the machine's track word
    // ("Continuous" or "Classic", read anew on every call); both end in "/".
    static QString GetAppDateRootPath();
    static QString GetAppDatePath();
    // The "name" of the bundle's packagetype.xml root element; empty when there is no readable file.
    static QString GetPackageType();
    static std::string GetMacAddress();
    static std::string GetCurrentUserPlist();
    static QPoint GetMainAppCenterPos();

    // Runs the download list for `engine` modally and returns when it has closed.
    virtual void ShowDownloadDlg(std::string title, bool& flag, bool a, bool b, bool c,
                                 CReaderModuleManager* engine) = 0;

    bool bQueryReplied = false;
    bool bMajorUpdate = false;
    bool bInternalUpdate = false;
    bool bRollback = false;
    bool bForcedOnly = false;
    bool bRunFinished = false;

protected:
    // `commandLine` stays owned by the caller and may be null.
    explicit UpdateRun(CSetup_CommandLine* commandLine);
    virtual ~UpdateRun();

    CSetup_CommandLine* m_pCommandLine;
};

// The preferences list under `queriedHome`, the home that the user query gave; an empty answer
// counts as a failed query and the updater's own home is used instead.
std::string userPreferencesPlist(QString queriedHome);

// The network identity sent to the update service: each hardware address ("-" for ":") followed by
// "|", virtual-machine and empty addresses left out, then the host name.
std::string joinMacAddresses(const QStringList& hardwareAddresses, const QString& hostName);
