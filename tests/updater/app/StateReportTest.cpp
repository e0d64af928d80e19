#include "FakeReader.h"
#include "IsolatedEnvironment.h"
#include "app/UpdaterApp.h"
#include "engine/CSetup_CommandLine.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include <gtest/gtest.h>

namespace {

const QString kMarkerFolder = QStringLiteral("/usr/local/share/kelvrin/Kelvrin PDF Reader/ACUpdate");

struct ReportCase {
    UPDATE_CHECK_STATE state;
    QByteArray word;
    const char* marker;
};

class StateReport : public IsolatedTest, public testing::WithParamInterface<ReportCase>
{
protected:
    QString markerFolder() const { return env.systemFile(kMarkerFolder); }
    QStringList markers() const { return QDir(markerFolder()).entryList(QDir::Files); }

    CSetup_CommandLine internalRun()
    {
        CSetup_CommandLine commandLine;
        commandLine.ProcessCmdLine("-InternalUpdateURL https://updates.example.internal/check");
        return commandLine;
    }
};

TEST_P(StateReport, SendsTheWordByteForByteAndLeavesTheMarkerInInternalMode)
{
    QDir().mkpath(markerFolder());
    CSetup_CommandLine commandLine = internalRun();
    UpdaterApp app(&commandLine, nullptr);

    FakeReader reader(1);
    ASSERT_TRUE(reader.listening());
    app.NotifyMainCallBack(GetParam().state);

    EXPECT_EQ(reader.received(), QList<QByteArray>{GetParam().word});
    EXPECT_EQ(markers(), QStringList{GetParam().marker});
    EXPECT_EQ(QFileInfo(markerFolder() + "/" + GetParam().marker).size(), 0);
}

TEST_P(StateReport, OnlyTheWordWithoutInternalAddress)
{
    QDir().mkpath(markerFolder());
    CSetup_CommandLine commandLine;
    UpdaterApp app(&commandLine, nullptr);

    FakeReader reader(1);
    app.NotifyMainCallBack(GetParam().state);

    EXPECT_EQ(reader.received(), QList<QByteArray>{GetParam().word});
    EXPECT_TRUE(markers().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    States, StateReport,
    testing::Values(ReportCase{UPDATE_CHECK_ERROR_NETWORK, "errornetwork", "KelvrinDataerrornetwork.txt"},
                    ReportCase{UPDATE_CHECK_FINISHED, "update finished", "KelvrinDataupdatefinished.txt"},
                    ReportCase{UPDATE_CHECK_CLOSE, "close", "KelvrinDataclose.txt"},
                    ReportCase{UPDATE_CHECK_AUTOCLOSE, "autoclose", "KelvrinDataautoclose.txt"}));

class StateReportFailures : public StateReport {};

TEST_F(StateReportFailures, MarkerIsWrittenEvenWhenNoReaderListens)
{
    QDir().mkpath(markerFolder());
    IsolatedEnvironment::writeFile(markerFolder() + "/KelvrinDataclose.txt", "old content");
    CSetup_CommandLine commandLine = internalRun();
    UpdaterApp app(&commandLine, nullptr);

    app.NotifyMainCallBack(UPDATE_CHECK_CLOSE);

    EXPECT_EQ(markers(), QStringList{"KelvrinDataclose.txt"});
    EXPECT_EQ(QFileInfo(markerFolder() + "/KelvrinDataclose.txt").size(), 0);
}

TEST_F(StateReportFailures, MarkerFolderIsNeverCreated)
{
    CSetup_CommandLine commandLine = internalRun();
    UpdaterApp app(&commandLine, nullptr);

    FakeReader reader(1);
    app.NotifyMainCallBack(UPDATE_CHECK_FINISHED);

    EXPECT_EQ(reader.received(), QList<QByteArray>{"update finished"});
    EXPECT_FALSE(QFileInfo::exists(markerFolder()));
}

TEST_F(StateReportFailures, UnknownStateSendsAndWritesNothing)
{
    QDir().mkpath(markerFolder());
    CSetup_CommandLine commandLine = internalRun();
    UpdaterApp app(&commandLine, nullptr);
    QLocalServer reader;
    ASSERT_TRUE(reader.listen("updater_check_state"));

    app.NotifyMainCallBack(static_cast<UPDATE_CHECK_STATE>(4));
    app.NotifyMainCallBack(static_cast<UPDATE_CHECK_STATE>(-1));

    EXPECT_FALSE(reader.waitForNewConnection(200));
    EXPECT_TRUE(markers().isEmpty());
}

TEST_F(StateReportFailures, LaterReportsReuseTheSocketAndConnectAnew)
{
    UpdaterApp app(nullptr, nullptr);

    app.NotifyMainCallBack(UPDATE_CHECK_CLOSE); // nobody listens yet
    FakeReader reader(2);
    app.NotifyMainCallBack(UPDATE_CHECK_AUTOCLOSE);
    app.NotifyMainCallBack(UPDATE_CHECK_FINISHED);

    EXPECT_EQ(reader.received(), (QList<QByteArray>{"autoclose", "update finished"}));
    EXPECT_EQ(app.findChildren<QLocalSocket*>().size(), 1);
}

} // namespace
