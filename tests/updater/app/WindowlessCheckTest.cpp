#include "DialogRun.h"
#include "LocalHttpServer.h"
#include "ModalDriver.h"
#include "app/UpdateChecking.h"
#include "WaitBound.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QString kServicePath = QStringLiteral("/svc/check");

// A run whose engine asks the test's own service.
class WindowlessCheck : public DialogRun
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.start());
        startRun(QString("-updater -type \"Update List\" -InternalUpdateURL %1").arg(server.url(kServicePath).toString()));
    }

    static bool timerRuns(const UpdateChecking& checking)
    {
        const QTimer* timer = checking.findChild<QTimer*>();
        return timer && timer->isActive();
    }

    LocalHttpServer server;
};

TEST_F(WindowlessCheck, EndsWithTheAnswerOrTheFailureOfItsQuery)
{
    const struct {
        const char* name;
        bool answered;
        bool wait;
    } cases[] = {{"answer, waited", true, true},
                 {"answer", true, false},
                 {"failure, waited", false, true},
                 {"failure", false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HttpRoute route;
        route.body = "<modules><module name=\"OCR\" version=\"2\" result=\"true\"/></modules>";
        route.status = c.answered ? 200 : 404;
        server.setRoute(kServicePath, route);
        if (!c.answered)
            answerMessageBoxWhenShown(QMessageBox::Ok, kWaitBoundMs);
        UpdateChecking checking("Update List");
        checking.setModuleManager(m_engine);
        checking.bWait = c.wait;
        checking.startUpdateCheck();

        EXPECT_EQ(checking.nFinished, c.wait ? 1 : 0);
        ASSERT_TRUE(QTest::qWaitFor([&] { return checking.nFinished == 1; }, kWaitBoundMs));
        EXPECT_EQ(checking.nResult, c.answered ? 1 : -1);
        // The bound goes with an answer only: after a failure it still runs to its end.
        EXPECT_EQ(timerRuns(checking), !c.answered);
    }
}

// Only a check that waits for its query ends at its bound; the other one only stops its timer.
TEST_F(WindowlessCheck, ItsBoundEndsOnlyAWaitingCheck)
{
    HttpRoute silent;
    silent.neverAnswer = true;
    server.setRoute(kServicePath, silent);
    UpdateChecking checking("Update List");
    checking.setModuleManager(m_engine);
    checking.setTimeoutInterval(30);

    checking.startUpdateCheck();
    ASSERT_TRUE(timerRuns(checking));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !checking.findChild<QTimer*>(); }, kWaitBoundMs));
    EXPECT_EQ(checking.nFinished, 0);
    EXPECT_EQ(checking.nResult, -1);

    // The waiting query returns only when its transfer gives up; by then the bound has ended the check.
    m_engine->setQueryTimerIntervals(2000, 2000);
    UpdateChecking waiting("Update List");
    waiting.setModuleManager(m_engine);
    waiting.setTimeoutInterval(30);
    waiting.bWait = true;
    int finishedWhenTheTransferGaveUp = -1;
    whenModalShown(
        "QMessageBox",
        [&](QWidget* box) {
            finishedWhenTheTransferGaveUp = waiting.nFinished;
            static_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
        },
        30000);
    waiting.startUpdateCheck();
    EXPECT_EQ(finishedWhenTheTransferGaveUp, 1);
    EXPECT_EQ(waiting.nResult, -1);
}

} // namespace
