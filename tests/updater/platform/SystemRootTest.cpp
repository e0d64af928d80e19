#include "IsolatedEnvironment.h"
#include "platform/SystemRoot.h"

#include <gtest/gtest.h>

TEST(SystemRoot, PrefixesTheRootWhenSetAndLeavesPathsAloneOtherwise)
{
    const QByteArray saved = qgetenv("KELVRIN_SYSTEM_ROOT");
    qunsetenv("KELVRIN_SYSTEM_ROOT");
    EXPECT_EQ(systemPath("/Library/Receipts/InstallHistory.plist"), "/Library/Receipts/InstallHistory.plist");
    qputenv("KELVRIN_SYSTEM_ROOT", "/tmp/root/");
    EXPECT_EQ(systemPath("/Library/Receipts/InstallHistory.plist"), "/tmp/root/Library/Receipts/InstallHistory.plist");
    if (saved.isNull())
        qunsetenv("KELVRIN_SYSTEM_ROOT");
    else
        qputenv("KELVRIN_SYSTEM_ROOT", saved);
}

TEST_F(IsolatedTest, SystemPathsLandInTheTestsOwnRoot)
{
    EXPECT_EQ(systemPath("/usr/local/share/kelvrin"), env.systemFile("/usr/local/share/kelvrin"));
}
