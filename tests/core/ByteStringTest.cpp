#include "strings/CZR_BinaryBuf.h"
#include "strings/CZR_ByteString.h"
#include "strings/CZR_WideString.h"

#include "IsolatedEnvironment.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

namespace {

std::string text(const CZR_ByteString& s) { return std::string(s.c_str(), size_t(s.GetLength())); }

// The buffer's sharing state as a test can see it: the address of the characters.
const char* bufferOf(const CZR_ByteString& s) { return s.IsEmpty() ? nullptr : s.c_str(); }

} // namespace

TEST(ByteStringTest, ConstructionKeepsNoEmptyBuffers)
{
    EXPECT_EQ(CZR_ByteString("abc", -1).GetLength(), 3);
    EXPECT_EQ(CZR_ByteString("abcdef", 2), "ab");
    for (const CZR_ByteString& empty :
         {CZR_ByteString(static_cast<const char*>(nullptr), -1), CZR_ByteString("abc", 0), CZR_ByteString(static_cast<const char*>(nullptr), 5),
          CZR_ByteString(static_cast<const unsigned char*>(nullptr), 3), CZR_ByteString(CZR_ByteStringC()),
          CZR_ByteString(CZR_ByteStringC(), CZR_ByteStringC(""))}) {
        EXPECT_TRUE(empty.IsEmpty());
        EXPECT_STREQ(empty.c_str(), "");
    }
    CZR_ByteString zero('\0');
    EXPECT_EQ(zero.GetLength(), 1);
    EXPECT_EQ(CZR_ByteString(CZR_ByteStringC("ab"), CZR_ByteStringC("cd")), "abcd");
}

TEST(ByteStringTest, CopiesShareUntilOneIsWritten)
{
    CZR_ByteString a("shared text");
    CZR_ByteString b = a;
    CZR_ByteString c;
    c = a;
    EXPECT_EQ(bufferOf(a), bufferOf(b));
    EXPECT_EQ(bufferOf(a), bufferOf(c));

    b += "x";
    EXPECT_EQ(a, "shared text");
    EXPECT_EQ(b, "shared textx");
    c.SetAt(0, 'S');
    EXPECT_EQ(a, "shared text");
    EXPECT_EQ(c, "Shared text");

    // Each editing operation detaches a shared copy and leaves the original alone.
    auto edits = {+[](CZR_ByteString& s) { s.Delete(0, 1); }, +[](CZR_ByteString& s) { s.Insert(0, 'z'); },
                  +[](CZR_ByteString& s) { s.Remove('e'); }, +[](CZR_ByteString& s) { s.MakeUpper(); },
                  +[](CZR_ByteString& s) { s.Replace("text", "t"); }, +[](CZR_ByteString& s) { s.TrimLeft('s'); },
                  +[](CZR_ByteString& s) { s.TrimRight('t'); }, +[](CZR_ByteString& s) { s.GetBuffer(0)[0] = '!'; },
                  +[](CZR_ByteString& s) { s.ReleaseBuffer(3); }};
    for (auto edit : edits) {
        CZR_ByteString copy = a;
        edit(copy);
        EXPECT_EQ(a, "shared text");
        EXPECT_NE(copy, a);
    }
}

TEST(ByteStringTest, LockedBuffersAreCopiedInsteadOfShared)
{
    CZR_ByteString a("locked");
    char* p = a.LockBuffer();
    ASSERT_NE(p, nullptr);
    CZR_ByteString b(a);
    EXPECT_NE(bufferOf(a), bufferOf(b));
    p[0] = 'L';
    EXPECT_EQ(b, "locked");
    EXPECT_EQ(a, "Locked");
    EXPECT_NE(bufferOf(a.Mid(0)), bufferOf(a));

    a = CZR_ByteString("new");
    EXPECT_EQ(bufferOf(a), p) << "a locked buffer large enough keeps receiving text";
    EXPECT_EQ(CZR_ByteString().LockBuffer(), nullptr);
}

TEST(ByteStringTest, AppendingGrowsByHalfTheLength)
{
    CZR_ByteString full("0123456789");
    full += 'x';
    full.ReleaseBuffer(10);
    full += "abcd";
    EXPECT_EQ(full, "0123456789abcd");

    CZR_ByteString ten("0123456789");
    ten += 'x';
    const char* chars = ten.c_str();
    EXPECT_EQ(ten.GetBuffer(15), chars) << "capacity 15 after one byte";
    EXPECT_NE(ten.GetBuffer(16), chars);

    CZR_ByteString twenty("0123456789");
    twenty += "01234567890123456789";
    chars = twenty.c_str();
    EXPECT_EQ(twenty.GetBuffer(30), chars) << "capacity 30 after 20 bytes";
    EXPECT_NE(twenty.GetBuffer(31), chars);

    CZR_ByteString self("ab");
    self += self;
    self += CZR_ByteStringC(self);
    EXPECT_EQ(self, "abababab");
    self += static_cast<const char*>(nullptr);
    self += CZR_ByteString();
    EXPECT_EQ(self, "abababab");
}

TEST(ByteStringTest, ComparisonTables)
{
    CZR_ByteString zeroLength("x");
    zeroLength.Delete(0, 1);
    EXPECT_TRUE(zeroLength == CZR_ByteString());
    EXPECT_TRUE(CZR_ByteString() == "");
    EXPECT_TRUE(CZR_ByteString("abc").EqualNoCase("ABC"));
    EXPECT_FALSE(CZR_ByteString("abc").EqualNoCase("abcd"));
    EXPECT_FALSE(CZR_ByteString("\xE9").EqualNoCase("\xC9"));

    struct Case
    {
        const char* a;
        const char* b;
        int order;
    };
    const Case cases[] = {{"", "", 0}, {"", "a", -1}, {"a", "", 1}, {"abc", "abd", -1}, {"abc", "ab", 1},
                          {"\x80", "\x7F", 1}, {"same", "same", 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(CZR_ByteString(c.a).Compare(c.b), c.order) << c.a << " " << c.b;
        EXPECT_EQ(CZR_ByteString(c.a) < CZR_ByteString(c.b), c.order < 0) << c.a << " " << c.b;
    }
}

TEST(ByteStringTest, EditingAtTheBoundaries)
{
    struct DeleteCase
    {
        const char* start;
        int index, count;
        const char* result;
        int length;
    };
    const DeleteCase deletes[] = {{"abcdef", 2, 100, "ab", 2}, {"abcdef", -3, 1, "bcdef", 5}, {"abcdef", 6, 1, "abcdef", 6},
                                  {"abcdef", 0, 0, "abcdef", 6}, {"abcdef", 1, INT_MAX, "a", 1}, {"", 0, 1, "", 0},
                                  {"abcdef", 5, 1, "abcde", 5}, {"abcdef", 0, 6, "", 0}};
    for (const DeleteCase& c : deletes) {
        CZR_ByteString s(c.start);
        EXPECT_EQ(s.Delete(c.index, c.count), c.length) << c.start << " " << c.index << " " << c.count;
        EXPECT_EQ(text(s), c.result);
    }

    struct InsertCase
    {
        const char* start;
        int index;
        const char* result;
    };
    const InsertCase inserts[] = {{"", 5, "X"}, {"ab", -1, "Xab"}, {"ab", 1, "aXb"}, {"ab", 2, "abX"}, {"ab", 9, "abX"}};
    for (const InsertCase& c : inserts) {
        CZR_ByteString s(c.start);
        EXPECT_EQ(s.Insert(c.index, 'X'), int(strlen(c.result)));
        EXPECT_EQ(text(s), c.result);
    }

    CZR_ByteString s("banana");
    EXPECT_EQ(s.Remove('a'), 3);
    EXPECT_EQ(s, "bnn");
    s.SetAt(-1, 'x');
    s.SetAt(3, 'x');
    s.SetAt(2, 'N');
    EXPECT_EQ(s, "bnN");

    CZR_ByteString mixed("Ab\xC9z");
    mixed.MakeUpper();
    EXPECT_EQ(mixed, "AB\xC9Z");
    CZR_ByteString embedded("AB\0CD", 5);
    embedded.MakeLower();
    EXPECT_EQ(text(embedded), std::string("ab\0CD", 5)) << "case mapping stops at an embedded 0";
}

TEST(ByteStringTest, ReplaceTable)
{
    struct Case
    {
        const char* start;
        const char* from;
        const char* to;
        int count;
        const char* result;
    };
    const Case cases[] = {{"aaaa", "aa", "b", 2, "bb"},   {"aaa", "a", "", 3, ""},        {"abc", "", "x", 0, "abc"},
                          {"", "a", "b", 0, ""},          {"abc", "x", "y", 0, "abc"},    {"a.b.c", ".", "::", 2, "a::b::c"},
                          {"abab", "ab", "abab", 2, "abababab"}};
    for (const Case& c : cases) {
        CZR_ByteString s(c.start);
        EXPECT_EQ(s.Replace(c.from, c.to), c.count) << c.start;
        EXPECT_EQ(text(s), c.result);
    }
    CZR_ByteString binary("a\0b\0", 4);
    EXPECT_EQ(binary.Replace(CZR_ByteStringC("\0", 1), "-"), 2);
    EXPECT_EQ(binary, "a-b-");
}

TEST(ByteStringTest, ReplaceRefusesAResultAboveTheAllocationLimit)
{
    CZR_ByteString large;
    char* chars = large.GetBuffer(1 << 20);
    ASSERT_NE(chars, nullptr);
    memset(chars, 'a', 1 << 20);
    large.ReleaseBuffer(1 << 20);
    std::string bigNeedle(4096, 'b');
    EXPECT_EQ(large.Replace("a", bigNeedle.c_str()), 0) << "2^32 bytes would be needed";
    EXPECT_TRUE(large.IsEmpty());
}

TEST(ByteStringTest, ExtractionAndSearch)
{
    CZR_ByteString s("abcdef");
    EXPECT_EQ(s.Mid(-2, 3), "abc");
    EXPECT_EQ(s.Mid(4, 10), "ef");
    EXPECT_EQ(s.Mid(4, INT_MAX), "ef");
    EXPECT_TRUE(s.Mid(7, 1).IsEmpty());
    EXPECT_TRUE(s.Mid(2, 0).IsEmpty());
    EXPECT_EQ(s.Mid(3), "def");
    EXPECT_EQ(bufferOf(s.Mid(0)), bufferOf(s));
    EXPECT_EQ(s.Left(2), "ab");
    EXPECT_EQ(bufferOf(s.Left(99)), bufferOf(s));
    EXPECT_TRUE(s.Left(-1).IsEmpty());
    EXPECT_EQ(s.Right(2), "ef");
    EXPECT_TRUE(s.Right(0).IsEmpty());

    CZR_ByteString abc("abc");
    EXPECT_EQ(abc.Find('c', 5), -1);
    EXPECT_EQ(abc.Find('c', -1), -1);
    EXPECT_EQ(abc.Find('b'), 1);
    EXPECT_EQ(abc.Find(""), -1);
    EXPECT_EQ(abc.Find("bc", 0), 1);
    EXPECT_EQ(abc.Find("bc", 2), -1);
    EXPECT_EQ(abc.Find("bc", -1), -1);
    EXPECT_EQ(abc.Find("abcd"), -1);
    EXPECT_EQ(CZR_ByteString("abca").ReverseFind('a'), 3);
    EXPECT_EQ(CZR_ByteString("a\0b", 3).Find('b'), -1) << "the character search stops at an embedded 0";
    EXPECT_EQ(CZR_ByteString("a\0b", 3).Find("b"), 2);
    const char hay[] = "abcabc";
    EXPECT_EQ(ZR_strstr(hay, 6, "ca", 2), hay + 2);
    EXPECT_EQ(ZR_strstr(hay, 2, "abc", 3), nullptr);
    EXPECT_EQ(ZR_strstr(hay, 6, "", 0), nullptr);

    EXPECT_EQ(CZR_ByteString("abcde").GetID(1), 0x62636465u);
    EXPECT_EQ(CZR_ByteString("abcde").GetID(4), 0x65000000u);
    EXPECT_EQ(CZR_ByteStringC("ab").GetID(), 0x61620000u);
    EXPECT_EQ(CZR_ByteString("ab").GetID(-1), 0u);
}

TEST(ByteStringTest, Trimming)
{
    CZR_ByteString s(" a \t\r\n");
    s.TrimRight();
    EXPECT_EQ(s, " a");
    CZR_ByteString left("\v\fx");
    left.TrimLeft();
    EXPECT_EQ(left, "x");
    CZR_ByteString all("xxx");
    all.TrimLeft('x');
    EXPECT_TRUE(all.IsEmpty());
    CZR_ByteString set("-=a=-");
    set.TrimLeft("=-");
    set.TrimRight("");
    EXPECT_EQ(set, "a=-");
}

TEST(ByteStringTest, BufferAccessClampsLengths)
{
    CZR_ByteString s;
    EXPECT_EQ(s.GetBuffer(0), nullptr);
    CZR_ByteString deleted("ab");
    deleted.Delete(0, 2);
    EXPECT_EQ(deleted.GetBuffer(0), nullptr) << "emptied by an edit, like a string never filled";
    CZR_ByteString trimmedAway("  ");
    trimmedAway.TrimRight();
    EXPECT_EQ(trimmedAway.GetBuffer(0), nullptr);
    char* chars = s.GetBuffer(8);
    ASSERT_NE(chars, nullptr);
    EXPECT_EQ(chars[0], 0);
    memcpy(chars, "12345678", 8);
    s.ReleaseBuffer(100);
    EXPECT_EQ(s, "12345678") << "clamped to the allocated length";
    s.GetBuffer(8)[8 - 1] = '8';
    s.ReleaseBuffer(-1);
    EXPECT_EQ(s.GetLength(), 8) << "measured only within the allocation";
    s.ReleaseBuffer(0);
    EXPECT_TRUE(s.IsEmpty());

    CZR_ByteString big("x");
    EXPECT_EQ(big.GetBuffer(INT_MAX), nullptr);
    EXPECT_TRUE(big.IsEmpty()) << "a request above the limit fails like an allocation";

    CZR_ByteString reserved;
    reserved.Reserve(10);
    EXPECT_TRUE(reserved.IsEmpty());
    CZR_ByteString shared("keep");
    CZR_ByteString other = shared;
    other.Reserve(0);
    EXPECT_EQ(other, "keep");
}

TEST(ByteStringTest, AssignmentForms)
{
    CZR_ByteString s("abc");
    s = "";
    EXPECT_TRUE(s.IsEmpty());
    s = static_cast<const char*>(nullptr);
    s = CZR_ByteStringC("view");
    EXPECT_EQ(s, "view");
    const char* before = s.c_str();
    s = "vie";
    EXPECT_EQ(s.c_str(), before) << "a unique buffer large enough is reused";
    s.AssignCopy(0, "x");
    EXPECT_TRUE(s.IsEmpty());
    s.Load(reinterpret_cast<const unsigned char*>("\1\2"), 2);
    EXPECT_EQ(s.GetLength(), 2);
    CZR_BinaryBuf buffer;
    buffer.AppendBlock("bin", 3);
    s = buffer;
    EXPECT_EQ(s, "bin");
    s = s;
    EXPECT_EQ(s, "bin");
}

TEST(ByteStringTest, LoadAndAssignmentFromTheStringsOwnCharacters)
{
    auto bytes = [](const CZR_ByteString& s, int offset) {
        return reinterpret_cast<const unsigned char*>(s.c_str()) + offset;
    };
    CZR_ByteString tail("hello world");
    tail.Load(bytes(tail, 6), 5);
    EXPECT_EQ(tail, "world");

    CZR_ByteString whole("whole text");
    whole.Load(bytes(whole, 0), whole.GetLength());
    EXPECT_EQ(whole, "whole text");

    CZR_ByteString locked("locked text");
    locked.LockBuffer();
    locked.Load(bytes(locked, 7), 4);
    EXPECT_EQ(locked, "text");
    CZR_ByteString copy(locked);
    EXPECT_EQ(bufferOf(copy), bufferOf(locked)) << "Load leaves a fresh, unlocked buffer";

    CZR_ByteString viewed("view of itself");
    viewed = CZR_ByteStringC(viewed.c_str() + 8, 6);
    EXPECT_EQ(viewed, "itself");
}

using ByteStringFileTest = IsolatedTest;

TEST_F(ByteStringFileTest, LoadFromFileReadsWhatIsThere)
{
    QByteArray path = (env.tempDir() + "/content.bin").toLocal8Bit();
    IsolatedEnvironment::writeFile(QString::fromLocal8Bit(path), QByteArray("file\0data", 9));
    CZR_ByteString loaded = CZR_ByteString::LoadFromFile(path.constData());
    EXPECT_EQ(text(loaded), std::string("file\0data", 9));

    FILE* wide = ZRSYS_wfopen(CZR_WideString::FromLocal(path.constData()).c_str(), L"rb");
    ASSERT_NE(wide, nullptr);
    fclose(wide);

    EXPECT_TRUE(CZR_ByteString::LoadFromFile((env.tempDir() + "/missing").toLocal8Bit().constData()).IsEmpty());
    EXPECT_TRUE(CZR_ByteString::LoadFromFile(env.tempDir().toLocal8Bit().constData()).IsEmpty())
        << "a directory has no size";
    EXPECT_TRUE(CZR_ByteString::LoadFromFile("/proc/self/status").IsEmpty()) << "a size of 0 reads nothing";
}
