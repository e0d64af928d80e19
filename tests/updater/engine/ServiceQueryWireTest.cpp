#include "LocalHttpServer.h"
#include "ReplyFixture.h"

#include <QSignalSpy>

namespace {

class ServiceQueryWire : public ReplyParsing {};

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
    ASSERT_TRUE(finished.count() == 1 || finished.wait(10000));

    ASSERT_EQ(server.requests().size(), 1);
    const QByteArray target = server.requests().first().target;
    // The address parser writes an encoded unreserved character plainly and encodes "|" itself; the
    // service decodes both to the same text.
    EXPECT_TRUE(target.startsWith("/svc/check?addon=Up-date%20List&product=Pagewisp4Mac&version=12.0&build=1.100"
                                  "&platform=x64&EmbededLanguage=a%26b&PackageType=&domain_area=us&Mac="))
        << target.toStdString();
    EXPECT_FALSE(target.contains("%25")) << "nothing is encoded twice";
    EXPECT_TRUE(target.contains("&Mac=" + QUrl::toPercentEncoding(QString::fromStdString(UpdaterApp::GetMacAddress()), "-")));
    EXPECT_TRUE(target.endsWith("&email=me%2Byou@example.org&updateType=1")) << target.toStdString();
    EXPECT_TRUE(theApp->bInternalUpdate);
    EXPECT_TRUE(theApp->bQueryReplied);

    EXPECT_EQ(availableNames(), std::vector<std::string>{"OCR"});
    EXPECT_EQ(available("OCR")->url, "/pkg/OCR Pack.vzip");
    EXPECT_TRUE(run.GetQueryResultInfo().bSuccess);
    EXPECT_TRUE(QFile::exists(UpdaterApp::GetAppDateRootPath() + "updater/update_tmpfile.xml"));
    EXPECT_EQ(run.GetPackageDownloadURL(available("OCR")), server.url("/pkg/OCR Pack.vzip"));
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
        theApp->bInternalUpdate = c.internalUrl != nullptr;
        MODULEINFO record;
        record.url = c.stored;
        EXPECT_EQ(engine().GetPackageDownloadURL(&record).toString(QUrl::FullyEncoded), c.download) << c.stored;
    }
}

} // namespace
