#include "IsolatedEnvironment.h"
#include "PlistFileView.h"
#include "StandinPrograms.h"
#include "platform/InstallerPrograms.h"

#include <QDateTime>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

class StandinProgramsTest : public IsolatedTest
{
protected:
    void SetUp() override { ASSERT_TRUE(StandinPrograms::place()); }

    QString package(const QString& name, const QByteArray& contents = "a package")
    {
        const QString path = env.root() + "/packages/" + name;
        IsolatedEnvironment::writeFile(path, contents);
        return path;
    }

    static QStringList recorded(const QString& key)
    {
        return PlistFileView::stringOfEachRecord(InstallerPrograms::installHistory(), key);
    }
};

int runInstaller(const QString& package)
{
    return QProcess::execute(InstallerPrograms::installerProgram(), {package});
}

} // namespace

TEST_F(StandinProgramsTest, RecordsThePackageAndExitsZero)
{
    const QString first = package("first.pkg");
    const QString second = package("second.pkg", "#standin\nversion=2.5\n");
    EXPECT_EQ(runInstaller(first), 0);
    EXPECT_EQ(runInstaller(second), 0);

    EXPECT_EQ(recorded("displayName"), (QStringList{"first.pkg", "second.pkg"}));
    EXPECT_EQ(recorded("displayVersion"), (QStringList{"1.0", "2.5"}));
    EXPECT_EQ(recorded("processName"), (QStringList{"Installer", "Installer"}));
    const QString xml = QString::fromUtf8(IsolatedEnvironment::readFile(InstallerPrograms::installHistory()));
    EXPECT_TRUE(xml.contains("<key>date</key>")) << xml.toStdString();
    EXPECT_EQ(StandinPrograms::linesWith(StandinPrograms::installerLog(), "start").size(), 2);
}

TEST_F(StandinProgramsTest, FailuresAndDirectivesBendTheRun)
{
    struct Case {
        const char* name;
        QByteArray contents;
        int exitCode;
        bool recorded;
    } cases[] = {
        {"asks-to-fail.pkg", "a package", 1, false},
        {"exit.pkg", "#standin\nexit=3\n", 3, false},
        {"silent.pkg", "#standin\nrecord=no\n", 0, false},
        {"proof.pkg", "#standin\nproof=/Applications/Proof/installed.txt\n", 0, true},
        {"not-a-directive.pkg", "exit=3\n", 0, true},
    };
    for (const Case& c : cases) {
        const QStringList before = recorded("displayName");
        EXPECT_EQ(runInstaller(package(c.name, c.contents)), c.exitCode) << c.name;
        EXPECT_EQ(recorded("displayName").contains(c.name), c.recorded) << c.name;
        EXPECT_EQ(recorded("displayName").size(), before.size() + (c.recorded ? 1 : 0)) << c.name;
    }
    EXPECT_EQ(IsolatedEnvironment::readFile(env.systemFile("/Applications/Proof/installed.txt")), "proof.pkg");
}

TEST_F(StandinProgramsTest, AHistoryOfFixedLengthDropsItsOldestRecords)
{
    for (const char* name : {"one.pkg", "two.pkg", "three.pkg"})
        ASSERT_EQ(runInstaller(package(name)), 0);

    EXPECT_EQ(runInstaller(package("kept.pkg", "#standin\nkeep=3\n")), 0);
    EXPECT_EQ(recorded("displayName"), (QStringList{"two.pkg", "three.pkg", "kept.pkg"}));
    EXPECT_EQ(runInstaller(package("shorter.pkg", "#standin\nkeep=1\n")), 0);
    EXPECT_EQ(recorded("displayName"), QStringList{"shorter.pkg"});
}

TEST_F(StandinProgramsTest, InstallersEndingTogetherLoseNoRecord)
{
    QVector<QProcess*> running;
    for (int i = 0; i < 6; ++i) {
        auto* process = new QProcess;
        process->start(InstallerPrograms::installerProgram(), {package(QString("together-%1.pkg").arg(i))});
        running.append(process);
    }
    for (QProcess* process : running) {
        EXPECT_TRUE(process->waitForFinished(20000));
        EXPECT_EQ(process->exitCode(), 0);
        delete process;
    }
    QStringList names = recorded("displayName");
    names.sort();
    EXPECT_EQ(names, (QStringList{"together-0.pkg", "together-1.pkg", "together-2.pkg", "together-3.pkg",
                                  "together-4.pkg", "together-5.pkg"}));
}

TEST_F(StandinProgramsTest, OpenBringsTheInstallerForwardOrHandsItThePackage)
{
    EXPECT_EQ(QProcess::execute(InstallerPrograms::openProgram(), {InstallerPrograms::installerApplication()}), 0);
    const QString delayed = package("detached.pkg", "#standin\nhold=/tmp/release-detached\n");
    EXPECT_EQ(QProcess::execute(InstallerPrograms::openProgram(), {delayed}), 0);
    // "open" came back before the installer it started had ended.
    EXPECT_TRUE(StandinPrograms::linesWith(StandinPrograms::installerLog(), "end").isEmpty());
    IsolatedEnvironment::writeFile(env.systemFile("/tmp/release-detached"), "");
    ASSERT_TRUE(StandinPrograms::waitForInstallerEnds(1));

    const QStringList log = StandinPrograms::openLog();
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(log[0].section(' ', 1), "front " + InstallerPrograms::installerApplication());
    EXPECT_EQ(log[1].section(' ', 1), "open " + delayed);
    EXPECT_EQ(recorded("displayName"), QStringList{"detached.pkg"});
}

TEST(InstallerProgramsTest, OutsideASystemRootThereIsNoInstallerAndNoOpen)
{
    const QByteArray saved = qgetenv("KELVRIN_SYSTEM_ROOT");
    qunsetenv("KELVRIN_SYSTEM_ROOT");
    EXPECT_TRUE(InstallerPrograms::installerProgram().isEmpty());
    EXPECT_TRUE(InstallerPrograms::openProgram().isEmpty());
    EXPECT_EQ(InstallerPrograms::installHistory(), "/Library/Receipts/InstallHistory.plist");
    EXPECT_EQ(InstallerPrograms::installerApplication(), "/System/Library/CoreServices/Installer.app");
    if (!saved.isNull())
        qputenv("KELVRIN_SYSTEM_ROOT", saved);
}
