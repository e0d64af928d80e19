#pragma once

#include <QRect>
#include <QString>

#include <string>
#include <vector>

// The run's instructions, parsed from the one command string that start-up joins from the arguments.
// Switches start with '-' or '/' and are case-sensitive; a value word goes to the first pending switch
// in a fixed priority order, not in the order the switches were given.
class CSetup_CommandLine
{
public:
    CSetup_CommandLine();

    bool ProcessCmdLine(QString commandLine);
    bool ProcessCmdWord(QString& word);
    void Split(QString value, QString separator);

    bool IsEmpty() const { return m_bEmpty; }
    bool IsUpdater() const { return m_bUpdater; }
    bool IsInsatll() const { return m_bInstall; }
    bool IsInsForceUpdate() const { return m_bInsForceUpdate; }
    bool IsRun() const { return m_bRun; }
    bool IsInternalService() const { return m_bInternalService; }
    // Set by a package-path value that carries roll-back pieces; the conductor copies it when it starts.
    bool IsRollback() const { return m_bRollback; }

    std::string GetSessionID() const { return m_sessionID; }
    std::string GetReaderPath() const { return m_readerPath; }
    std::string GetReaderPathFromcmd() const { return m_readerPath; }
    std::string GetUpdaterType() const { return m_updaterType; }
    std::string GetRegPath() const { return m_regPath; }
    std::string GetReaderVersion() const { return m_readerVersion; }
    std::string GetReaderLang() const { return m_readerLang; }
    std::string GetSpecialName() const { return m_specialName; }
    std::string GetAutoUpdateMode() const { return m_autoUpdateMode; }
    std::string GetPackageType() const { return m_packageType; }
    std::string GetInternalUpdateURL() const { return m_internalUpdateURL; }
    std::string GetRollBackURL() const { return m_rollBackURL; }
    std::string GetUserEmail() const { return m_userEmail; }
    std::string GetEdition() const { return m_edition; }
    std::vector<std::string> GetVecVzipPath() const { return m_vzipPaths; }
    // The reader's window and user data are read from the command line but not kept: both stay 0,
    // and the reader's frame is an empty rectangle.
    quint64 GetReaderFrameWnd() const { return m_readerFrameWnd; }
    quint64 GetUserData() const { return m_userData; }
    QRect GetMainFrameRect() const { return QRect(); }

    QString getkatlfile() const { return m_katlFile; }
    QString geteutlfile() const { return m_eutlFile; }
    QString getkatlcerturl() const { return m_katlCertUrl; }
    QString geteutlcerturl() const { return m_eutlCertUrl; }
    QString getdowntype() const { return m_downType; }

private:
    // The value switches in the order in which a value word is handed out.
    enum Pending {
        PendingHwnd,
        PendingType,
        PendingReaderPath,
        PendingRegPath,
        PendingVersion,
        PendingReaderLang,
        PendingSpecialName,
        PendingVzipPath,
        PendingInternalUpdateURL,
        PendingRollBackURL,
        PendingUserEmail,
        PendingSessionID,
        PendingUserHanderData,
        PendingCertEutlUrl,
        PendingKatlFile,
        PendingEutlFile,
        PendingCertKatlUrl,
        PendingDownType,
        PendingPackageType,
        PendingUpdateMode,
        PendingEdition,
        PendingCount
    };

    bool ProcessSwitch(const QString& name);
    bool ProcessValue(const QString& value);
    void TakeValue(Pending mark, const QString& value);

    bool m_pending[PendingCount] = {};

    bool m_bEmpty = false;
    bool m_bUpdater = false;
    bool m_bInstall = false;
    bool m_bInsForceUpdate = false;
    bool m_bRun = false;
    bool m_bInternalService = false;
    bool m_bRollback = false;
    std::string m_sessionID;
    std::string m_readerPath;
    std::string m_updaterType;
    std::string m_regPath;
    std::string m_readerVersion;
    std::string m_readerLang;
    std::string m_specialName;
    std::string m_autoUpdateMode = "1";
    std::string m_packageType;
    quint64 m_readerFrameWnd = 0;
    quint64 m_userData = 0;
    QString m_katlFile;
    QString m_eutlFile;
    QString m_katlCertUrl;
    QString m_eutlCertUrl;
    QString m_downType;
    std::vector<std::string> m_vzipPaths;
    std::string m_internalUpdateURL;
    std::string m_rollBackURL;
    std::string m_userEmail;
    std::string m_edition;
};
