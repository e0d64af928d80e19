#include "EngineRun.h"
#include "engine/CRegister.h"
#include "engine/UpdateServiceEndpoints.h"

#include <QDir>

#include <cstdlib>
#include <ctime>

namespace {

const QString kMachineKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Kelvrin Software\\Kelvrin PDF Reader";

// Runs the test in another local time zone and puts the test main's back afterwards.
class LocalTimeZone
{
public:
    explicit LocalTimeZone(const char* posixZone)
    {
        setenv("TZ", posixZone, 1);
        tzset();
    }
    ~LocalTimeZone()
    {
        setenv("TZ", "UTC", 1);
        tzset();
    }
};

class ServiceRequest : public EngineRun
{
protected:
    QString mac() const { return QString::fromStdString(UpdateRun::GetMacAddress()); }
};

struct QueryCase {
    const char* name;
    const char* commandLine;
    const char* edition; // settings value "Edition", null when absent
    const char* agentId;
    const char* type;
    const char* query;
};

TEST_F(ServiceRequest, QueryPartsFollowTheCommandLineAndSettings)
{
    const QueryCase cases[] = {
        {"plain", "-version 12.0.1.1234", nullptr, nullptr, "Update List",
         "addon=Update%20List&product=Pagewisp4Mac&version=12.0&build=1.1234&platform=x64&PackageType="},
        {"one dot", "-version 12.0", nullptr, nullptr, "Auto Updater",
         "addon=Auto%20Updater&product=Pagewisp4Mac&version=12.0&build=12.0&platform=x64&PackageType="},
        {"no dot", "-version 12", nullptr, nullptr, "x",
         "addon=x&product=Pagewisp4Mac&version=12&build=12&platform=x64&PackageType="},
        {"no version", "", nullptr, nullptr, "x", "addon=x&product=Pagewisp4Mac&platform=x64&PackageType="},
        {"enterprise in lower case", "", "enterprise", nullptr, "x",
         "addon=x&product=Enterprise Pagewisp4Mac&platform=x64&PackageType="},
        {"other edition", "", "Enterprise2", nullptr, "x", "addon=x&product=Pagewisp4Mac&platform=x64&PackageType="},
        {"everything", "-version 12.0.1 -readerlang de-DE -Edition Business -PackageType full", nullptr, "A-17", "x",
         "addon=x&product=Pagewisp4Mac&version=12.0&build=1&platform=x64&EmbededLanguage=de-DE&edition=Business"
         "&AgentID=A-17&PackageType=full"},
        {"query characters", "-readerlang a&b=c -Edition #1+2", nullptr, "id&x=1", "x",
         "addon=x&product=Pagewisp4Mac&platform=x64&EmbededLanguage=a%26b%3Dc&edition=%231%2B2&AgentID=id%26x%3D1"
         "&PackageType="},
        {"other characters as they are", "-readerlang \"z/h?%20\"", nullptr, nullptr, "x",
         "addon=x&product=Pagewisp4Mac&platform=x64&EmbededLanguage=z/h?%20&PackageType="},
    };
    for (const QueryCase& c : cases) {
        SCOPED_TRACE(c.name);
        startRun(c.commandLine);
        CRegister::regSetString(kMachineKey, "Edition", c.edition ? c.edition : "");
        CRegister::regSetString(kMachineKey + "\\Kelvrin Information", "AgentID", c.agentId ? c.agentId : "");
        EXPECT_EQ(engine(c.type).GetHttpURL(c.type), c.query);
    }
}

TEST_F(ServiceRequest, PublicEndpointFollowsTheBundlePackageType)
{
    startRun("-version 12.0.1.1");
    EXPECT_EQ(engine().GetRequestURL(), QString(UpdateServiceEndpoints::kAddonList) + "?" + engine().GetHttpURL("Update List"));
    EXPECT_FALSE(m_run->bInternalUpdate);
    EXPECT_TRUE(QString(UpdateServiceEndpoints::kAddonList).endsWith("/addons/list.php"));
    EXPECT_TRUE(QString(UpdateServiceEndpoints::kUpdateCheck).endsWith("/check"));
}

struct InternalCase {
    const char* name;
    const char* zone;
    const char* updaterType;
    const char* email;
    const char* tail; // after "&Mac=<address>"
    const char* domain;
};

TEST_F(ServiceRequest, InternalServiceAddsAreaMachineMailAndUpdateType)
{
    const InternalCase cases[] = {
        {"+8:00", "UTC-8", "Auto Updater", "me@example.org", "&email=me@example.org&updateType=0", "cn"},
        {"+8:30 truncates to 8", "UTC-8:30", "Update List", "", "&email=&updateType=1", "cn"},
        {"+9:00", "UTC-9", "auto updater", "", "&email=&updateType=1", "us"},
        {"-8:00", "UTC+8", "Auto Updater", "a+b=c&d#e", "&email=a%2Bb%3Dc%26d%23e&updateType=0", "us"},
        {"+7:59", "UTC-7:59", "Auto Updater", "", "&email=&updateType=0", "us"},
    };
    for (const InternalCase& c : cases) {
        SCOPED_TRACE(c.name);
        const LocalTimeZone zone(c.zone);
        startRun(QString("-updater -type \"%1\" -InternalUpdateURL http://10.0.0.7:8080/svc/check -UserEmail \"%2\"")
                     .arg(c.updaterType, c.email));
        CReaderModuleManager& run = engine("Update List");
        EXPECT_EQ(run.GetRequestURL(), "http://10.0.0.7:8080/svc/check?" + run.GetHttpURL("Update List") +
                                           "&domain_area=" + c.domain + "&Mac=" + mac() + c.tail);
        EXPECT_TRUE(m_run->bInternalUpdate);
    }
}

} // namespace
