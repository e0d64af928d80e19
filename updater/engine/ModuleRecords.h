#pragma once

#include <QList>
#include <QString>

#include <cstdint>
#include <string>

// One module offered by the update service. Texts are UTF-8. The engine owns every record; the
// dialogs only hold pointers into its lists.
struct MODULEINFO {
    std::string addon;
    std::string name;
    std::string version;
    std::string description;
    std::string size;
    std::string url;
    std::string level;
    std::string regkey;
    bool result = false;
    std::string tempFile;
    bool selected = false;
    std::string module_type;
    std::string parent;
    std::string title;
    bool plugin = false;
    bool isnew = false;
    bool iscommon = false;
    int32_t update_mode = 0;
    std::string extraInfo;
    std::string isInternalService;
    std::string DurnisPDFStandardFlag;
    bool bReserved = false;
    std::string DurnisPDFStandard;
    bool forcedUpgrade = false;
    bool bForcedNotRejected = false;
    bool SilentInstall = false;
    std::string releaseDate;
    std::string md5;
    bool bMajorUpgrade = false;
    bool bOcrPack = false;
    bool is_push = false;
    std::string upgTipBtn;
    std::string upgTipTitle;
    std::string upgTipContent;
    bool autoCheck = false;
    bool pushUpdateTip = false;
    bool bReserved2 = false;
};

// The outcome of one check of the update service.
struct QueryResultInfo {
    bool bSuccess = false;
    QString strMessage;
    bool bUpdateFound = false;
    bool bCloudModeModule = false;
};

// One component installed with the reader, as the bundle's "UpdaterInfo.xml" lists it.
struct _UpdaterInfo {
    std::string name;
    std::string version;
    QList<QString> paths;
};

// A forced upgrade that the user declined.
struct _HasRejectForceUpdaterInfo {
    std::string name;
    std::string version;
    std::string note;
};

// An automatic offer that the user declined.
struct _HasRejectAutoUpdaterInfo {
    std::string name;
    std::string version;
    std::string note;
    std::string note2;
};
