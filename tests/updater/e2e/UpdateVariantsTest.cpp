#include "FakeReader.h"
#include "UpdaterProcess.h"

#include <QDirIterator>
#include <QFile>

#include <gtest/gtest.h>

namespace {

const QString kEngineBox = QStringLiteral("answer QMessageBox OK\n");

struct Variant {
    const char* name;
    QString type;
    QStringList serviceOptions;
    QVector<DemoModule> modules;
    QString robotScript;
    QList<QByteArray> words;
    QStringList installed; // the installer packages that installed, in any order
    QString robotSaw;      // a line the robot's log must hold; empty: anything
    QString logSaw;        // a line the update log must hold; empty: anything
};

DemoModule withWrongMd5(DemoModule module)
{
    module.announcedMd5 = "0123456789abcdef0123456789abcdef";
    return module;
}

DemoModule withFailingInstaller(DemoModule module)
{
    module.failingInstaller = true;
    return module;
}

DemoModule damaged(DemoModule module)
{
    module.damagedPackage = true;
    return module;
}

DemoModule silent(DemoModule module)
{
    module.silent = true;
    return module;
}

class UpdateVariants : public UpdaterProcessTest, public testing::WithParamInterface<Variant>
{
};

TEST_P(UpdateVariants, ReaderServiceAndSystemSeeTheOutcome)
{
    const Variant& v = GetParam();
    startService(v.modules, v.serviceOptions);
    FakeReader reader(3);

    const RunResult run = runUpdater(readerArguments(v.type), v.robotScript);

    EXPECT_FALSE(run.overran) << robotLog().toStdString();
    EXPECT_EQ(run.exitCode, 0) << run.output.right(3000).toStdString();
    EXPECT_EQ(reader.stop(), v.words);
    QStringList installed = installedPackages();
    installed.sort();
    EXPECT_EQ(installed, v.installed);
    if (!v.robotSaw.isEmpty()) {
        EXPECT_TRUE(robotLog().contains(v.robotSaw)) << robotLog().toStdString();
    }
    if (!v.logSaw.isEmpty()) {
        EXPECT_TRUE(updateLog().contains(v.logSaw)) << updateLog().toStdString();
    }
    EXPECT_FALSE(robotLog().contains("stuck")) << robotLog().toStdString();
}

const QList<QByteArray> kErrorNetwork{"errornetwork"};
const QString kBoxAnswered = QStringLiteral("step 1: answer QMessageBox OK");
const QString kRefusedReply = QStringLiteral("Not a well-formed XML document: ");
// Every module, with the box that tells that a package did not unpack answered on the way.
const QString kEveryModuleAfterTheUnpackBox = QStringLiteral("window DlgUpdatesTree\n"
                                                             "tick treeView_4 *\n"
                                                             "press button_download\n"
                                                             "answer QMessageBox OK\n"
                                                             "window dlgfound\n"
                                                             "text btn_close Close\n"
                                                             "press btn_close\n");

INSTANTIATE_TEST_SUITE_P(
    Outcomes, UpdateVariants,
    testing::Values(
        Variant{"NoUpdate", "Update List", {"--no-update"}, {demoModule("OCR")}, "", {"update finished"}, {}, "", ""},
        Variant{"Refused", "Update List", {"--refuse"}, {demoModule("OCR")}, kEngineBox, kErrorNetwork, {},
                kBoxAnswered, ""},
        Variant{"NotFound", "Update List", {"--status", "404"}, {demoModule("OCR")}, kEngineBox, kErrorNetwork, {},
                kBoxAnswered, ""},
        Variant{"Unparsable", "Update List", {"--unparsable"}, {demoModule("OCR")}, "", kErrorNetwork, {}, "", ""},
        Variant{"RootNeverEnds", "Update List", {"--broken-reply"}, {demoModule("OCR")}, "", kErrorNetwork, {}, "",
                kRefusedReply},
        Variant{"ReplyCutShort", "Update List", {"--cut-reply"}, {demoModule("OCR")}, "", kErrorNetwork, {}, "",
                kRefusedReply},
        Variant{"AllSilent", "Update List", {}, {silent(demoModule("OCR"))}, "", {"update finished"}, {}, "", ""},
        Variant{"AutoUpdaterFailure", "Auto Updater", {"--status", "404"}, {demoModule("OCR")}, kEngineBox, {}, {},
                kBoxAnswered, ""},
        Variant{"WrongMd5", "Update List", {}, {withWrongMd5(demoModule("OCR")), demoModule("Dictionary", "basic")},
                kEveryModuleScript, {"close"}, {"Dictionary.pkg"}, "", ""},
        Variant{"FailingInstaller", "Update List", {},
                {withFailingInstaller(demoModule("OCR")), demoModule("Dictionary", "basic")}, kEveryModuleScript, {"close"},
                {"Dictionary.pkg"}, "", ""},
        // The list downloads the basic module before the service one.
        Variant{"DamagedPackageFirst", "Update List", {}, {demoModule("OCR"), damaged(demoModule("Dictionary", "basic"))},
                kEveryModuleAfterTheUnpackBox, {"close"}, {"OCR.pkg"},
                "window QMessageBox \"Kelvrin PDF Reader Updater\" [Failed to extract the downloaded package. Please try again.]",
                "the package is damaged"}),
    [](const testing::TestParamInfo<Variant>& info) { return info.param.name; });

TEST_F(UpdaterProcessTest, PausedDownloadContinuesFromItsOffset)
{
    startService({demoModule("OCR")}, {"--throttle", "100000"});
    FakeReader reader(3);

    const RunResult run = runUpdater(readerArguments("Update List"),
                                     "window DlgUpdatesTree\n"
                                     "tick treeView_4 *\n"
                                     "press button_download\n"
                                     "window dlgfound\n"
                                     "cell treeView %\n"
                                     "press btn_download Pause\n"
                                     "sleep 300\n"
                                     "press btn_download Continue\n"
                                     "text btn_close Close\n"
                                     "press btn_close\n");

    EXPECT_FALSE(run.overran) << robotLog().toStdString();
    EXPECT_EQ(run.exitCode, 0) << run.output.right(3000).toStdString();
    EXPECT_EQ(reader.stop(), QList<QByteArray>{"close"});
    const QStringList requests = serviceRequests().filter("/packages/OCR.vzip");
    ASSERT_EQ(requests.size(), 2) << requests.join('\n').toStdString();
    EXPECT_TRUE(requests[0].endsWith(" bytes=0-"));
    const qint64 offset = requests[1].section("bytes=", 1).section('-', 0, 0).toLongLong();
    EXPECT_GT(offset, 0) << requests[1].toStdString();
    EXPECT_EQ(installedPackages(), QStringList{"OCR.pkg"});

    QDirIterator downloads(env.dataHome(), {"OCR.vzip"}, QDir::Files, QDirIterator::Subdirectories);
    ASSERT_TRUE(downloads.hasNext());
    EXPECT_EQ(IsolatedEnvironment::readFile(downloads.next()),
              IsolatedEnvironment::readFile(packageFolder() + "/OCR.vzip"));
}

} // namespace
