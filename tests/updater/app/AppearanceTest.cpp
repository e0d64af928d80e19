#include "IsolatedEnvironment.h"
#include "app/CAppearanceObserver.h"
#include "app/MacServices.h"
#include "platform/CurrentUser.h"
#include "platform/HardwareIdentity.h"
#include "platform/PlistCodec.h"
#include "WaitBound.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QVariantMap>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace {

class Appearance : public IsolatedTest
{
protected:
    static QByteArray defaultsWithStyle(const QString& styleElement)
    {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
               "<key>AppleLocale</key><string>en_US</string>" +
               styleElement.toUtf8() + "</dict></plist>\n";
    }
};

TEST_F(Appearance, ReadsTheStyleFromTheGlobalDefaultsList)
{
    struct Case {
        const char* label;
        std::optional<QByteArray> contents;
        bool dark;
    } const cases[] = {
        {"Dark", defaultsWithStyle("<key>AppleInterfaceStyle</key><string>Dark</string>"), true},
        {"DARK", defaultsWithStyle("<key>AppleInterfaceStyle</key><string>DARK</string>"), true},
        {"Light", defaultsWithStyle("<key>AppleInterfaceStyle</key><string>Light</string>"), false},
        {"Dark with a blank", defaultsWithStyle("<key>AppleInterfaceStyle</key><string>Dark </string>"), false},
        {"no key", defaultsWithStyle(""), false},
        {"an integer", defaultsWithStyle("<key>AppleInterfaceStyle</key><integer>1</integer>"), false},
        {"no file", std::nullopt, false},
        {"a corrupt file", QByteArray("<?xml version=\"1.0\"?><plist><dict><key>AppleInterfaceStyle"), false},
        {"not a dictionary", QByteArray("<plist version=\"1.0\"><string>Dark</string></plist>"), false},
    };
    for (const Case& c : cases) {
        QFile::remove(globalPreferencesPath());
        if (c.contents)
            IsolatedEnvironment::writeFile(globalPreferencesPath(), *c.contents);
        CAppearanceObserver observer(nullptr);
        EXPECT_EQ(observer.isDarkMode(), c.dark) << c.label;
    }
}

TEST_F(Appearance, EveryUpdateTellsTheObserverTheCurrentStyleChangedOrNot)
{
    IsolatedEnvironment::writeFile(globalPreferencesPath(),
                                   defaultsWithStyle("<key>AppleInterfaceStyle</key><string>Dark</string>"));
    CAppearanceObserver observer(nullptr);
    CAppearanceMonitor monitor;
    monitor.setObserver(&observer);
    QSignalSpy changes(&observer, &CAppearanceObserver::signal_appearanceChanged);

    monitor.updateDarkMode();
    IsolatedEnvironment::writeFile(globalPreferencesPath(), defaultsWithStyle(""));
    monitor.updateDarkMode();
    monitor.updateDarkMode();

    ASSERT_EQ(changes.size(), 3);
    EXPECT_TRUE(changes[0][0].toBool());
    EXPECT_FALSE(changes[1][0].toBool());
    EXPECT_FALSE(changes[2][0].toBool());
}

TEST_F(Appearance, AnAtomicRewriteOfTheListIsNoticedEachTime)
{
    IsolatedEnvironment::writeFile(globalPreferencesPath(), defaultsWithStyle(""));
    CAppearanceObserver observer(nullptr);
    QSignalSpy changes(&observer, &CAppearanceObserver::signal_appearanceChanged);

    ASSERT_TRUE(Plist::writeFile(globalPreferencesPath(), QVariantMap{{"AppleInterfaceStyle", "Dark"}}));
    ASSERT_TRUE(changes.wait(kWaitBoundMs));
    EXPECT_TRUE(changes.last()[0].toBool());

    // The first replace took the old file off the watch; the second must still be seen.
    changes.clear();
    ASSERT_TRUE(Plist::writeFile(globalPreferencesPath(), QVariantMap{{"AppleInterfaceStyle", "Light"}}));
    ASSERT_TRUE(changes.wait(kWaitBoundMs));
    EXPECT_FALSE(changes.last()[0].toBool());
}

TEST_F(Appearance, AListThatAppearsLaterIsWatchedFromThenOn)
{
    CAppearanceObserver observer(nullptr);
    QSignalSpy changes(&observer, &CAppearanceObserver::signal_appearanceChanged);
    ASSERT_TRUE(Plist::writeFile(globalPreferencesPath(), QVariantMap{{"AppleInterfaceStyle", "dark"}}));
    ASSERT_TRUE(changes.wait(kWaitBoundMs));
    EXPECT_TRUE(changes.last()[0].toBool());
}

TEST_F(Appearance, NothingIsSignalledOnceTheObserverIsGone)
{
    IsolatedEnvironment::writeFile(globalPreferencesPath(), defaultsWithStyle(""));
    auto observer = std::make_unique<CAppearanceObserver>(nullptr);
    QSignalSpy changes(observer.get(), &CAppearanceObserver::signal_appearanceChanged);
    observer.reset();
    ASSERT_TRUE(Plist::writeFile(globalPreferencesPath(), QVariantMap{{"AppleInterfaceStyle", "Dark"}}));
    QTest::qWait(200);
    EXPECT_EQ(changes.size(), 0);
}

TEST(MacServices, TheHardwareIdentifierIsThePlatformOne)
{
    EXPECT_EQ(GetHardwareUUID(), hardwareUuid());
}

TEST_F(Appearance, OpeningAFileWithAnApplicationStartsItWithTheFile)
{
    const QString proof = env.root() + "/opened";
    const QString script = env.root() + "/opener.sh";
    IsolatedEnvironment::writeFile(script, "#!/bin/sh\necho \"$1\" > \"" + proof.toUtf8() + "\"\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    ASSERT_TRUE(processMacAppOpenfile(script, env.root() + "/a document.pdf"));
    for (int i = 0; i < 100 && IsolatedEnvironment::readFile(proof).isEmpty(); ++i)
        QTest::qWait(20);
    EXPECT_EQ(IsolatedEnvironment::readFile(proof).trimmed(), (env.root() + "/a document.pdf").toUtf8());
    EXPECT_FALSE(processMacAppOpenfile(env.root() + "/no such application", env.root() + "/a document.pdf"));
}

} // namespace
