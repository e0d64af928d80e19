#include "IsolatedEnvironment.h"
#include "app/UpdaterApp.h"
#include "engine/CSetup_CommandLine.h"
#include "platform/PlistSettings.h"

#include <QDir>
#include <QGuiApplication>
#include <QHostInfo>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

const QString kLocalMachinePlist =
    QStringLiteral("/usr/local/share/kelvrin/Kelvrin PDF Reader/LocalMachine/LocalMachine.plist");
const QString kContinueKey = QStringLiteral("HKEY_LOCAL_MACHINE/SOFTWARE/Kelvrin Software/Kelvrin PDF Reader/bContinue");

struct TrackCase {
    const char* name;
    QVariant bContinue; // invalid: no LocalMachine.plist at all
    const char* track;
};

class DataFolders : public IsolatedTest, public testing::WithParamInterface<TrackCase> {};

TEST_P(DataFolders, FollowTheMachineTrackWord)
{
    if (GetParam().bContinue.isValid())
        openPlistSettings(env.systemFile(kLocalMachinePlist))->setValue(kContinueKey, GetParam().bContinue);

    const QString root = env.dataHome() + "/Kelvrin Software/" + GetParam().track + "/";
    EXPECT_EQ(UpdaterApp::GetAppDateRootPath(), root);
    EXPECT_EQ(UpdaterApp::GetAppDatePath(), root + "Kelvrin PDF Reader/");
}

INSTANTIATE_TEST_SUITE_P(Tracks, DataFolders,
                         testing::Values(TrackCase{"NoMachineList", QVariant(), "Continuous"},
                                         TrackCase{"TextOne", QVariant("1"), "Continuous"},
                                         TrackCase{"NumberOne", QVariant(1), "Continuous"},
                                         TrackCase{"Zero", QVariant("0"), "Classic"},
                                         TrackCase{"Other", QVariant("yes"), "Classic"}),
                         [](const testing::TestParamInfo<TrackCase>& info) { return info.param.name; });

TEST(MacAddress, SkipsEmptyAndExcludedAddressesAndEndsWithTheHostName)
{
    EXPECT_EQ(joinMacAddresses({"00:00:00:00:00:00", "00:50:56:C0:00:01", "00-50-56-C0-00-08", ""}, "host"), "host");
    EXPECT_EQ(joinMacAddresses({"A4:83:E7:01:02:03", "00:50:56:C0:00:01", "00:50:56:c0:00:08"}, "mac-mini"),
              "A4-83-E7-01-02-03|00-50-56-c0-00-08|mac-mini");
    EXPECT_EQ(joinMacAddresses({}, ""), "");
}

TEST(MacAddress, MachineIdentityEndsWithTheLocalHostName)
{
    const QString identity = QString::fromStdString(UpdaterApp::GetMacAddress());
    EXPECT_TRUE(identity.endsWith(QHostInfo::localHostName())) << identity.toStdString();
}

struct VersionCase {
    const char* version;
    const char* major;
};

class BigVersion : public testing::TestWithParam<VersionCase> {};

TEST_P(BigVersion, KeepsMajorAndMinorOfThreeOrMoreParts)
{
    CSetup_CommandLine commandLine;
    commandLine.ProcessCmdLine(QString("-version ") + GetParam().version);
    const UpdaterApp app(&commandLine, nullptr);
    EXPECT_EQ(app.GetBigVersioin(), GetParam().major);
}

INSTANTIATE_TEST_SUITE_P(Versions, BigVersion,
                         testing::Values(VersionCase{"12.1", ""}, VersionCase{"12.1.3", "12.1"},
                                         VersionCase{"12.1.3.4567", "12.1"}, VersionCase{"12..3", "12."},
                                         VersionCase{"\"\"", ""}));

TEST(Conductor, BigVersionWithoutCommandLineIsEmpty)
{
    const UpdaterApp app(nullptr, nullptr);
    EXPECT_EQ(app.GetBigVersioin(), "");
}

TEST(Conductor, LanguageCodeFromTheFullTableWithoutPackageType)
{
    UpdaterApp app(nullptr, nullptr);
    for (const auto& [language, code] : {std::pair{42, "de-DE"}, {111, "es-419"}, {31, "en-US"}, {999, "en-US"}}) {
        app.m_nLanguage = language;
        EXPECT_EQ(app.GetLang(), code) << language;
    }
}

class UserPreferences : public IsolatedTest
{
protected:
    QString listUnder(const QString& home) const
    {
        return home + "/Library/Preferences/com.kelvrin-software.Kelvrin.PDF.Reader.plist";
    }
};

TEST_F(UserPreferences, ListOfTheCurrentUsersHome)
{
    EXPECT_EQ(QString::fromStdString(UpdaterApp::GetCurrentUserPlist()), listUnder(env.home()));
    EXPECT_EQ(QString::fromStdString(userPreferencesPlist("/Users/reader\n")), listUnder("/Users/reader"));
}

TEST_F(UserPreferences, EmptyAnswerFallsBackToOwnHomeNotTheRoot)
{
    for (const char* answer : {"", " \n"})
        EXPECT_EQ(QString::fromStdString(userPreferencesPlist(answer)), listUnder(QDir::homePath())) << answer;
}

class MainWindowCentre : public UserPreferences
{
protected:
    void store(const QPoint& position, const QSize& size)
    {
        auto preferences = openPlistSettings(listUnder(env.home()));
        preferences->setValue("Window Position", position);
        preferences->setValue("Window Size", size);
    }

    static QPoint screenCentre() { return QGuiApplication::primaryScreen()->availableGeometry().center(); }
};

TEST_F(MainWindowCentre, CentreOfTheStoredWindow)
{
    store(QPoint(100, 200), QSize(400, 300));
    EXPECT_EQ(UpdaterApp::GetMainAppCenterPos(), QRect(100, 200, 400, 300).center());
}

TEST_F(MainWindowCentre, ScreenCentreWhenNothingUsableIsStored)
{
    EXPECT_EQ(UpdaterApp::GetMainAppCenterPos(), screenCentre());
    store(QPoint(0, 0), QSize(640, 480));
    EXPECT_EQ(UpdaterApp::GetMainAppCenterPos(), screenCentre());
}

TEST(ResetPosition, CentresTheWidgetOnAUsableRectangleOnly)
{
    QWidget widget;
    widget.resize(101, 51);
    widget.move(7, 9);

    UpdaterApp::ResetPostion(QRect(), &widget);
    UpdaterApp::ResetPostion(QRect(10, 10, 0, 40), &widget);
    EXPECT_EQ(widget.pos(), QPoint(7, 9));

    UpdaterApp::ResetPostion(QRect(20, 30, 401, 301), &widget);
    EXPECT_EQ(widget.pos(), QPoint(20 + 200 - 50, 30 + 150 - 25));
}

} // namespace
