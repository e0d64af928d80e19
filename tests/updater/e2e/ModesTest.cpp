#include "ChildHttpServer.h"
#include "FakeReader.h"
#include "FileSizeLimit.h"
#include "StandinPrograms.h"
#include "UpdaterProcess.h"
#include "WaitBound.h"
#include "engine/CRegister.h"
#include "platform/PlistSettings.h"

#include <QDir>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

namespace {

const QString kUpdaterKey =
    QStringLiteral("HKEY_CURRENT_USER\\Software\\Kelvrin Software\\Kelvrin PDF Reader\\plugins\\Updater");

class Modes : public UpdaterProcessTest
{
protected:
    static QString lastDay() { return CRegister::regGetString(kUpdaterKey, "LastDay"); }
};

TEST_F(Modes, PackageInstallRunUnpacksEachPackageApartAndInstallsThroughOpen)
{
    const QString first = makePackage(demoModule("OCR"));
    const QString second = makePackage(demoModule("Dictionary"));

    const RunResult run = runUpdater({"-install", "-VzipPath", "\"" + first + "|" + second + "\""});

    EXPECT_FALSE(run.overran);
    EXPECT_EQ(run.exitCode, 0) << run.output.right(3000).toStdString();
    EXPECT_FALSE(robotLog().contains("window ")) << robotLog().toStdString();
    const QStringList opened = StandinPrograms::linesWith(StandinPrograms::openLog(), "open");
    // Both "open"s are started without waiting, so either may log first.
    ASSERT_EQ(opened.size(), 2) << opened.join('\n').toStdString();
    const QString both = opened.join('\n');
    EXPECT_EQ(opened.filter(QRegularExpression("/updater/uncompress/\\d+/1/OCR\\.pkg$")).size(), 1) << both.toStdString();
    EXPECT_EQ(opened.filter(QRegularExpression("/updater/uncompress/\\d+/2/Dictionary\\.pkg$")).size(), 1)
        << both.toStdString();
    // "open" returns once it has handed the package over, before the installer has run: the log
    // says so, and blames nothing on the history.
    const QString log = updateLog();
    EXPECT_FALSE(log.contains("failed")) << log.toStdString();
    const QString handed = "install of %1: .*/updater/uncompress/\\d+/%2 handed to the installer";
    EXPECT_TRUE(log.contains(QRegularExpression(handed.arg(QRegularExpression::escape(first), "1/OCR\\.pkg"))))
        << log.toStdString();
    EXPECT_TRUE(log.contains(QRegularExpression(handed.arg(QRegularExpression::escape(second), "2/Dictionary\\.pkg"))))
        << log.toStdString();
    // The installers outlive the updater; none of them is killed.
    ASSERT_TRUE(StandinPrograms::waitForInstallerEnds(2));
    QStringList installed = installedPackages();
    installed.sort();
    EXPECT_EQ(installed, (QStringList{"Dictionary.pkg", "OCR.pkg"}));
}

TEST_F(Modes, CertificateModePrintsItsWordWithoutThePresencePort)
{
    IsolatedEnvironment::writeFile(env.root() + "/lists/katl.xml", "<katl/>");
    ChildHttpServer lists(env.root() + "/lists");
    ASSERT_TRUE(lists.start());
    const QString katlFile = env.root() + "/katl.xml";

    const RunResult run =
        runUpdater({"-downloadTrustCertfile", "-certkatlurl", lists.url("/katl.xml").toString(), "-katlfile", katlFile});

    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.output.split('\n').contains("16777216")) << run.output.toStdString();
    EXPECT_EQ(IsolatedEnvironment::readFile(katlFile), "<katl/>");

    // A fetch that hangs keeps the mode running: the presence port stays closed meanwhile.
    QProcess& hanging = startUpdater({"-downloadTrustCertfile", "-certkatlurl",
                                      lists.url("/katl.xml?never-answer").toString(), "-katlfile", katlFile});
    ASSERT_TRUE(hanging.waitForStarted());
    QThread::msleep(1000);
    EXPECT_EQ(hanging.state(), QProcess::Running);
    EXPECT_FALSE(presencePortAnswers());
}

TEST_F(Modes, NextCheckTimeIsStoredAndTheOtherWordsWriteNothing)
{
    EXPECT_EQ(runUpdater({"setnextautoupdatetime:Fri Dec 11 09:00:00 2026"}).exitCode, 0);
    EXPECT_EQ(lastDay(), "Fri Dec 11 09:00:00 2026");

    EXPECT_EQ(runUpdater({"checkbDisableInternet"}).exitCode, 0);
    EXPECT_EQ(lastDay(), "Fri Dec 11 09:00:00 2026");

    EXPECT_EQ(runUpdater({"setnextautoupdatetime:"}).exitCode, 0);
    EXPECT_EQ(lastDay(), "");
}

// A next-check day that cannot be stored ends the mode as a stored one does, and the log keeps the
// day and why it was lost. Permissions stop no root process, so the file-size limit refuses the write.
TEST_F(Modes, ANextCheckDayThatCannotBeStoredIsLoggedWithItsCause)
{
    const QString preferences = applicationSettingsPath("Kelvrin Software", "Kelvrin.PDF.Reader");
    ASSERT_TRUE(PlistSettingsFile(preferences).setValue("Padding", QString(200 * 1000, 'p')));
    RunResult run;
    {
        FileSizeLimit limit(100 * 1000);
        ASSERT_TRUE(limit.isActive());
        run = runUpdater({"setnextautoupdatetime:Fri Dec 11 09:00:00 2026"});
    }

    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(lastDay(), "");
    const QString logged = "cannot store HKEY_CURRENT_USER/Software/Kelvrin Software/Kelvrin PDF Reader/plugins/"
                           "Updater/LastDay = Fri Dec 11 09:00:00 2026 in " + preferences + ": File too large";
    EXPECT_TRUE(updateLog().contains(logged)) << updateLog().toStdString();
}

// A command line that asks for no run, or for a check that needs no window, leaves nothing to wait
// for: the process ends, and does not stand in the way of the next one.
TEST_F(Modes, RunsWithNothingLeftToDoEnd)
{
    const struct {
        QStringList arguments;
        int exitCode;
        QString logged; // empty: nothing in particular
    } cases[] = {
        {{"-version", "12.0.0.1", "setnextautoupdatetime:Fri"}, 1, "no run for this command line: it names no mode"},
        {{}, 1, "no run for this command line: it names no mode"},
        {{"-updater"}, 1, "no run for this command line: the updater type is empty"},
        {{"-insForceUpdate", "-run", "-type", "\"Update List\""}, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const RunResult run = runUpdater(c.arguments, QString(), 30000);
        EXPECT_FALSE(run.overran);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.output.right(3000).toStdString();
        if (!c.logged.isEmpty()) {
            EXPECT_TRUE(updateLog().contains(c.logged)) << updateLog().toStdString();
        }
    }
    EXPECT_EQ(lastDay(), "");
}

// An updater killed while it unpacked leaves the unpacker's scratch files, the package twice over. The
// next updater that holds the single-instance name removes them; one that finds the name taken leaves
// them to the updater that may be unpacking right then.
TEST_F(Modes, ScratchFilesOfAKilledUnpackingGoWithTheNextUpdater)
{
    const QString scratch = env.tempDir() + "/KelvrinPagewisp/uncompress/";
    const QStringList names{"jsinfile_tmp", "jsoutfile_tmp", "jsfileover_tmp"};
    const auto plant = [&] {
        for (const QString& name : names)
            IsolatedEnvironment::writeFile(scratch + name, QByteArray(1000 * 1000, 'k'));
    };
    const auto scratchFiles = [&] { return QDir(scratch).entryList(QDir::Files); };
    IsolatedEnvironment::writeFile(env.root() + "/lists/katl.xml", "<katl/>");
    ChildHttpServer lists(env.root() + "/lists");
    ASSERT_TRUE(lists.start());

    plant();
    QProcess& holder = startUpdater({"-downloadTrustCertfile", "-certkatlurl",
                                     lists.url("/katl.xml?never-answer").toString(), "-katlfile", env.root() + "/katl"});
    ASSERT_TRUE(holder.waitForStarted());
    EXPECT_TRUE(QTest::qWaitFor([&] { return scratchFiles().isEmpty(); }, kWaitBoundMs)) << scratchFiles().join(' ').toStdString();

    plant();
    EXPECT_EQ(runUpdater({"checkbDisableInternet"}).exitCode, 0);
    EXPECT_EQ(scratchFiles().size(), 3) << "removed under another updater";
}

TEST_F(Modes, GermanTranslationInTheBundleReachesTheWindows)
{
    IsolatedEnvironment::writeFile(env.root() + "/de.ts",
                                   "<?xml version=\"1.0\" encoding=\"utf-8\"?><!DOCTYPE TS>"
                                   "<TS version=\"2.1\" language=\"de_DE\"><context><name>DlgUpdateChecking</name>"
                                   "<message><source>Checking for updates...</source>"
                                   "<translation>Suche nach Aktualisierungen...</translation></message>"
                                   "</context></TS>");
    ASSERT_TRUE(QDir().mkpath(bundle.langFolder() + "/de-DE"));
    QProcess lrelease;
    lrelease.start(KELVRIN_LRELEASE, {"-silent", env.root() + "/de.ts", "-qm",
                                      bundle.langFolder() + "/de-DE/pagewisp_de-DE.qm"});
    ASSERT_TRUE(lrelease.waitForFinished(30000));
    ASSERT_EQ(lrelease.exitCode(), 0);
    {
        const auto preferences = openApplicationSettings("Kelvrin Software", "Kelvrin.PDF.Reader");
        preferences->setValue("Preferences/Languages/nChooseLan", 42);
        preferences->setValue("Preferences/Languages/nChooseCountry", 82);
    }
    startService({demoModule("OCR")}, {"--no-update"});
    FakeReader reader(2);

    const RunResult run = runUpdater(readerArguments("Update List"));

    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(reader.stop(), QList<QByteArray>{"update finished"});
    EXPECT_TRUE(robotLog().contains("window DlgUpdateChecking \"Kelvrin Updater\" [Suche nach Aktualisierungen...]"))
        << robotLog().toStdString();
}

} // namespace
