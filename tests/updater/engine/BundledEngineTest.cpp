#include "ChildHttpServer.h"
#include "IsolatedEnvironment.h"
#include "ReaderBundle.h"
#include "engine/UpdateServiceEndpoints.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

// The engine run as an updater copied into a reader bundle in the test's folder.
class BundledEngine : public IsolatedTest
{
protected:
    void SetUp() override { ASSERT_TRUE(bundle.install(UPDATER_ENGINE_PROBE)); }

    QString packageTypeFile() const { return bundle.resources() + "/packagetype.xml"; }
    QString scheduleFile() const { return bundle.scheduleTimeFile(); }

    const ReaderBundle bundle{env.root() + "/Applications"};
};

TEST_F(BundledEngine, PackageTypeChoosesThePublicEndpoint)
{
    const QString publicQuery = "?addon=Update%20List&product=Pagewisp4Mac&version=12.0&build=1.100&platform=x64"
                                "&PackageType=";
    const struct {
        const char* packageType; // null: the bundle has no package type file
        const char* internalUrl; // null: none on the command line
        QString requestStart;
    } cases[] = {
        {nullptr, nullptr, UpdateServiceEndpoints::kAddonList + publicQuery},
        {"zh-CN", nullptr, UpdateServiceEndpoints::kUpdateCheck + publicQuery},
        {"zh-cn", nullptr, UpdateServiceEndpoints::kAddonList + publicQuery},
        {"ja-JP", nullptr, UpdateServiceEndpoints::kAddonList + publicQuery},
        {"zh-CN", "http://127.0.0.1:9/svc", "http://127.0.0.1:9/svc" + publicQuery + "&domain_area="},
    };
    for (const auto& c : cases) {
        QFile::remove(packageTypeFile());
        if (c.packageType)
            IsolatedEnvironment::writeFile(packageTypeFile(),
                                           QString("<packagetype name=\"%1\"/>").arg(c.packageType).toUtf8());
        QString commandLine = "-version 12.0.1.100";
        if (c.internalUrl)
            commandLine += QString(" -InternalUpdateURL %1").arg(c.internalUrl);

        const QStringList output = bundle.run({"request-url", commandLine});
        ASSERT_EQ(output.size(), 2) << output.join('\n').toStdString();
        EXPECT_TRUE(output.first().startsWith(c.requestStart))
            << output.first().toStdString() << " for " << (c.packageType ? c.packageType : "no package type");
        if (!c.internalUrl) {
            EXPECT_EQ(output.first(), c.requestStart);
        }
    }
}

TEST_F(BundledEngine, ScheduleTimeInTheBundleHoldsBackTheFirstRunOfEachValue)
{
    ChildHttpServer service(env.root() + "/service");
    ASSERT_TRUE(service.start());
    const QString commandLine = "-InternalUpdateURL " + service.url("/check.xml").toString();
    const QStringList everyModule{"Reader", "OCR", ""};
    const QStringList noModule{""};
    const struct {
        const char* scheduleTime; // null: the reply has no such attribute
        const char* recorded;     // null: no schedule file afterwards
        QStringList offered;
    } runs[] = {
        {"Tue 10:00", "Tue 10:00", noModule},
        {"TUE 10:00", "Tue 10:00", everyModule},
        {"Wed 09:30", "Wed 09:30", noModule},
        {nullptr, nullptr, everyModule},
    };
    for (const auto& run : runs) {
        const QString schedule = run.scheduleTime ? QString(" scheduleTime=\"%1\"").arg(run.scheduleTime) : QString();
        IsolatedEnvironment::writeFile(env.root() + "/service/check.xml",
                                       QString("<modules%1><module name=\"Reader\" version=\"13.0\" result=\"true\"/>"
                                               "<module name=\"OCR\" version=\"2\" result=\"TRUE\"/></modules>")
                                           .arg(schedule)
                                           .toUtf8());

        const char* label = run.scheduleTime ? run.scheduleTime : "no schedule time";
        EXPECT_EQ(bundle.run({"query", commandLine}), run.offered) << label;
        if (run.recorded) {
            EXPECT_EQ(IsolatedEnvironment::readFile(scheduleFile()), QByteArray(run.recorded)) << label;
        } else {
            EXPECT_FALSE(QFile::exists(scheduleFile())) << label;
        }
    }
    EXPECT_EQ(service.requestLines().size(), 4);
}

} // namespace
