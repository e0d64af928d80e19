#include "IsolatedEnvironment.h"
#include "app/UpdaterApp.h"
#include "engine/CRegister.h"
#include "engine/CSetup_CommandLine.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

const QString kInstallAppNameKey =
    QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Kelvrin Software\\Kelvrin PDF Reader\\InstallAppName");

QStringList* g_debugLines = nullptr;

void collectDebugLines(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtDebugMsg && g_debugLines)
        g_debugLines->append(message);
}

// The debug output of a forced-update run, started in a working folder of the test's own.
class ForcedUpdateCheck : public IsolatedTest
{
protected:
    void SetUp() override
    {
        m_previousFolder = QDir::currentPath();
        ASSERT_TRUE(QDir().mkpath(workingFolder()));
        ASSERT_TRUE(QDir::setCurrent(workingFolder()));
    }
    void TearDown() override { QDir::setCurrent(m_previousFolder); }

    QString workingFolder() const { return env.root() + "/working"; }

    // The lines the run wrote to the debug output; whether it marked itself finished in `finished`.
    QStringList run(bool* finished)
    {
        CSetup_CommandLine commandLine;
        EXPECT_TRUE(commandLine.ProcessCmdLine("-insForceUpdate"));
        UpdaterApp app(&commandLine, nullptr);
        theApp = &app;
        QStringList lines;
        g_debugLines = &lines;
        const QtMessageHandler previous = qInstallMessageHandler(collectDebugLines);
        app.runUpdateVisible(31, 225);
        qInstallMessageHandler(previous);
        g_debugLines = nullptr;
        *finished = app.bRunFinished;
        theApp = nullptr;
        return lines;
    }

private:
    QString m_previousFolder;
};

TEST_F(ForcedUpdateCheck, TheListInTheWorkingFolderIsReadLineByLineOnceTheApplicationExists)
{
    const QString application = env.root() + "/Applications/Kelvrin PDF Reader.app";
    const QByteArray list = "first\n\nthird line\r\nlast, without a line end";
    const QStringList listed{"\"first\"", "\"\"", "\"third line\"", "\"last, without a line end\""};
    const struct {
        const char* name;
        bool applicationExists;
        bool listExists;
        QStringList expected; // the lines after the run's own
    } cases[] = {
        {"application and list", true, true, listed},
        {"no list", true, false, {"Can't open the file!"}},
        {"no application", false, true, {"qsAppName文件不存在"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(application).removeRecursively();
        QFile::remove(workingFolder() + "/ForceUpdateList.txt");
        if (c.applicationExists) {
            ASSERT_TRUE(QDir().mkpath(application));
        }
        if (c.listExists)
            IsolatedEnvironment::writeFile(workingFolder() + "/ForceUpdateList.txt", list);
        ASSERT_TRUE(CRegister::regSetString(kInstallAppNameKey, "Kelvrin PDF Reader.app", application));

        bool finished = true;
        const QStringList lines = run(&finished);
        EXPECT_EQ(lines.mid(lines.size() - c.expected.size()), c.expected) << lines.join('\n').toStdString();
        EXPECT_TRUE(finished) << "the check leaves nothing to wait for";
    }
}

} // namespace
