#include "EngineRun.h"
#include "engine/CRegister.h"

#include <QFile>

namespace {

const QString kUpdaterKey = "Software\\Kelvrin Software\\Kelvrin PDF Reader\\plugins\\Updater";

MODULEINFO module(const char* name, const char* version, const char* type = "service")
{
    MODULEINFO record;
    record.name = name;
    record.version = version;
    record.module_type = type;
    return record;
}

_UpdaterInfo component(const char* name, const char* version, QList<QString> paths = {})
{
    return _UpdaterInfo{name, version, paths};
}

class VersionRules : public EngineRun {};

TEST_F(VersionRules, CompareVersionReadsFourNumbersRepeatingTheLast)
{
    const struct {
        const char* a;
        const char* b;
        int result;
    } cases[] = {
        {"12.0.1.1234", "12.0.1.1234", 0}, {"12.1", "12.1.0.0", 1},     {"12.1", "12.1.1.1", 0},
        {"11.9.9.9", "12.0.0.0", -1},      {"7", "7.7.7.7", 0},          {"1.2.3.4.5", "1.2.3.0", 0},
        {"1.2.3.10", "1.2.3.9", 1},        {"x.1", "0.1", 0},            {"", "0.0.0.0", 0},
        {"-1", "0", -1},                   {"12.0.1.100", "12.0.1.99", 1}, {"2.0", "2.0.0.1", -1},
    };
    CReaderModuleManager& rules = engine();
    for (const auto& c : cases)
        EXPECT_EQ(rules.CompareVersion(c.a, c.b), c.result) << c.a << " vs " << c.b;
}

TEST_F(VersionRules, MajorVersionUpgradeComparesTheFirstNumberWithTheReaders)
{
    const struct {
        const char* reader;
        const char* offered;
        bool major;
    } cases[] = {{"12.0.1.1", "13.0.0.1", true}, {"12.0.1.1", "12.9", false}, {"12.0.1.1", "11", false},
                 {"12", "13", true},              {"", "1.0", true},          {"12.0", "x.1", false}};
    for (const auto& c : cases) {
        startRun(QString("-version ") + (*c.reader ? c.reader : "\"\""));
        EXPECT_EQ(engine().CheckMajorVersionUpgrade(c.offered), c.major) << c.reader << " -> " << c.offered;
    }
}

TEST_F(VersionRules, ReaderUpdateIsPresentUnlessNewerOrPushed)
{
    startRun("-version 12.0.1.100");
    CReaderModuleManager& rules = engine();
    const struct {
        MODULEINFO record;
        bool pushed;
        bool present;
    } cases[] = {{module("Reader", "12.0.1.100", "updater"), false, true},
                 {module("Reader", "12.0.1.101", "updater"), false, false},
                 {module("Reader", "12.0.1.100", "updater"), true, false},
                 {module("Reader", "11.0", "updater"), true, false},
                 {module("Reader", "99", "service"), true, true}};
    for (auto c : cases) {
        c.record.is_push = c.pushed;
        EXPECT_EQ(rules.CheckUpdaterAvailable(&c.record), c.present) << c.record.version << " pushed " << c.pushed;
    }
}

struct AvailabilityCase {
    const char* name;
    const char* engineType;
    MODULEINFO record;
    bool common;
    bool presentForList;
    bool presentForAutomatic;
};

TEST_F(VersionRules, ModuleIsPresentWhenInstalledAtThisVersionOrNewer)
{
    startRun("-version 12.0.1.100");
    QVector<_UpdaterInfo*> installed{new _UpdaterInfo(component("OCR", "2.0.1.5")),
                                     new _UpdaterInfo(component("Stamp", "1. 2.0.0"))};
    const AvailabilityCase cases[] = {
        {"same version", "Update List", module("OCR", "2.0.1.5"), false, true, true},
        {"older offered", "Update List", module("OCR", "2.0.1.4"), false, true, true},
        {"newer offered", "Update List", module("OCR", "2.0.1.6"), false, false, false},
        {"blanks are ignored", "Update List", module("Stamp", "1.2.0 .0"), false, true, true},
        {"not installed", "Update List", module("Forms", "1.0"), false, false, true},
        {"name matches exactly", "Update List", module("ocr", "1.0"), false, false, true},
        {"common add-on", "Update List", module("Forms", "1.0"), true, true, true},
        {"common reader update, newer", "Update List", module("R", "12.0.1.101", "updater"), true, false, true},
        {"reader update, same", "Update List", module("R", "12.0.1.100", "updater"), false, true, true},
        {"reader update, newer", "Update List", module("R", "12.0.1.101", "updater"), false, false, true},
        {"automatic, reader update newer", "Auto Updater", module("R", "12.0.1.101", "updater"), true, false, true},
    };
    for (AvailabilityCase c : cases) {
        SCOPED_TRACE(c.name);
        c.record.iscommon = c.common;
        CReaderModuleManager& rules = engine(c.engineType);
        EXPECT_EQ(rules.CheckModuleAvailable(&c.record, installed), c.presentForList);
        EXPECT_EQ(rules.CheckAutoupdateModuleAvailable(&c.record, installed), c.presentForAutomatic);
    }
    QVector<_UpdaterInfo*> none;
    MODULEINFO ocr = module("OCR", "1.0");
    EXPECT_FALSE(engine().CheckModuleAvailable(&ocr, none));
    EXPECT_TRUE(engine().CheckAutoupdateModuleAvailable(&ocr, none));
    engine().ReleaseUpdaterInfoList(installed);
    EXPECT_TRUE(installed.isEmpty());
}

TEST_F(VersionRules, ForcedUpgradeAppliesWhenMissingDamagedOrOlder)
{
    const QString first = env.root() + "/ocr/engine.bin";
    const QString second = env.root() + "/ocr/data.bin";
    IsolatedEnvironment::writeFile(first, "1");
    IsolatedEnvironment::writeFile(second, "2");
    QVector<_UpdaterInfo*> installed{new _UpdaterInfo(component("OCR", "2.0 .1", {first, second}))};
    CReaderModuleManager& rules = engine();

    const struct {
        const char* name;
        MODULEINFO record;
        bool forced;
        bool applies;
    } cases[] = {{"same version, files intact", module("OCR", "2.0.1"), true, false},
                 {"newer version", module("OCR", "2.0.2"), true, true},
                 {"older version", module("OCR", "1.9"), true, false},
                 {"not installed", module("Forms", "1.0"), true, true},
                 {"reader update flagged forced", module("R", "1.0", "updater"), true, true},
                 {"reader update not flagged", module("OCR", "1.0", "updater"), false, false}};
    for (auto c : cases) {
        c.record.forcedUpgrade = c.forced;
        EXPECT_EQ(rules.CheckForcedUpgradeVersion(&c.record, installed), c.applies) << c.name;
    }

    ASSERT_TRUE(QFile::remove(second));
    MODULEINFO same = module("OCR", "2.0.1");
    EXPECT_TRUE(rules.CheckForcedUpgradeVersion(&same, installed)) << "second file deleted";

    QVector<_UpdaterInfo*> none;
    EXPECT_TRUE(rules.CheckForcedUpgradeVersion(&same, none));
    rules.ReleaseUpdaterInfoList(installed);
}

TEST_F(VersionRules, DeclinedForcedUpgradeCoversThatVersionAndOlder)
{
    CReaderModuleManager& rules = engine();
    QVector<_HasRejectForceUpdaterInfo*> declined{new _HasRejectForceUpdaterInfo{"OCR", "2.0", ""}};
    MODULEINFO same = module("OCR", "2.0");
    MODULEINFO newer = module("OCR", "2.1");
    MODULEINFO older = module("OCR", "1.9");
    MODULEINFO other = module("Forms", "2.0");
    EXPECT_TRUE(rules.CheckHasRejectForcedUpgrade(&same, declined));
    EXPECT_TRUE(rules.CheckHasRejectForcedUpgrade(&newer, declined));
    EXPECT_FALSE(rules.CheckHasRejectForcedUpgrade(&older, declined));
    EXPECT_FALSE(rules.CheckHasRejectForcedUpgrade(&other, declined));

    rules.ParseHasRejectForceUpdaterInfo(declined);
    EXPECT_TRUE(declined.isEmpty());
    EXPECT_FALSE(rules.CheckHasRejectForcedUpgrade(&same, declined));
}

TEST_F(VersionRules, MajorUpgradeStopsAfterThreeDeclinesOfThatVersion)
{
    const struct {
        const char* rejected; // null: nothing stored
        unsigned int count;
        const char* offered;
        bool mayOffer;
    } cases[] = {{nullptr, 0, "13.0", true},   {"13.0", 3, "13.0", false}, {"13.0", 2, "13.0", true},
                 {"13.0", 3, "12.9", false},  {"13.0", 3, "13.0.0.1", true}, {"13.0", 7, "13.0", false}, {"13.0", 3, "13", true}};
    CReaderModuleManager& rules = engine();
    for (const auto& c : cases) {
        CRegister::regSetString(kUpdaterKey, "UpdateRejectVersion", c.rejected ? c.rejected : "");
        CRegister::regSetDword(kUpdaterKey, "MajorUpdateChecked", c.count);
        MODULEINFO record = module("Reader", c.offered, "updater");
        EXPECT_EQ(rules.MajorUpdateChecked(&record), c.mayOffer) << c.offered << " count " << c.count;
    }
}

class RejectStore : public EngineRun
{
protected:
    QString readerSettings() const
    {
        return env.home() + "/Library/Preferences/com.kelvrin-software.Kelvrin.PDF.Reader.plist";
    }
};

TEST_F(RejectStore, DeclinedVersionHoldsUntilTheReaderChanges)
{
    startRun("-version 12.0");
    QVector<MODULEINFO*> declined{new MODULEINFO(module("OCR", "2.0")), new MODULEINFO(module("Stamp", "1.5"))};
    engine().WriteRejectAutoUpdateInfo(declined);
    qDeleteAll(declined);
    ASSERT_TRUE(QFile::exists(readerSettings()));
    EXPECT_EQ(CRegister::regGetString("AutoUpdate_OCR", ""), "2.0");
    EXPECT_EQ(CRegister::regGetString("currentVersion", ""), "12.0");

    const struct {
        const char* reader;
        const char* name;
        const char* version;
        bool rejected;
    } cases[] = {{"12.0", "OCR", "2.0", true},   {"12.0", "OCR", "2.1", false}, {"12.0", "Stamp", "1.5", true},
                 {"12.0", "Forms", "", false},   {"12.1", "OCR", "2.0", false}, {"12.0.0", "OCR", "2.0", false}};
    for (const auto& c : cases) {
        startRun(QString("-version ") + c.reader);
        EXPECT_EQ(engine().ParseRejectAutoUpdateInfo(c.name, c.version), c.rejected)
            << c.reader << " " << c.name << " " << c.version;
    }
}

// The declines of automatic offers live in the reject store; the list of the automatic
// counterparts is never read from, or cleared in, anything.
TEST_F(RejectStore, TheAutomaticDeclineListNeitherReadsNorClearsTheStore)
{
    startRun("-version 12.0");
    QVector<MODULEINFO*> declined{new MODULEINFO(module("OCR", "2.0"))};
    engine().WriteRejectAutoUpdateInfo(declined);
    qDeleteAll(declined);
    const QByteArray stored = IsolatedEnvironment::readFile(readerSettings());

    _HasRejectAutoUpdaterInfo given{"Stamp", "1.0", "", ""};
    QVector<_HasRejectAutoUpdaterInfo*> list{&given};
    m_engine->ParseHasRejectAutoUpdaterInfo(list);
    EXPECT_EQ(list, QVector<_HasRejectAutoUpdaterInfo*>{&given});
    m_engine->DeleteHasRejectAutoUpdaterInfo(list);
    EXPECT_EQ(list, QVector<_HasRejectAutoUpdaterInfo*>{&given});
    EXPECT_EQ(given.name, "Stamp");

    EXPECT_EQ(IsolatedEnvironment::readFile(readerSettings()), stored);
    EXPECT_TRUE(m_engine->ParseRejectAutoUpdateInfo("OCR", "2.0"));
}

TEST_F(RejectStore, NothingIsDeclinedWithoutARecordedReaderVersion)
{
    CRegister::regSetString("AutoUpdate_OCR", "", "");
    startRun("");
    EXPECT_FALSE(engine().ParseRejectAutoUpdateInfo("OCR", ""));
    engine().WriteRejectAutoUpdateInfo({});
    EXPECT_FALSE(engine().ParseRejectAutoUpdateInfo("OCR", "")) << "empty recorded and empty offered versions";
}

TEST_F(RejectStore, ClassicLayoutKeepsTheDeclinesInItsMap)
{
    const QString machineList =
        env.systemFile("/usr/local/share/kelvrin/Kelvrin PDF Reader/LocalMachine/LocalMachine.plist");
    IsolatedEnvironment::writeFile(machineList,
                                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict>"
                                   "<key>HKEY_LOCAL_MACHINE.SOFTWARE.Kelvrin Software.Kelvrin PDF Reader.bContinue</key>"
                                   "<string>0</string></dict></plist>");
    startRun("-version 12.0");
    QVector<MODULEINFO*> declined{new MODULEINFO(module("OCR", "2.0"))};
    engine().WriteRejectAutoUpdateInfo(declined);
    qDeleteAll(declined);
    EXPECT_TRUE(IsolatedEnvironment::readFile(readerSettings()).contains("<key>Classic</key>"));
    EXPECT_TRUE(engine().ParseRejectAutoUpdateInfo("OCR", "2.0"));
}

} // namespace
