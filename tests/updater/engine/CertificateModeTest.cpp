#include "engine/CUpdateCertFile.h"

#include "DebugLog.h"
#include "FileSizeLimit.h"
#include "IsolatedEnvironment.h"
#include "LocalHttpServer.h"
#include "TestCertificates.h"
#include "TestUpdateRun.h"
#include "engine/CSetup_CommandLine.h"

#include <QFile>
#include <QLockFile>
#include <QStringList>

#include <gtest/gtest.h>

#include <string>

namespace {

const QByteArray kKatlList = "<katl>new list of the KATL</katl>";
const QByteArray kEutlList = "<eutl>new list of the EUTL</eutl>";

class CertificateMode : public IsolatedTest
{
protected:
    void SetUp() override
    {
        TestCertificates::trustTestAuthority();
        ASSERT_TRUE(server.start());
        server.setFile("/katl.xml", kKatlList);
        server.setFile("/eutl.xml", kEutlList);
    }

    QString katlFile() const { return env.dataHome() + "/katl.xml"; }
    QString eutlFile() const { return env.dataHome() + "/eutl.xml"; }

    // Runs the mode with the given switches and returns what it printed.
    std::string run(const QStringList& switches, int watchdogIntervalMs = -1)
    {
        CSetup_CommandLine commandLine;
        EXPECT_TRUE(commandLine.ProcessCmdLine(switches.join(' ')));
        const TestUpdateRun updateRun(&commandLine);
        CUpdateCertFile mode;
        if (watchdogIntervalMs >= 0)
            mode.setTimerIntervals(watchdogIntervalMs * 4, watchdogIntervalMs);
        testing::internal::CaptureStdout();
        mode.UpdateFile();
        return testing::internal::GetCapturedStdout();
    }

    QStringList katl(const QString& path = "/katl.xml") const
    {
        return {"-certkatlurl", server.url(path).toString(), "-katlfile", katlFile()};
    }
    QStringList eutl(const QString& path = "/eutl.xml") const
    {
        return {"-certeutlurl", server.url(path).toString(), "-eutlfile", eutlFile()};
    }

    static void expectNoLeftovers(const QString& list)
    {
        EXPECT_FALSE(QFile::exists(list + ".download"));
        EXPECT_FALSE(QFile::exists(list + ".tmp"));
    }

    LocalHttpServer server{LocalHttpServer::Security::Tls};
};

TEST_F(CertificateMode, BothListsFetched)
{
    IsolatedEnvironment::writeFile(katlFile(), "old");

    EXPECT_EQ(run(katl() + eutl()), "16842752\n");

    EXPECT_EQ(IsolatedEnvironment::readFile(katlFile()), kKatlList);
    EXPECT_EQ(IsolatedEnvironment::readFile(eutlFile()), kEutlList);
    expectNoLeftovers(katlFile());
    expectNoLeftovers(eutlFile());
    // The EUTL list is fetched first, each after a probe.
    EXPECT_EQ(server.requestsFor("/eutl.xml").size(), 2);
    EXPECT_EQ(server.requestsFor("/katl.xml").size(), 2);
    ASSERT_EQ(server.requests().size(), 4);
    EXPECT_EQ(server.requests().at(0).path, "/eutl.xml");
    EXPECT_EQ(server.requests().at(3).path, "/katl.xml");
}

TEST_F(CertificateMode, AutomaticRunAddsItsBit)
{
    EXPECT_EQ(run(katl() + eutl() + QStringList{"-downtype", "auto"}), "285278208\n");
    EXPECT_EQ(run(eutl() + QStringList{"-downtype", "Auto"}), "65536\n");
}

TEST_F(CertificateMode, OneListOnly)
{
    EXPECT_EQ(run(katl()), "16777216\n");
    EXPECT_EQ(IsolatedEnvironment::readFile(katlFile()), kKatlList);
    EXPECT_FALSE(QFile::exists(eutlFile()));
}

TEST_F(CertificateMode, ListLockedElsewhereIsNotDone)
{
    IsolatedEnvironment::writeFile(katlFile(), "old");
    QLockFile other(katlFile() + ".tmp");
    ASSERT_TRUE(other.tryLock(0));

    EXPECT_EQ(run(katl()), "16777728\n");

    EXPECT_EQ(IsolatedEnvironment::readFile(katlFile()), "old");
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(CertificateMode, FailedTransferKeepsTheOldList)
{
    IsolatedEnvironment::writeFile(katlFile(), "old");
    IsolatedEnvironment::writeFile(eutlFile(), "old");
    HttpRoute cut;
    cut.body = kKatlList;
    cut.truncateAfter = 5;
    server.setRoute("/cut.xml", cut);
    HttpRoute failing;
    failing.status = 500;
    failing.body = "<html>down for maintenance</html>";
    server.setRoute("/down.xml", failing);

    // EUTL: a server error page; KATL: a body cut short.
    EXPECT_EQ(run(katl("/cut.xml") + eutl("/down.xml")), QString::number(0x1010202).toStdString() + "\n");

    EXPECT_EQ(IsolatedEnvironment::readFile(katlFile()), "old");
    EXPECT_EQ(IsolatedEnvironment::readFile(eutlFile()), "old");
    expectNoLeftovers(katlFile());
    expectNoLeftovers(eutlFile());
}

TEST_F(CertificateMode, ListThatCannotBeWrittenWholeKeepsTheOldList)
{
    IsolatedEnvironment::writeFile(katlFile(), "old");
    server.setFile("/big.xml", QByteArray(3000, 'k'));
    std::string printed;
    {
        FileSizeLimit limit(1000);
        ASSERT_TRUE(limit.isActive());
        printed = run(katl("/big.xml"));
    }

    EXPECT_EQ(printed, "16777728\n");
    EXPECT_EQ(IsolatedEnvironment::readFile(katlFile()), "old");
    expectNoLeftovers(katlFile());
}

TEST_F(CertificateMode, StalledListEndsAtTheInjectedBounds)
{
    IsolatedEnvironment::writeFile(eutlFile(), "old");
    HttpRoute stalled;
    stalled.body = QByteArray(300 * 1000, 'e');
    stalled.stallAfter = 1000;
    server.setRoute("/stalled.xml", stalled);

    EXPECT_EQ(run(eutl("/stalled.xml"), 100), "65538\n");

    EXPECT_EQ(IsolatedEnvironment::readFile(eutlFile()), "old");
    expectNoLeftovers(eutlFile());
}

TEST_F(CertificateMode, ListPastSixtyFourMebibytesIsRefused)
{
    LocalHttpServer plain;
    ASSERT_TRUE(plain.start());
    HttpRoute endless;
    endless.body = QByteArray(64 * 1024 * 1024 + 1, 'k');
    endless.withoutLength = true;
    plain.setRoute("/katl.xml", endless);
    IsolatedEnvironment::writeFile(katlFile(), "old");

    EXPECT_EQ(run({"-certkatlurl", plain.url("/katl.xml").toString(), "-katlfile", katlFile()}), "16777728\n");

    EXPECT_EQ(IsolatedEnvironment::readFile(katlFile()), "old");
    expectNoLeftovers(katlFile());
}

TEST_F(CertificateMode, BothAddressesGoToTheLog)
{
    DebugLog log(env);
    run(katl() + eutl());

    const QString text = log.text();
    EXPECT_TRUE(text.contains("]eutlurl: " + server.url("/eutl.xml").toString() + "\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("]url: " + server.url("/katl.xml").toString() + "\n")) << text.toStdString();
}

TEST_F(CertificateMode, ListTheServiceDoesNotHaveIsDoneAndUntouched)
{
    IsolatedEnvironment::writeFile(eutlFile(), "old");
    server.setRoute("/eutl.xml", HttpRoute::notAvailable());

    EXPECT_EQ(run(eutl()), "65536\n");

    EXPECT_EQ(IsolatedEnvironment::readFile(eutlFile()), "old");
    EXPECT_EQ(server.requests().size(), 1) << "only the probe";
}

TEST_F(CertificateMode, NothingPrintedWithoutUrls)
{
    EXPECT_EQ(run({"-katlfile", katlFile(), "-downtype", "auto"}), "");
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(CertificateMode, UrlWithoutFileIsNotDone)
{
    EXPECT_EQ(run({"-certeutlurl", server.url("/eutl.xml").toString()}), "65538\n");
    EXPECT_TRUE(server.requests().isEmpty());
}

} // namespace
