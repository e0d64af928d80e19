#include "app/RedirectAddresses.h"

#include <gtest/gtest.h>

namespace {

struct AddressCase {
    const char* packageType;
    const char* language;
    const char* version;
    const char* addons;
    const char* majorUpgrade;
};

const AddressCase kCases[] = {
    {"", "en-US", "12.1.3",
     "https://redirect.kelvrin.com/redirect.php?do=redirect&title=reader4mac_addons&product=Kelvrin Reader for Mac"
     "&language=en-US&version=12.1.3&edition=Business&utm_source=client-app&utm_medium=button"
     "&utm_campaign=durnismac12.1",
     "https://redirect.kelvrin.com/redirect.php?do=redirect&title=durnis4mac-upgrade&product=Kelvrin DurnisPDF for mac"
     "&language=en-US&version=12.1&edition=Business"},
    {"zh-CN", "zh-CN", "12.1.3.4567",
     "https://redirect.kelvrin.cn/redirect.php?do=redirect&title=reader4mac_addons&product=Kelvrin Reader for Mac"
     "&language=zh-CN&version=12.1.3.4567&edition=Business&utm_source=client-app&utm_medium=button"
     "&utm_campaign=durnismac12.1.3",
     "https://redirect.kelvrin.cn/redirect.php?do=redirect&title=durnis4mac-upgrade&product=Kelvrin DurnisPDF for mac"
     "&language=zh-CN&version=12.1.3&edition=Business"},
    // The package type is compared exactly.
    {"zh-cn", "de-DE", "12.1.3",
     "https://redirect.kelvrin.com/redirect.php?do=redirect&title=reader4mac_addons&product=Kelvrin Reader for Mac"
     "&language=de-DE&version=12.1.3&edition=Business&utm_source=client-app&utm_medium=button"
     "&utm_campaign=durnismac12.1",
     "https://redirect.kelvrin.com/redirect.php?do=redirect&title=durnis4mac-upgrade&product=Kelvrin DurnisPDF for mac"
     "&language=de-DE&version=12.1&edition=Business"},
    // A Japanese reader's add-ons link goes to the Japanese site, over the package rule and in any case;
    // the upgrade notice knows no Japanese address.
    {"zh-CN", "ja-JP", "12.1.3",
     "https://jp.kelvrin.com/redirect.php/redirect.php?do=redirect&title=reader4mac_addons"
     "&product=Kelvrin Reader for Mac&language=ja-JP&version=12.1.3&edition=Business&utm_source=client-app"
     "&utm_medium=button&utm_campaign=durnismac12.1",
     "https://redirect.kelvrin.cn/redirect.php?do=redirect&title=durnis4mac-upgrade&product=Kelvrin DurnisPDF for mac"
     "&language=ja-JP&version=12.1&edition=Business"},
    {"", "JA-jp", "12.1.3",
     "https://jp.kelvrin.com/redirect.php/redirect.php?do=redirect&title=reader4mac_addons"
     "&product=Kelvrin Reader for Mac&language=JA-jp&version=12.1.3&edition=Business&utm_source=client-app"
     "&utm_medium=button&utm_campaign=durnismac12.1",
     "https://redirect.kelvrin.com/redirect.php?do=redirect&title=durnis4mac-upgrade&product=Kelvrin DurnisPDF for mac"
     "&language=JA-jp&version=12.1&edition=Business"},
    // Without a point the whole version is used.
    {"", "en-US", "12",
     "https://redirect.kelvrin.com/redirect.php?do=redirect&title=reader4mac_addons&product=Kelvrin Reader for Mac"
     "&language=en-US&version=12&edition=Business&utm_source=client-app&utm_medium=button&utm_campaign=durnismac12",
     "https://redirect.kelvrin.com/redirect.php?do=redirect&title=durnis4mac-upgrade&product=Kelvrin DurnisPDF for mac"
     "&language=en-US&version=12&edition=Business"},
    // A version from a hostile command line stays inside its query values.
    {"", "en-US", "1'\"<b>&x=%.2",
     "https://redirect.kelvrin.com/redirect.php?do=redirect&title=reader4mac_addons&product=Kelvrin Reader for Mac"
     "&language=en-US&version=1%27%22%3Cb%3E%26x%3D%25.2&edition=Business&utm_source=client-app&utm_medium=button"
     "&utm_campaign=durnismac1%27%22%3Cb%3E%26x%3D%25",
     "https://redirect.kelvrin.com/redirect.php?do=redirect&title=durnis4mac-upgrade&product=Kelvrin DurnisPDF for mac"
     "&language=en-US&version=1%27%22%3Cb%3E%26x%3D%25&edition=Business"},
};

TEST(RedirectAddresses, FollowPackageTypeLanguageAndVersion)
{
    for (const AddressCase& c : kCases) {
        SCOPED_TRACE(std::string(c.packageType) + " " + c.language + " " + c.version);
        EXPECT_EQ(componentAddonsAddress(c.packageType, c.language, c.version, "Business").toStdString(),
                  c.addons);
        EXPECT_EQ(majorUpgradeInfoAddress(c.packageType, c.language, c.version, "Business").toStdString(),
                  c.majorUpgrade);
    }
}

TEST(RedirectAddresses, VersionIsCutBeforeItsLastPoint)
{
    EXPECT_EQ(versionBeforeLastPoint("12.1.3").toStdString(), "12.1");
    EXPECT_EQ(versionBeforeLastPoint("12").toStdString(), "12");
    EXPECT_EQ(versionBeforeLastPoint("12.").toStdString(), "12");
    EXPECT_EQ(versionBeforeLastPoint("").toStdString(), "");
}

} // namespace
