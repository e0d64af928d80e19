#include "AUILibConfig.h"
#include "AUILibLogger.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

using namespace AUILib;

namespace {

class LoggerTest : public testing::Test
{
protected:
    void SetUp() override { logger.Clear(); }
    void TearDown() override { logger.Clear(); }

    std::wstring Written()
    {
        std::wostringstream out;
        logger.WriteLog(out);
        return out.str();
    }

    static QByteArray FileBytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }

    AUILibLogger& logger = AUILibLogger::GetInstance();
    QTemporaryDir folder;
};

} // namespace

TEST_F(LoggerTest, EntriesAreGroupedByLevelInTheOrderLogged)
{
    EXPECT_EQ(Written(), L"");
    logger.LogError(L"b");
    logger.LogInfo(L"a");
    logger.LogError(L"c");
    logger.LogFatalError(L"f");
    logger.LogWarning(L"w");
    logger.LogException(L"e");
    logger.Log(static_cast<AUILibLogger::ErrorCode>(7), L"seven");
    logger.Log(static_cast<AUILibLogger::ErrorCode>(-1), L"minus");
    EXPECT_EQ(Written(), L"minus\nInfo: a\nWarning: w\nError: b\nError: c\nFatal Error: f\nException: e\nseven\n");
    EXPECT_EQ(logger.GetLogCount(), 8u);
    EXPECT_EQ(Written(), Written()) << "writing leaves the log as it was";
}

TEST_F(LoggerTest, OnlyATextEndingInANewlineReplacesTheFirstEntryOfItsLevel)
{
    logger.LogInfo(L"same");
    logger.LogInfo(L"same");
    EXPECT_EQ(logger.GetLogCount(), 2u);

    logger.Clear();
    logger.LogInfo(L"line");
    logger.LogInfo(L"line\n");
    EXPECT_EQ(logger.GetLogCount(), 1u);
    EXPECT_EQ(Written(), L"Info: line\n\n");
}

TEST_F(LoggerTest, ExceptionMessagesAreReadAsUtf8ElseLatin1)
{
    logger.LogException(std::runtime_error("caf\xC3\xA9"));
    logger.LogException(std::runtime_error("\xE9t\xE9 \xC3"));
    EXPECT_EQ(Written(), L"Exception: caf\u00e9\nException: \u00e9t\u00e9 \u00c3\n");
}

TEST_F(LoggerTest, FileFormsWriteUtf8)
{
    logger.LogInfo(L"caf\u00e9");
    logger.LogError(std::wstring(L"lone ") + wchar_t(0xD800));
    const QString narrow = folder.filePath("narrow.log");
    WriteLogToFile(narrow.toStdString());
    EXPECT_EQ(FileBytes(narrow), QByteArray("Info: caf\xC3\xA9\nError: lone \xEF\xBF\xBD\n"));

    const QString wide = folder.filePath("w\u00eede.log");
    WriteLogToFile(wide.toStdWString());
    EXPECT_EQ(FileBytes(wide), FileBytes(narrow));
    EXPECT_EQ(logger.GetLogCount(), 2u);
}

TEST_F(LoggerTest, MissingFolderGivesNoFileAndNoException)
{
    logger.LogInfo(L"kept");
    const QString path = folder.filePath("missing/folder/out.log");
    EXPECT_NO_THROW(WriteLogToFile(path.toStdString()));
    EXPECT_NO_THROW(WriteLogToFile(path.toStdWString()));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(logger.GetLogCount(), 1u);
}

TEST_F(LoggerTest, StreamThatCannotConvertReportsFailureInsteadOfThrowing)
{
    logger.LogInfo(L"caf\u00e9");
    std::wofstream file(folder.filePath("c-locale.log").toStdString());
    file.imbue(std::locale::classic());
    ASSERT_TRUE(file.is_open());
    EXPECT_NO_THROW(WriteLogToFile(file));
    EXPECT_TRUE(file.fail());
    EXPECT_EQ(logger.GetLogCount(), 1u);

    std::wofstream closed;
    EXPECT_NO_THROW(WriteLogToFile(closed));
}
