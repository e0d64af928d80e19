#pragma once

#include "IsolatedEnvironment.h"
#include "engine/CUP_Log.h"
#include "platform/PlistSettings.h"

#include <QString>

// Switches the reader's debug mode on for the test, so that the updater's log is written, and reads
// the log back. The log's file object goes with the guard.
class DebugLog
{
public:
    explicit DebugLog(const IsolatedEnvironment& env)
        : m_path(env.dataHome() + "/Kelvrin Software/Continuous/Kelvrin PDF Reader/Log/UpdaterApp/Update.log")
    {
        openApplicationSettings("Kelvrin Software", "Kelvrin.PDF.Reader")->setValue("Preferences/General/bDebugMode", 1);
        CUP_Log::CreateLog();
    }
    ~DebugLog()
    {
        delete CUP_Log::m_pFile;
        CUP_Log::m_pFile = nullptr;
    }
    DebugLog(const DebugLog&) = delete;
    DebugLog& operator=(const DebugLog&) = delete;

    QString text() const { return QString::fromUtf8(IsolatedEnvironment::readFile(m_path)); }

private:
    QString m_path;
};
