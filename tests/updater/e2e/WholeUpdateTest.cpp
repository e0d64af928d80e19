#include "FakeReader.h"
#include "PlistFileView.h"
#include "UpdaterProcess.h"
#include "engine/CRegister.h"
#include "engine/UpdateRun.h"
#include "platform/InstallerPrograms.h"

#include <QFile>
#include <QRegularExpression>
#include <QUrlQuery>

#include <gtest/gtest.h>

namespace {

const QString kUpdaterKey =
    QStringLiteral("HKEY_CURRENT_USER\\Software\\Kelvrin Software\\Kelvrin PDF Reader\\plugins\\Updater");


class WholeUpdate : public UpdaterProcessTest
{
protected:
    // The request's query, decoded, in order.
    static QList<QPair<QString, QString>> queryOf(const QString& requestLine)
    {
        const QString target = requestLine.section(' ', 2, 2);
        return QUrlQuery(target.section('?', 1)).queryItems(QUrl::FullyDecoded);
    }
};

TEST_F(WholeUpdate, MainRoad)
{
    startService({demoModule("OCR"), demoModule("Dictionary", "basic")});
    FakeReader reader(3);

    const RunResult run = runUpdater(readerArguments("Update List"), kEveryModuleScript);

    EXPECT_FALSE(run.overran) << robotLog().toStdString();
    EXPECT_EQ(run.exitCode, 0) << run.output.right(3000).toStdString();
    EXPECT_EQ(reader.stop(), QList<QByteArray>{"close"});
    EXPECT_TRUE(QFile::exists(markerFolder() + "/KelvrinDataclose.txt"));

    const QStringList requests = serviceRequests();
    ASSERT_EQ(requests.size(), 3) << requests.join('\n').toStdString();
    EXPECT_TRUE(requests[0].startsWith("request GET /check?"));
    const QList<QPair<QString, QString>> expectedQuery{
        {"addon", "Update List"}, {"product", "Pagewisp4Mac"}, {"version", "12.0"},
        {"build", "0.1"},         {"platform", "x64"},         {"PackageType", ""},
        {"domain_area", "us"},    {"Mac", QString::fromStdString(UpdateRun::GetMacAddress())},
        {"email", ""},            {"updateType", "1"}};
    EXPECT_EQ(queryOf(requests[0]), expectedQuery);
    EXPECT_TRUE(requests.contains("request GET /packages/OCR.vzip bytes=0-"));
    EXPECT_TRUE(requests.contains("request GET /packages/Dictionary.vzip bytes=0-"));

    EXPECT_EQ(installedPackages().size(), 2);
    QStringList recorded = PlistFileView::stringOfEachRecord(InstallerPrograms::installHistory(), "displayName");
    recorded.sort();
    EXPECT_EQ(recorded, (QStringList{"Dictionary.pkg", "OCR.pkg"}));
    for (const QString& path : installerStarts())
        EXPECT_TRUE(path.contains(QRegularExpression("/updater/uncompress/\\d+/\\w+\\.pkg$"))) << path.toStdString();
    EXPECT_TRUE(QFile::exists(env.systemFile("/Users/Shared/OCR-installed.txt")));
    EXPECT_TRUE(QFile::exists(env.systemFile("/Users/Shared/Dictionary-installed.txt")));

    const QString log = updateLog();
    EXPECT_TRUE(log.startsWith("[CUP_Log]["));
    EXPECT_TRUE(log.contains(QRegularExpression("\\[CUP_Log\\]\\[[^\\]]+\\]qsCmd: -updater -type \"Update List\" ")));
    EXPECT_TRUE(CRegister::regGetString(kUpdaterKey, "LastDay").isEmpty());
}

// The install history keeps its length, dropping its oldest record as each installer adds one; the
// second installer of the package records well after the updater has taken the first one's end.
TEST_F(WholeUpdate, AHistoryOfFixedLengthConfirmsBothInstallersOfAPackage)
{
    IsolatedEnvironment::writeFile(InstallerPrograms::installHistory(),
                                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><array>"
                                   "<dict><key>displayName</key><string>Earlier-1.pkg</string></dict>"
                                   "<dict><key>displayName</key><string>Earlier-2.pkg</string></dict>"
                                   "<dict><key>displayName</key><string>Earlier-3.pkg</string></dict>"
                                   "</array></plist>\n");
    DemoModule ocr = demoModule("OCR");
    ocr.installerDirectives = QStringList{"keep=3\n", "delay=2000\nkeep=3\n"};
    startService({ocr});
    FakeReader reader(3);

    const RunResult run = runUpdater(readerArguments("Update List"), kEveryModuleScript);

    EXPECT_FALSE(run.overran) << robotLog().toStdString();
    EXPECT_EQ(run.exitCode, 0) << run.output.right(3000).toStdString();
    EXPECT_EQ(reader.stop(), QList<QByteArray>{"close"});
    EXPECT_EQ(PlistFileView::stringOfEachRecord(InstallerPrograms::installHistory(), "displayName"),
              (QStringList{"Earlier-3.pkg", "OCR.pkg", "OCR-2.pkg"}));
    EXPECT_FALSE(updateLog().contains(QRegularExpression("install of .* failed"))) << updateLog().toStdString();
}

// Nothing can be downloaded or unpacked: the run says so, in the log and to the user, and ends. The
// next run, once the folder is mended, finds no instance of it in its way.
TEST_F(WholeUpdate, AnUpdaterFolderThatCannotBeMadeEndsTheRunWithItsCause)
{
    const QString updaterFolder = env.dataHome() + "/Kelvrin Software/Continuous/updater";
    IsolatedEnvironment::writeFile(updaterFolder, "a file where the folder belongs");
    startService({demoModule("OCR")});

    const RunResult failed = runUpdater(readerArguments("Update List"), "answer DlgMessage pushButton_ok\n", 30000);

    EXPECT_FALSE(failed.overran) << robotLog().toStdString();
    EXPECT_NE(failed.exitCode, 0);
    EXPECT_TRUE(robotLog().contains("window DlgMessage \"Kelvrin Updater\" [The download folder cannot be written (Not a "
                                    "directory):\n" + updaterFolder + "]"))
        << robotLog().toStdString();
    EXPECT_TRUE(robotLog().contains("step 1: answer DlgMessage pushButton_ok")) << robotLog().toStdString();
    EXPECT_TRUE(updateLog().contains(QRegularExpression("can not make path for uncompress the updater: .*"
                                                        "/updater/uncompress/\\d+: Not a directory")))
        << updateLog().toStdString();
    EXPECT_TRUE(serviceRequests().isEmpty());

    QFile::remove(updaterFolder);
    FakeReader reader(3);
    const RunResult mended = runUpdater(readerArguments("Update List"), kEveryModuleScript);
    EXPECT_FALSE(mended.overran) << robotLog().toStdString();
    EXPECT_EQ(mended.exitCode, 0) << mended.output.right(3000).toStdString();
    EXPECT_EQ(reader.stop(), QList<QByteArray>{"close"});
    EXPECT_EQ(installedPackages(), QStringList{"OCR.pkg"});
}

} // namespace
