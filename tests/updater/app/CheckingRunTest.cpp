#include "FakeReader.h"
#include "IsolatedEnvironment.h"
#include "LocalHttpServer.h"
#include "ModalDriver.h"
#include "app/DlgUpdateChecking.h"
#include "app/UpdaterApp.h"
#include "engine/CReaderModuleManager.h"
#include "engine/CSetup_CommandLine.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QString kServicePath = QStringLiteral("/svc/check");
const QByteArray kNoUpdate = "<modules></modules>";
const QByteArray kOneUpdate = "<modules><module name=\"OCR\" title=\"OCR Add-on\" version=\"2\" result=\"true\""
                              " autoCheck=\"true\"/>"
                              "</modules>";
const QByteArray kSilentUpdate = "<modules><module name=\"OCR\" title=\"OCR Add-on\" version=\"2\" result=\"true\""
                                 " autoCheck=\"true\" SilentInstall=\"true\"/></modules>";

// Catches the hidden checking dialog as it is shown, before its check can end: keeps its last
// check result at each rejection and lets the test act on it once its loop runs.
class CheckingWatch : public QObject
{
public:
    std::function<void(DlgUpdateChecking&)> action;
    int lastResult = -2;
    bool seen = false;
    QPointer<CReaderModuleManager> engine;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* checking = qobject_cast<DlgUpdateChecking*>(watched);
        if (!checking || seen || event->type() != QEvent::Show)
            return false;
        seen = true;
        engine = theApp->engine();
        connect(checking, &QDialog::rejected, this, [this, checking] { lastResult = checking->nCheckResult; });
        if (action) {
            QPointer<DlgUpdateChecking> guarded(checking);
            QTimer::singleShot(0, this, [this, guarded] {
                if (guarded)
                    action(*guarded);
            });
        }
        return false;
    }
};

enum class Event {
    FailedQuery,
    NetworkError,
    RefusedConnection,
    ErrorFinish,
    NoUpdate,
    AllSilent,
    UpdatesListClosed,
    TimeoutBeforeResult,
    TimeoutWithAutoClose,
    TimeoutAfterResult,
    Cancel
};

struct Outcome {
    QList<QByteArray> updateListWords;
    QList<QByteArray> autoUpdaterWords;
    bool checkHandled;
    int checkResult;
    bool engineReleased;
};

struct CheckingCase {
    const char* name;
    Event event;
    Outcome outcome;
};

class CheckingRun : public IsolatedTest, public testing::WithParamInterface<CheckingCase>
{
protected:
    void SetUp() override { ASSERT_TRUE(server.start()); }

    // The service's side of the event; the watch's action for the events that happen in the run.
    QUrl prepare(Event event, CheckingWatch& watch)
    {
        switch (event) {
        case Event::FailedQuery:
            server.setFile(kServicePath, "");
            break;
        case Event::NetworkError: {
            HttpRoute missing;
            missing.status = 404;
            server.setRoute(kServicePath, missing);
            answerMessageBoxWhenShown(QMessageBox::Ok);
            break;
        }
        case Event::RefusedConnection: {
            LocalHttpServer closed;
            closed.start();
            const QUrl url = closed.url(kServicePath);
            closed.close();
            answerMessageBoxWhenShown(QMessageBox::Ok);
            return url;
        }
        case Event::ErrorFinish:
            server.setRoute(kServicePath, silentService());
            watch.action = [this](DlgUpdateChecking&) { emit app->engine()->sErrorFinish(); };
            break;
        case Event::NoUpdate:
            server.setFile(kServicePath, kNoUpdate);
            break;
        case Event::AllSilent:
            server.setFile(kServicePath, kSilentUpdate);
            break;
        case Event::UpdatesListClosed:
        case Event::TimeoutAfterResult:
            server.setFile(kServicePath, kOneUpdate);
            whenModalShown("DlgUpdatesTree", [event](QWidget* list) {
                if (event == Event::TimeoutAfterResult) {
                    // The timer went with the result; a late timeout changes nothing.
                    for (QWidget* widget : QApplication::topLevelWidgets()) {
                        if (auto* checking = qobject_cast<DlgUpdateChecking*>(widget))
                            checking->timeOut();
                    }
                }
                answerMessageBoxWhenShown(QMessageBox::Yes);
                EXPECT_TRUE(pressButton(list, "button_cancel"));
            });
            break;
        case Event::TimeoutBeforeResult:
            server.setRoute(kServicePath, silentService());
            watch.action = [](DlgUpdateChecking& checking) { checking.startTimer(30); };
            break;
        case Event::TimeoutWithAutoClose:
            server.setRoute(kServicePath, silentService());
            watch.action = [](DlgUpdateChecking& checking) {
                checking.bAutoClose = true;
                checking.startTimer(30);
            };
            // The box stands in for the report: the reader hears nothing.
            whenModalShown(
                "DlgMessage",
                [](QWidget* message) {
                    EXPECT_EQ(message->findChild<QLabel*>("label")->text(),
                              "Cannot establish connection to the Server, Check your network.");
                    const QPoint centre = UpdaterApp::GetMainAppCenterPos();
                    EXPECT_EQ(message->pos(), centre - QPoint(message->width() / 2, message->height() / 2));
                    EXPECT_TRUE(pressButton(message, "pushButton_ok"));
                },
                30000);
            break;
        case Event::Cancel:
            server.setRoute(kServicePath, silentService());
            watch.action = [](DlgUpdateChecking& checking) {
                checking.findChild<QPushButton*>("cancelButton")->click();
            };
            break;
        }
        return server.url(kServicePath);
    }

    static HttpRoute silentService()
    {
        HttpRoute route;
        route.neverAnswer = true;
        return route;
    }

    LocalHttpServer server;
    std::unique_ptr<UpdaterApp> app;
};

TEST_P(CheckingRun, ReportsAndEndsAsTheEventAsks)
{
    for (const char* type : {"Update List", "Auto Updater"}) {
        SCOPED_TRACE(type);
        CheckingWatch watch;
        const QUrl service = prepare(GetParam().event, watch);
        CSetup_CommandLine commandLine;
        ASSERT_TRUE(commandLine.ProcessCmdLine(
            QString("-updater -type \"%1\" -InternalUpdateURL %2").arg(type, service.toString())));
        app = std::make_unique<UpdaterApp>(&commandLine, nullptr);
        theApp = app.get();
        FakeReader reader(3);
        qApp->installEventFilter(&watch);
        app->runUpdateVisible(31, 225);
        qApp->removeEventFilter(&watch);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        const Outcome& expected = GetParam().outcome;
        EXPECT_EQ(reader.stop(),
                  QString(type) == "Update List" ? expected.updateListWords : expected.autoUpdaterWords);
        EXPECT_TRUE(watch.seen);
        EXPECT_EQ(app->bCheckHandled, expected.checkHandled);
        EXPECT_EQ(watch.lastResult, expected.checkResult);
        EXPECT_EQ(watch.engine.isNull(), expected.engineReleased);
        EXPECT_TRUE(app->bRunFinished);
        app.reset();
        theApp = nullptr;
    }
}

const QList<QByteArray> kNothing;
const QList<QByteArray> kErrorNetwork{"errornetwork"};

INSTANTIATE_TEST_SUITE_P(
    Events, CheckingRun,
    testing::Values(
        CheckingCase{"FailedQuery", Event::FailedQuery, {kErrorNetwork, kNothing, true, -1, true}},
        CheckingCase{"NetworkError", Event::NetworkError, {kErrorNetwork, kNothing, true, -1, false}},
        CheckingCase{"RefusedConnection", Event::RefusedConnection, {kErrorNetwork, kNothing, true, -1, false}},
        CheckingCase{"ErrorFinish", Event::ErrorFinish, {kNothing, kNothing, false, -1, false}},
        CheckingCase{"NoUpdate", Event::NoUpdate, {{"update finished"}, kNothing, true, 1, true}},
        CheckingCase{"AllSilent", Event::AllSilent, {{"update finished"}, kNothing, false, 1, true}},
        CheckingCase{"UpdatesThenListClosed", Event::UpdatesListClosed, {{"close"}, kNothing, true, 1, true}},
        CheckingCase{"TimeoutBeforeResult", Event::TimeoutBeforeResult, {kErrorNetwork, kErrorNetwork, true, -1, false}},
        CheckingCase{"TimeoutWithAutoClose", Event::TimeoutWithAutoClose, {kNothing, kNothing, true, -1, false}},
        CheckingCase{"TimeoutAfterResult", Event::TimeoutAfterResult, {{"close"}, kNothing, true, 1, true}},
        CheckingCase{"Cancel", Event::Cancel, {kNothing, kNothing, false, 0, false}}),
    [](const testing::TestParamInfo<CheckingCase>& info) { return info.param.name; });

} // namespace

namespace {

TEST(CheckingDialog, MajorVersionUpgradeComparesTheFourNumbersInOrder)
{
    UpdaterApp app(nullptr, nullptr);
    theApp = &app;
    app.m_strReaderVersion = "12.1.0.3";
    DlgUpdateChecking checking("Update List", nullptr);
    const struct {
        const char* version;
        bool upgrade;
    } cases[] = {
        {"13.0.0.0", true}, {"13", true},        {"12.1.0.4", true},  {"12.2", true},
        {"12.1.0.3", false}, {"12.1.0.2", false}, {"11.9.9.9", false}, {"12.1", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(checking.CheckMajorVersionUpgrade(c.version), c.upgrade) << c.version;
    theApp = nullptr;
}

} // namespace
