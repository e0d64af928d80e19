#include "LocalHttpServer.h"
#include "ModalDriver.h"
#include "ReplyFixture.h"
#include "WaitBound.h"

#include <QCoreApplication>
#include <QDir>
#include <QSignalSpy>

namespace {

class ServiceQueryWire : public ReplyParsing {};

const std::string kConnectionMessage = "Cannot connect to the server. Please check your network connection.";

struct ShownBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

// Reads the next modal message box and presses its OK button.
void acknowledgeNextMessageBox(ShownBox& shown)
{
    whenModalShown([&shown](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) {
            ADD_FAILURE() << "the modal window is not a message box";
            modal->close();
            return;
        }
        shown = {box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
        if (!pressButton(box, "OK")) {
            ADD_FAILURE() << "the message box has no OK button";
            box->done(QMessageBox::Ok);
        }
    });
}

TEST_F(ServiceQueryWire, InternalAddressGetsTheQueryOnceEncodedAndItsReplyBecomesTheLists)
{
    LocalHttpServer server;
    ASSERT_TRUE(server.start());
    server.setFile("/svc/check", "<modules><module name=\"OCR\" version=\"2\" result=\"true\" "
                                 "url=\"https://elsewhere.example/pkg/OCR%20Pack.vzip\"/></modules>");
    startReaderRun(QString("-readerlang a&b -UserEmail me+you@example.org -InternalUpdateURL %1")
                       .arg(server.url("/svc/check").toString()));

    CReaderModuleManager& run = engine("Up-date List");
    QSignalSpy finished(&run, SIGNAL(sQueryModuleInfoFinish()));
    ASSERT_EQ(run.QueryModuleInfo(nullptr, true), 0);
    ASSERT_TRUE(finished.count() == 1 || finished.wait(kWaitBoundMs));

    ASSERT_EQ(server.requests().size(), 1);
    const QByteArray target = server.requests().first().target;
    // The address parser writes an encoded unreserved character plainly and encodes "|" itself; the
    // service decodes both to the same text.
    EXPECT_TRUE(target.startsWith("/svc/check?addon=Up-date%20List&product=Pagewisp4Mac&version=12.0&build=1.100"
                                  "&platform=x64&EmbededLanguage=a%26b&PackageType=&domain_area=us&Mac="))
        << target.toStdString();
    EXPECT_FALSE(target.contains("%25")) << "nothing is encoded twice";
    EXPECT_TRUE(target.contains("&Mac=" + QUrl::toPercentEncoding(QString::fromStdString(UpdateRun::GetMacAddress()), "-")));
    EXPECT_TRUE(target.endsWith("&email=me%2Byou@example.org&updateType=1")) << target.toStdString();
    EXPECT_TRUE(m_run->bInternalUpdate);
    EXPECT_TRUE(m_run->bQueryReplied);

    EXPECT_EQ(availableNames(), std::vector<std::string>{"OCR"});
    EXPECT_EQ(available("OCR")->url, "/pkg/OCR Pack.vzip");
    EXPECT_TRUE(run.GetQueryResultInfo().bSuccess);
    EXPECT_TRUE(QFile::exists(UpdateRun::GetAppDateRootPath() + "updater/update_tmpfile.xml"));
    EXPECT_EQ(run.GetPackageDownloadURL(available("OCR")), server.url("/pkg/OCR Pack.vzip"));
}

TEST_F(ServiceQueryWire, FailedTransferWarnsAndFailsTheCheckWhileTheListsStay)
{
    LocalHttpServer server;
    ASSERT_TRUE(server.start());
    HttpRoute reply;
    reply.body = "<modules><module name=\"OCR\" version=\"2\" result=\"true\"/></modules>";
    startReaderRun("-InternalUpdateURL " + server.url("/svc/check").toString());
    CReaderModuleManager& run = engine();

    const struct {
        const char* name;
        int status;
        qint64 truncateAfter;
    } failures[] = {
        {"server error", 500, -1},
        {"not found", 404, -1},
        {"body cut short", 200, 10},
    };
    for (const auto& failure : failures) {
        SCOPED_TRACE(failure.name);
        server.setRoute("/svc/check", reply);
        ASSERT_EQ(run.QueryModuleInfo(nullptr, true), 0);
        ASSERT_TRUE(run.GetQueryResultInfo().bSuccess);
        ASSERT_TRUE(run.GetQueryResultInfo().bUpdateFound);

        HttpRoute broken = reply;
        broken.status = failure.status;
        broken.truncateAfter = failure.truncateAfter;
        server.setRoute("/svc/check", broken);
        QSignalSpy failed(&run, SIGNAL(sErrorFinish()));
        QSignalSpy parsed(&run, SIGNAL(sQueryModuleInfoFinish()));
        ShownBox shown;
        acknowledgeNextMessageBox(shown);
        ASSERT_EQ(run.QueryModuleInfo(nullptr, true), 0);
        ASSERT_TRUE(failed.count() == 1 || failed.wait(kWaitBoundMs));

        EXPECT_EQ(shown.title.toStdString(), "Kelvrin PDF Reader");
        EXPECT_EQ(shown.text.toStdString(), kConnectionMessage);
        EXPECT_EQ(shown.icon, QMessageBox::Warning);
        EXPECT_EQ(shown.buttons, QMessageBox::Ok);
        EXPECT_EQ(parsed.count(), 0);
        EXPECT_FALSE(run.GetQueryResultInfo().bSuccess) << "a failed query is not a check without updates";
        EXPECT_EQ(run.GetQueryResultInfo().strMessage.toStdString(), kConnectionMessage);
        EXPECT_EQ(availableNames(), std::vector<std::string>{"OCR"});
    }
}

TEST_F(ServiceQueryWire, QueryThatCannotStartEndsAtOnceAsAFailedCheck)
{
    // An internal update address without a path, which the downloader refuses.
    startReaderRun("-InternalUpdateURL http://127.0.0.1:9");
    CReaderModuleManager& pathless = engine();
    EXPECT_EQ(pathless.QueryModuleInfo(nullptr, true), 1);
    EXPECT_FALSE(pathless.GetQueryResultInfo().bSuccess);
    EXPECT_EQ(pathless.GetQueryResultInfo().strMessage.toStdString(), kConnectionMessage);

    // A reply file that cannot be opened: a folder stands in its place.
    LocalHttpServer server;
    ASSERT_TRUE(server.start());
    server.setFile("/svc/check", "<modules/>");
    startReaderRun("-InternalUpdateURL " + server.url("/svc/check").toString());
    ASSERT_TRUE(QDir().mkpath(UpdateRun::GetAppDateRootPath() + "updater/update_tmpfile.xml"));
    CReaderModuleManager& blocked = engine();
    EXPECT_EQ(blocked.QueryModuleInfo(nullptr, true), 1);
    EXPECT_FALSE(blocked.GetQueryResultInfo().bSuccess);
    EXPECT_EQ(blocked.GetQueryResultInfo().strMessage.toStdString(), kConnectionMessage);
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(ServiceQueryWire, EngineCanBeReleasedFromItsOwnEndOfQuery)
{
    LocalHttpServer server;
    ASSERT_TRUE(server.start());
    server.setFile("/svc/check", "<modules/>");
    startReaderRun("-InternalUpdateURL " + server.url("/svc/check").toString());

    CReaderModuleManager& parsed = engine();
    QObject::connect(&parsed, &CReaderModuleManager::sQueryModuleInfoFinish, [this] { m_engine.reset(); });
    ASSERT_EQ(parsed.QueryModuleInfo(nullptr, true), 0);
    EXPECT_FALSE(m_engine);

    // Released while its warning is still open, as a window closing under the box would.
    HttpRoute failing;
    failing.status = 500;
    server.setRoute("/svc/check", failing);
    CReaderModuleManager& warned = engine();
    bool warningShown = false;
    whenModalShown([this, &warningShown](QWidget* modal) {
        warningShown = true;
        m_engine.reset();
        modal->close();
    });
    ASSERT_EQ(warned.QueryModuleInfo(nullptr, true), 0);
    EXPECT_TRUE(warningShown);
    EXPECT_FALSE(m_engine);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(ServiceQueryWire, ReplyPastSixteenMebibytesFailsTheCheckAndIsRemoved)
{
    LocalHttpServer server;
    ASSERT_TRUE(server.start());
    HttpRoute endless;
    endless.body = QByteArray(16 * 1024 * 1024 + 1, ' ');
    endless.withoutLength = true;
    server.setRoute("/svc/check", endless);
    startReaderRun("-InternalUpdateURL " + server.url("/svc/check").toString());
    CReaderModuleManager& run = engine();
    QSignalSpy failed(&run, SIGNAL(sErrorFinish()));
    ShownBox shown;
    acknowledgeNextMessageBox(shown);

    ASSERT_EQ(run.QueryModuleInfo(nullptr, true), 0);
    ASSERT_TRUE(failed.count() == 1 || failed.wait(kWaitBoundMs));

    EXPECT_FALSE(run.GetQueryResultInfo().bSuccess);
    EXPECT_FALSE(QFile::exists(UpdateRun::GetAppDateRootPath() + "updater/update_tmpfile.xml"));
}

TEST_F(ServiceQueryWire, PackageAddressesOutsideInternalModeStayAsSent)
{
    const struct {
        const char* internalUrl; // null: public service
        const char* stored;
        const char* download;
    } cases[] = {
        {"http://10.1.2.3:8080/svc/check?x=1", "/a/b c%.vzip", "http://10.1.2.3:8080/a/b%20c%25.vzip"},
        {"https://intra.example/svc", "https://cdn.example/p.vzip", "https://cdn.example/p.vzip"},
        {nullptr, "https://cdn.example/p%20q.vzip?s=1", "https://cdn.example/p%20q.vzip?s=1"},
    };
    for (const auto& c : cases) {
        startReaderRun(c.internalUrl ? QString("-InternalUpdateURL \"%1\"").arg(c.internalUrl) : QString());
        m_run->bInternalUpdate = c.internalUrl != nullptr;
        MODULEINFO record;
        record.url = c.stored;
        EXPECT_EQ(engine().GetPackageDownloadURL(&record).toString(QUrl::FullyEncoded), c.download) << c.stored;
    }
}

TEST_F(ServiceQueryWire, AServerThatNeverAnswersEndsTheCheckWithinTheQueryBound)
{
    LocalHttpServer server;
    ASSERT_TRUE(server.start());
    HttpRoute silent;
    silent.neverAnswer = true;
    server.setRoute("/svc/check", silent);
    startReaderRun("-InternalUpdateURL " + server.url("/svc/check").toString());
    CReaderModuleManager& run = engine();
    run.setQueryTimerIntervals(300, 300);

    QSignalSpy failed(&run, SIGNAL(sErrorFinish()));
    ShownBox shown;
    acknowledgeNextMessageBox(shown);
    ASSERT_EQ(run.QueryModuleInfo(nullptr, false), 0);
    ASSERT_TRUE(failed.wait(kWaitBoundMs));
    EXPECT_EQ(shown.text.toStdString(), "Cannot connect to the server. Please check your network connection.");
    EXPECT_FALSE(run.GetQueryResultInfo().bSuccess);
}

TEST_F(ServiceQueryWire, ANewQueryFromInsideTheLastOnesSignalReplacesItsTransfer)
{
    LocalHttpServer server;
    ASSERT_TRUE(server.start());
    server.setFile("/svc/check", "<modules><module name=\"OCR\" version=\"2\" result=\"true\"/></modules>");
    startReaderRun("-InternalUpdateURL " + server.url("/svc/check").toString());
    CReaderModuleManager& run = engine();
    QSignalSpy parsed(&run, SIGNAL(sQueryModuleInfoFinish()));
    bool again = true;
    QObject::connect(&run, &CReaderModuleManager::sQueryModuleInfoFinish, &run, [&] {
        if (std::exchange(again, false))
            run.QueryModuleInfo(nullptr, false);
    });
    ASSERT_EQ(run.QueryModuleInfo(nullptr, false), 0);
    ASSERT_TRUE(parsed.wait(kWaitBoundMs));
    ASSERT_TRUE(parsed.size() == 2 || parsed.wait(kWaitBoundMs));
    EXPECT_EQ(server.requests().size(), 2);
    EXPECT_EQ(run.CountAvailableModule(), 1);
}

} // namespace
