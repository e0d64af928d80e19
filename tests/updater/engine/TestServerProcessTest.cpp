#include "engine/QHttpDownLoadS.h"

#include "ChildHttpServer.h"
#include "IsolatedEnvironment.h"
#include "TestCertificates.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

class TestServerProcess : public IsolatedTest {};

// The server as a child process serves its folder, bends answers by query and logs each request.
TEST_F(TestServerProcess, ServesItsFolderOverHttps)
{
    TestCertificates::trustTestAuthority();
    const QByteArray package(200 * 1000, 'p');
    IsolatedEnvironment::writeFile(env.root() + "/served/package.vzip", package);
    ChildHttpServer server(env.root() + "/served", {"--https", "--lifetime", "60"});
    ASSERT_TRUE(server.start());

    const QString target = env.tempDir() + "/package.vzip";
    qint64 offset = 0;
    QHttpDownLoadS whole(nullptr, nullptr, nullptr, &offset);
    ASSERT_TRUE(whole.setUrlAndFilePath(server.url("/package.vzip"), target));
    QSignalSpy complete(&whole, SIGNAL(oneDownLoadFinish(QString)));
    ASSERT_TRUE(whole.startDownLoads(true));
    EXPECT_EQ(complete.count(), 1);
    EXPECT_EQ(IsolatedEnvironment::readFile(target), package);

    QHttpDownLoadS failing(nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(failing.setUrlAndFilePath(QUrl(server.url("/package.vzip").toString() + "?status=500"), target));
    QSignalSpy failed(&failing, SIGNAL(errorfinish(QString)));
    ASSERT_TRUE(failing.startDownLoads(true));
    EXPECT_EQ(failed.count(), 1);

    const QStringList lines = server.requestLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines.at(0), "request GET /package.vzip bytes=0-");
    EXPECT_EQ(lines.at(1), "request GET /package.vzip?status=500");
}

} // namespace
