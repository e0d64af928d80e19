#include "IsolatedEnvironment.h"
#include "app/StartupPaths.h"

#include <gtest/gtest.h>

namespace {

const QString kReaderList = QStringLiteral("/Library/Preferences/com.kelvrin-software.Kelvrin.PDF.Reader.plist");

TEST(ReaderPreferences, ListOfTheUsersHomeAndNeverOneAtTheRoot)
{
    IsolatedEnvironment env;
    EXPECT_EQ(GetUserPlitPath(), env.home() + kReaderList);
    EXPECT_EQ(readerPreferencesUnder("/Users/someone"), "/Users/someone" + kReaderList);
    EXPECT_EQ(readerPreferencesUnder(QString()), QString());

    qputenv("HOME", "");
    EXPECT_NE(GetUserPlitPath(), kReaderList);
}

} // namespace
