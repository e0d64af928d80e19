#include "engine/CSetup_CommandLine.h"

#include <QRect>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Parsed {
    bool result;
    CSetup_CommandLine line;
};

Parsed parse(const char* command)
{
    Parsed parsed{false, {}};
    parsed.result = parsed.line.ProcessCmdLine(QString::fromUtf8(command));
    return parsed;
}

using Paths = std::vector<std::string>;

struct Case {
    const char* command;
    bool result;
    std::string readerPath;
    std::string version;
    std::string updaterType;
    bool updater;
    bool install;
};

class CommandLineCases : public testing::TestWithParam<Case> {};

TEST_P(CommandLineCases, ParsesWordsAndValues)
{
    const Case& c = GetParam();
    const Parsed parsed = parse(c.command);
    EXPECT_EQ(parsed.result, c.result);
    EXPECT_EQ(parsed.line.GetReaderPath(), c.readerPath);
    EXPECT_EQ(parsed.line.GetReaderVersion(), c.version);
    EXPECT_EQ(parsed.line.GetUpdaterType(), c.updaterType);
    EXPECT_EQ(parsed.line.IsUpdater(), c.updater);
    EXPECT_EQ(parsed.line.IsInsatll(), c.install);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandLineCases,
    testing::Values(
        Case{"", true, "", "", "", false, false},
        Case{"\"\"", true, "", "", "", false, false},
        Case{"-readerpath /Applications/Reader.app", true, "/Applications/Reader.app", "", "", false, false},
        // A value that names a switch is read as that switch, and the reader path stays pending.
        Case{"-readerpath /run /tmp/x", true, "/tmp/x", "", "", false, false},
        // Both marks pending: the earlier one in the value order wins, the other waits.
        Case{"-version -readerpath A B", true, "A", "B", "", false, false},
        Case{"-version -readerpath A", true, "A", "", "", false, false},
        Case{"-type Update", false, "", "", "", false, false},
        Case{"-updater -type \"Update List\"", true, "", "", "Update List", true, false},
        Case{"-updater -install", true, "", "", "", true, false},
        Case{"-install -updater", true, "", "", "", true, false},
        Case{"-install", true, "", "", "", false, true},
        // Characters written directly before an opening quote are dropped.
        Case{"-readerpath abc\"My Reader\" -version 1.0", true, "My Reader", "1.0", "", false, false},
        Case{"-readerpath \"a b\tc\"", true, "a b\tc", "", "", false, false},
        Case{"-readerpath a b", false, "a", "", "", false, false},
        Case{"- -readerpath a", false, "", "", "", false, false},
        Case{"/ x", false, "", "", "", false, false},
        Case{"-readerpath a -Run", false, "a", "", "", false, false},
        Case{"-readerpath -Run", true, "-Run", "", "", false, false},
        // Unclosed quotes: the last word is handed over as it stands.
        Case{"-readerpath \"a b", true, "a b", "", "", false, false},
        Case{"  -readerpath \t x  ", true, "x", "", "", false, false}));

TEST(CommandLine, FlagsAndValueSwitches)
{
    const Parsed parsed = parse(
        "-updater -run -insForceUpdate -bInternalService -hwnd 123 -type Auto -readerpath R -regpath G -version V "
        "-readerlang L -specialName S -InternalUpdateURL https://i -RollBackURL https://r -UserEmail e@x "
        "-SessionID sid -userhanderdata 9 -certeutlurl eu -katlfile kf -eutlfile ef -certkatlurl ku -downtype dt "
        "-PackageType zh-CN -UpdateMode 2 -Edition Pro");
    ASSERT_TRUE(parsed.result);
    const CSetup_CommandLine& line = parsed.line;
    EXPECT_TRUE(line.IsUpdater());
    EXPECT_TRUE(line.IsRun());
    EXPECT_TRUE(line.IsInsForceUpdate());
    EXPECT_TRUE(line.IsInternalService());
    EXPECT_FALSE(line.IsEmpty());
    EXPECT_EQ(line.GetUpdaterType(), "Auto");
    EXPECT_EQ(line.GetReaderPath(), "R");
    EXPECT_EQ(line.GetReaderPathFromcmd(), "R");
    EXPECT_EQ(line.GetRegPath(), "G");
    EXPECT_EQ(line.GetReaderVersion(), "V");
    EXPECT_EQ(line.GetReaderLang(), "L");
    EXPECT_EQ(line.GetSpecialName(), "S");
    EXPECT_EQ(line.GetInternalUpdateURL(), "https://i");
    EXPECT_EQ(line.GetRollBackURL(), "https://r");
    EXPECT_EQ(line.GetUserEmail(), "e@x");
    EXPECT_EQ(line.GetSessionID(), "sid");
    EXPECT_EQ(line.geteutlcerturl(), "eu");
    EXPECT_EQ(line.getkatlfile(), "kf");
    EXPECT_EQ(line.geteutlfile(), "ef");
    EXPECT_EQ(line.getkatlcerturl(), "ku");
    EXPECT_EQ(line.getdowntype(), "dt");
    EXPECT_EQ(line.GetPackageType(), "zh-CN");
    EXPECT_EQ(line.GetAutoUpdateMode(), "2");
    EXPECT_EQ(line.GetEdition(), "Pro");
}

TEST(CommandLine, WindowHandleAndUserDataAreReadButNeverKept)
{
    const Parsed parsed = parse("-hwnd 123 -userhanderdata 9 -readerpath R");
    ASSERT_TRUE(parsed.result);
    EXPECT_EQ(parsed.line.GetReaderFrameWnd(), 0u);
    EXPECT_EQ(parsed.line.GetUserData(), 0u);
    EXPECT_EQ(parsed.line.GetReaderPath(), "R");
    const QRect frame = parsed.line.GetMainFrameRect();
    EXPECT_TRUE(frame.isNull());
    EXPECT_EQ(frame, QRect(QPoint(0, 0), QPoint(-1, -1)));
}

TEST(CommandLine, ValueOrderIsFixedNotTheOrderGiven)
{
    // Every mark is pending before the first value: the values go out in the fixed priority order.
    const Parsed parsed = parse("-Edition -UpdateMode -PackageType -SessionID -readerpath a b c d e");
    EXPECT_TRUE(parsed.result);
    EXPECT_EQ(parsed.line.GetReaderPath(), "a");
    EXPECT_EQ(parsed.line.GetSessionID(), "b");
    EXPECT_EQ(parsed.line.GetPackageType(), "c");
    EXPECT_EQ(parsed.line.GetAutoUpdateMode(), "1");
    EXPECT_EQ(parsed.line.GetEdition(), "e");
}

TEST(CommandLine, UpdateModeKeepsOnlyKnownValues)
{
    for (const char* value : {"0", "1", "2"})
        EXPECT_EQ(parse((std::string("-UpdateMode ") + value).c_str()).line.GetAutoUpdateMode(), value);
    const Parsed three = parse("-UpdateMode 3 -Edition E");
    EXPECT_TRUE(three.result);
    EXPECT_EQ(three.line.GetAutoUpdateMode(), "1");
    EXPECT_EQ(three.line.GetEdition(), "E");
}

TEST(CommandLine, WordsAfterARefusedOneAreNotRead)
{
    const Parsed parsed = parse("-version 1 stray -readerpath R");
    EXPECT_FALSE(parsed.result);
    EXPECT_EQ(parsed.line.GetReaderVersion(), "1");
    EXPECT_EQ(parsed.line.GetReaderPath(), "");
}

TEST(CommandLine, ValuesAreUtf8)
{
    const Parsed parsed = parse("-readerpath \"/Users/zoë/読者\"");
    EXPECT_EQ(parsed.line.GetReaderPath(), "/Users/zo\xC3\xAB/\xE8\xAA\xAD\xE8\x80\x85");
}

struct SplitCase {
    const char* value;
    Paths paths;
    bool rollback;
    std::string rollBackUrl;
    std::string email;
};

class PackagePaths : public testing::TestWithParam<SplitCase> {};

TEST_P(PackagePaths, SplitsPiecesAndRollbackParts)
{
    const SplitCase& c = GetParam();
    CSetup_CommandLine line;
    line.Split(QString::fromUtf8(c.value), "|");
    EXPECT_EQ(line.GetVecVzipPath(), c.paths);
    EXPECT_EQ(line.IsRollback(), c.rollback);
    EXPECT_EQ(line.GetRollBackURL(), c.rollBackUrl);
    EXPECT_EQ(line.GetUserEmail(), c.email);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PackagePaths,
    testing::Values(SplitCase{"a.pkg", {"a.pkg"}, false, "", ""},
                    SplitCase{"a.pkg|b.pkg||c.pkg;R;E;T", {"a.pkg", "b.pkg", "c.pkg"}, true, "R", "E"},
                    SplitCase{"a.pkg;R", {"a.pkg"}, true, "", ""},
                    SplitCase{"a.pkg;R;E", {"a.pkg"}, true, "R", ""},
                    SplitCase{"a.pkg;", {"a.pkg"}, false, "", ""},
                    SplitCase{"|a.pkg|", {"a.pkg"}, false, "", ""},
                    SplitCase{"", {}, false, "", ""}));

TEST(CommandLine, EachPackageValueReplacesTheListBefore)
{
    const Parsed parsed = parse("-VzipPath a|b -VzipPath \"c d.pkg;R\"");
    EXPECT_TRUE(parsed.result);
    EXPECT_EQ(parsed.line.GetVecVzipPath(), (Paths{"c d.pkg"}));
    EXPECT_TRUE(parsed.line.IsRollback());
}

} // namespace
