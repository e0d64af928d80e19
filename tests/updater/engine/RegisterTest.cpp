#include "IsolatedEnvironment.h"
#include "PlistFileView.h"
#include "engine/CRegister.h"
#include "platform/PlistCodec.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

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

    QString machineList() const
    {
        return env.systemFile("/usr/local/share/kelvrin/Kelvrin PDF Reader/LocalMachine/LocalMachine.plist");
    }

    static QVariantMap machineLayout(const QVariant& bContinue)
    {
        return {{"HKEY_LOCAL_MACHINE.SOFTWARE.Kelvrin Software.Kelvrin PDF Reader.bContinue", bContinue}};
    }

    void setMachineLayout(const QVariant& bContinue) const
    {
        IsolatedEnvironment::writeFile(machineList(), {});
        ASSERT_TRUE(Plist::writeFile(machineList(), machineLayout(bContinue)));
    }
};

// Rewrites `path` in place with as many bytes as it had and puts its time stamps back, as two
// writes within one tick of the file system's clock leave it.
void rewriteUnnoticeably(const QString& path, const QVariantMap& entries)
{
    const QByteArray bytes = *Plist::toXml(entries);
    struct stat before {};
    ASSERT_EQ(stat(QFile::encodeName(path).constData(), &before), 0);
    ASSERT_EQ(qint64(before.st_size), bytes.size());
    IsolatedEnvironment::writeFile(path, bytes);
    const timespec times[] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

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

TEST_F(SettingsStore, AChangeTheReaderMakesBetweenTwoOperationsIsSeenAndKept)
{
    const QString otherFileKey = "HKEY_CURRENT_USER.Software.Kelvrin Software.Kelvrin PDF Reader.plugins.Updater.Other";
    ASSERT_TRUE(Plist::writeFile(readerSettings(), QVariantMap{{kLastDayFileKey, "aaaa"}}));
    EXPECT_EQ(CRegister::regGetString(kUserUpdaterKey, "LastDay"), "aaaa");

    rewriteUnnoticeably(readerSettings(), {{kLastDayFileKey, "bbbb"}});
    EXPECT_EQ(CRegister::regGetString(kUserUpdaterKey, "LastDay"), "bbbb");

    rewriteUnnoticeably(readerSettings(), {{kLastDayFileKey, "cccc"}});
    ASSERT_TRUE(CRegister::regSetString(kUserUpdaterKey, "Other", "x"));
    EXPECT_EQ(PlistFileView::stringAt(readerSettings(), {kLastDayFileKey}), "cccc");
    EXPECT_EQ(PlistFileView::stringAt(readerSettings(), {otherFileKey}), "x");
}

TEST_F(SettingsStore, AChangedLayoutSwitchIsSeenByTheNextOperation)
{
    setMachineLayout("1");
    EXPECT_TRUE(CheckIsContinue());
    rewriteUnnoticeably(machineList(), machineLayout("0"));
    EXPECT_FALSE(CheckIsContinue());
    ASSERT_TRUE(CRegister::regSetString(kUserUpdaterKey, "LastDay", "classic"));
    EXPECT_EQ(PlistFileView::stringAt(readerSettings(), {"Classic", kLastDaySettingsKey}), "classic");
}

// A file that is no property list reads as empty and is replaced; one refused only for its size or
// shape is never written over.
TEST_F(SettingsStore, AWriteOverAnUnreadableFileReportsWhatItDid)
{
    const QByteArray good = *Plist::toXml(QVariantMap{{kLastDayFileKey, "kept"}});
    const struct {
        const char* name;
        QByteArray bytes;
        bool replaced;
    } cases[] = {
        {"garbage", "\x01\x02 not a list", true},
        {"truncated", good.left(good.size() - 20), true},
        {"wrong magic", "bplist99" + good, true},
        {"too deep", "<plist><dict><key>k</key>" + QByteArray("<array>").repeated(500) + "</dict></plist>", false},
    };
    for (const auto& c : cases) {
        IsolatedEnvironment::writeFile(readerSettings(), c.bytes);
        EXPECT_EQ(CRegister::regGetString(kUserUpdaterKey, "LastDay"), "") << c.name;
        EXPECT_EQ(CRegister::regSetString(kUserUpdaterKey, "Other", "x"), c.replaced) << c.name;
        if (c.replaced) {
            EXPECT_EQ(PlistFileView::topLevelKeys(readerSettings()).size(), 1) << c.name;
        } else {
            EXPECT_EQ(IsolatedEnvironment::readFile(readerSettings()), c.bytes) << c.name;
        }
    }

    QFile huge(readerSettings());
    ASSERT_TRUE(huge.resize(Plist::kMaxBytes + 1));
    const QDateTime stamp = QFileInfo(huge).lastModified();
    EXPECT_FALSE(CRegister::regSetString(kUserUpdaterKey, "Other", "x")) << "too large";
    EXPECT_EQ(QFileInfo(huge).size(), Plist::kMaxBytes + 1);
    EXPECT_EQ(QFileInfo(huge).lastModified(), stamp);
}

} // namespace
