#include "IsolatedEnvironment.h"
#include "PlistFileView.h"
#include "engine/CRegister.h"
#include "platform/PlistCodec.h"

#include <gtest/gtest.h>

namespace {

const QString kUpdaterKey = "Software\\Kelvrin Software\\Kelvrin PDF Reader\\plugins\\Updater";
const QString kUserUpdaterKey = "HKEY_CURRENT_USER\\" + kUpdaterKey;
const QString kLastDayFileKey = "HKEY_CURRENT_USER.Software.Kelvrin Software.Kelvrin PDF Reader.plugins.Updater.LastDay";
const QString kLastDaySettingsKey = "HKEY_CURRENT_USER/Software/Kelvrin Software/Kelvrin PDF Reader/plugins/Updater/LastDay";

class SettingsStore : public IsolatedTest
{
protected:
    QString readerSettings() const
    {
        return env.home() + "/Library/Preferences/com.kelvrin-software.Kelvrin.PDF.Reader.plist";
    }

    void setMachineLayout(const QVariant& bContinue) const
    {
        const QString machineList =
            env.systemFile("/usr/local/share/kelvrin/Kelvrin PDF Reader/LocalMachine/LocalMachine.plist");
        IsolatedEnvironment::writeFile(machineList, {});
        ASSERT_TRUE(Plist::writeFile(
            machineList,
            QVariantMap{{"HKEY_LOCAL_MACHINE.SOFTWARE.Kelvrin Software.Kelvrin PDF Reader.bContinue", bContinue}}));
    }
};

TEST_F(SettingsStore, LayoutSwitchIsReadAsText)
{
    EXPECT_TRUE(CheckIsContinue()) << "no machine list";
    const struct {
        QVariant value;
        bool continuous;
    } cases[] = {{"1", true}, {1, true}, {"0", false}, {0, false}, {"yes", false}, {"", false}, {true, false}};
    for (const auto& c : cases) {
        setMachineLayout(c.value);
        EXPECT_EQ(CheckIsContinue(), c.continuous) << c.value.toString().toStdString();
    }
}

TEST_F(SettingsStore, ContinuousLayoutWritesTopLevelKeys)
{
    ASSERT_TRUE(CRegister::regSetString(kUserUpdaterKey, "LastDay", "2026-12-11"));
    EXPECT_EQ(PlistFileView::topLevelKeys(readerSettings()), QStringList{kLastDayFileKey});
    EXPECT_EQ(PlistFileView::stringAt(readerSettings(), {kLastDayFileKey}), "2026-12-11");
    EXPECT_EQ(CRegister::regGetString(kUserUpdaterKey, "LastDay"), "2026-12-11");
}

TEST_F(SettingsStore, ClassicLayoutKeepsEveryOtherEntryOfTheMap)
{
    setMachineLayout("0");
    ASSERT_TRUE(CRegister::regSetString(kUpdaterKey, "UpdateRejectVersion", "12.1"));
    ASSERT_TRUE(CRegister::regSetString(kUserUpdaterKey, "LastDay", "first"));
    ASSERT_TRUE(CRegister::regSetString(kUserUpdaterKey, "LastDay", "second"));

    EXPECT_EQ(PlistFileView::topLevelKeys(readerSettings()), QStringList{"Classic"});
    EXPECT_EQ(PlistFileView::stringAt(readerSettings(), {"Classic", kLastDaySettingsKey}), "second");
    EXPECT_EQ(PlistFileView::stringAt(
                  readerSettings(), {"Classic", "Software/Kelvrin Software/Kelvrin PDF Reader/plugins/Updater/UpdateRejectVersion"}),
              "12.1");
    EXPECT_EQ(CRegister::regGetString(kUserUpdaterKey, "LastDay"), "second");
}

TEST_F(SettingsStore, ClassicLayoutWithoutTheMapGivesDefaults)
{
    setMachineLayout("0");
    ASSERT_TRUE(Plist::writeFile(readerSettings(), QVariantMap{{kLastDayFileKey, "flat value"}}));
    EXPECT_EQ(CRegister::regGetString(kUserUpdaterKey, "LastDay"), "");
    EXPECT_EQ(CRegister::regGetDword(kUpdaterKey, "MajorUpdateChecked"), 0u);
    EXPECT_EQ(CRegister::regGetVariant(kLastDaySettingsKey, "fallback", {}, {}, {}).toString(), "fallback");
}

TEST_F(SettingsStore, NumbersReadFromNumbersOrNumericText)
{
    ASSERT_TRUE(CRegister::regSetDword(kUpdaterKey, "MajorUpdateChecked", 3));
    EXPECT_EQ(CRegister::regGetDword(kUpdaterKey, "MajorUpdateChecked"), 3u);
    ASSERT_TRUE(CRegister::regSetDword(kUpdaterKey, "Max", 4294967295u));
    EXPECT_EQ(CRegister::regGetDword(kUpdaterKey, "Max"), 4294967295u);
    ASSERT_TRUE(CRegister::regSetString(kUpdaterKey, "Text", "7"));
    EXPECT_EQ(CRegister::regGetDword(kUpdaterKey, "Text"), 7u);
    ASSERT_TRUE(CRegister::regSetString(kUpdaterKey, "Word", "x"));
    EXPECT_EQ(CRegister::regGetDword(kUpdaterKey, "Word"), 0u);
    EXPECT_EQ(CRegister::regGetDword(kUpdaterKey, "Missing"), 0u);
}

TEST_F(SettingsStore, AnEmptyValueNameUsesTheKeyPathAlone)
{
    ASSERT_TRUE(CRegister::regSetString("Pagewisp_UpdateOldPath", "", "/opt/reader"));
    EXPECT_EQ(PlistFileView::topLevelKeys(readerSettings()), QStringList{"Pagewisp_UpdateOldPath"});
    EXPECT_EQ(CRegister::regGetString("Pagewisp_UpdateOldPath", ""), "/opt/reader");
}

TEST_F(SettingsStore, VariantReadsANamedFileOrFallsBackToTheReadersSettings)
{
    const QString preferences = env.root() + "/user.plist";
    ASSERT_TRUE(Plist::writeFile(preferences, QVariantMap{{"Preferences.Languages.nChooseLan", 42}}));
    ASSERT_TRUE(Plist::writeFile(readerSettings(), QVariantMap{{"Preferences.Languages.nChooseLan", 59}}));

    EXPECT_EQ(CRegister::regGetVariant("Preferences/Languages/nChooseLan", 31, preferences, {}, {}).toInt(), 42);
    EXPECT_EQ(CRegister::regGetVariant("Preferences/Languages/nChooseLan", 31, env.root() + "/missing.plist", {}, {})
                  .toInt(),
              59);
    EXPECT_EQ(CRegister::regGetVariant("Preferences/Languages/nChooseCountry", 225, preferences, {}, {}).toInt(), 225);
    // The key is taken as given: backslashes are not turned into separators here.
    EXPECT_EQ(CRegister::regGetVariant("Preferences\\Languages\\nChooseLan", 31, preferences, {}, {}).toInt(), 31);
}

TEST_F(SettingsStore, OtherOrganisationsHaveTheirOwnFile)
{
    QString organisation = "Other Maker";
    QString application = "Tool";
    ASSERT_TRUE(WriteSingleKeysPlist("a\\b", 5, organisation, application));
    QVariant result;
    ASSERT_TRUE(CheckSingleKeysPlist("a\\b", result, 0, organisation, application));
    EXPECT_EQ(result.toInt(), 5);
    EXPECT_EQ(PlistFileView::topLevelKeys(env.home() + "/Library/Preferences/com.other-maker.Tool.plist"),
              QStringList{"a.b"});

    QString emptyOrganisation;
    QString emptyApplication;
    CheckSingleKeysPlist("a\\b", result, 0, emptyOrganisation, emptyApplication);
    EXPECT_EQ(emptyOrganisation, "Kelvrin Software");
    EXPECT_EQ(emptyApplication, "Kelvrin.PDF.Reader");
}

TEST_F(SettingsStore, AnUnreadableSettingsFileGivesDefaultsAndFailsTheRead)
{
    IsolatedEnvironment::writeFile(readerSettings(), "garbage");
    QVariant result;
    QString organisation;
    QString application;
    EXPECT_FALSE(CheckSingleKeysPlist("k", result, "default", organisation, application));
    EXPECT_EQ(result.toString(), "default");
    EXPECT_EQ(CRegister::regGetString("k", ""), "");
}

} // namespace
