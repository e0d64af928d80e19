#include "IsolatedEnvironment.h"
#include "engine/CUP_Log.h"
#include "platform/PlistSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

class Log : public IsolatedTest
{
protected:
    void TearDown() override
    {
        delete CUP_Log::m_pFile;
        CUP_Log::m_pFile = nullptr;
    }

    QString logFile() const
    {
        return env.dataHome() + "/Kelvrin Software/Continuous/Kelvrin PDF Reader/Log/UpdaterApp/Update.log";
    }

    static void setDebugMode(const QVariant& value)
    {
        openApplicationSettings("Kelvrin Software", "Kelvrin.PDF.Reader")->setValue("Preferences/General/bDebugMode",
                                                                                 value);
    }
};

TEST_F(Log, WritesNothingWhileDebugModeIsOff)
{
    CUP_Log::CreateLog();
    CUP_Log::PrintLog("absent setting");
    setDebugMode(0);
    CUP_Log::PrintLog("setting 0");

    EXPECT_TRUE(QFileInfo(logFile()).dir().exists());
    EXPECT_FALSE(QFileInfo::exists(logFile()));
}

TEST_F(Log, AppendsTimestampedUtf8LinesAndSeesTheSwitchOnEveryLine)
{
    CUP_Log::CreateLog();
    setDebugMode(1);
    CUP_Log::PrintLog("first\nsecond part ä %1");
    setDebugMode(0);
    CUP_Log::PrintLog("dropped");
    setDebugMode("1");
    CUP_Log::PrintLog("last");
    EXPECT_FALSE(CUP_Log::m_pFile->isOpen());

    const QString text = QString::fromUtf8(IsolatedEnvironment::readFile(logFile()));
    const QRegularExpression expected(
        "^\\[CUP_Log\\]\\[[^\\]\\n]+\\]first\\nsecond part ä %1\\n\\[CUP_Log\\]\\[[^\\]\\n]+\\]last\\n$");
    EXPECT_TRUE(expected.match(text).hasMatch()) << text.toStdString();
}

TEST_F(Log, FolderThatCannotBeMadeDisablesLogging)
{
    // A file where a folder of the data path should be.
    IsolatedEnvironment::writeFile(env.dataHome() + "/Kelvrin Software", "in the way");
    CUP_Log::CreateLog();
    EXPECT_EQ(CUP_Log::m_pFile, nullptr);

    setDebugMode(1);
    CUP_Log::PrintLog("nowhere to go");
    EXPECT_FALSE(QFileInfo::exists(logFile()));
}

} // namespace
