#include "strings/CZR_ByteString.h"
#include "strings/CZR_StringL.h"
#include "strings/CZR_WideString.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

std::wstring text(const CZR_WideString& s) { return std::wstring(s.c_str(), size_t(s.GetLength())); }
std::string bytes(const CZR_ByteString& s) { return std::string(s.c_str(), size_t(s.GetLength())); }

// Capacity as a caller can observe it: the largest GetBuffer that keeps the same characters.
bool hasCapacity(CZR_WideString& s, int capacity)
{
    const wchar_t* before = s.c_str();
    return s.GetBuffer(capacity) == before;
}

} // namespace

TEST(WideStringTest, ConstructionAssignmentAndSharing)
{
    EXPECT_EQ(CZR_WideString(L"abc").GetLength(), 3);
    EXPECT_TRUE(CZR_WideString(static_cast<const wchar_t*>(nullptr), 4).IsEmpty());
    EXPECT_TRUE(CZR_WideString(L"abc", 0).IsEmpty());
    EXPECT_EQ(CZR_WideString(L'\0').GetLength(), 1);
    EXPECT_EQ(CZR_WideString(CZR_WideStringC(L"ab"), CZR_WideStringC(L"cd")), L"abcd");

    CZR_WideString a(L"shared");
    CZR_WideString b = a;
    EXPECT_EQ(a.c_str(), b.c_str());
    b += L'!';
    EXPECT_EQ(a, L"shared");
    EXPECT_EQ(b, L"shared!");
    b = a;
    EXPECT_EQ(a.c_str(), b.c_str());
    b = static_cast<const wchar_t*>(nullptr);
    EXPECT_TRUE(b.IsEmpty());

    wchar_t* locked = a.LockBuffer();
    CZR_WideString copy(a);
    locked[0] = L'S';
    EXPECT_EQ(copy, L"shared");
}

TEST(WideStringTest, AppendingGrowsByOneAndAHalf)
{
    CZR_WideString ten(L"0123456789");
    ten += L'x';
    EXPECT_TRUE(hasCapacity(ten, 15));
    EXPECT_FALSE(hasCapacity(ten, 16));

    CZR_WideString one(L"a");
    one += L'b';
    EXPECT_TRUE(hasCapacity(one, 3));
    EXPECT_FALSE(hasCapacity(one, 4));

    CZR_WideString self(L"ab");
    self += self;
    EXPECT_EQ(self, L"abab");
}

TEST(WideStringTest, ComparisonOrdersNullBeforeZeroLength)
{
    CZR_WideString null;
    CZR_WideString zeroLength(L"x");
    zeroLength.Delete(0, 1);
    EXPECT_TRUE(null < zeroLength);
    EXPECT_FALSE(zeroLength < null);
    EXPECT_FALSE(null < null);
    EXPECT_EQ(null.Compare(zeroLength), -1);
    EXPECT_EQ(zeroLength.Compare(null), 1);
    EXPECT_EQ(null.Compare(null), 0);
    EXPECT_TRUE(null == static_cast<const wchar_t*>(nullptr));
    EXPECT_TRUE(static_cast<const wchar_t*>(nullptr) == null);
    EXPECT_TRUE(zeroLength == null);

    struct Case
    {
        const wchar_t* a;
        const wchar_t* b;
        int order;
    };
    const Case cases[] = {{L"abc", L"abd", -1}, {L"abd", L"abc", 1}, {L"ab", L"abc", -1}, {L"abc", L"abc", 0},
                          {L"\x80000000", L"a", -1}};
    for (const Case& c : cases) {
        EXPECT_EQ(CZR_WideString(c.a).Compare(CZR_WideString(c.b)), c.order);
        EXPECT_EQ(CZR_WideString(c.a) < CZR_WideString(c.b), c.order < 0);
    }
    EXPECT_EQ(CZR_WideString(L"abc").CompareNoCase(L"ABC"), 0);
    EXPECT_EQ(CZR_WideString().CompareNoCase(L""), 0);
    EXPECT_EQ(CZR_WideString().Compare(L"x"), -1);
    EXPECT_EQ(CZR_WideString(L"b").Compare(L"a"), 1);
    EXPECT_LT(CZR_WideString(L"abc").CompareNoCase(L"ABD"), 0);
}

TEST(WideStringTest, EditingAndSearch)
{
    CZR_WideString s(L"abc");
    EXPECT_EQ(s.Delete(1, 100), 1);
    EXPECT_EQ(s, L"a");
    EXPECT_EQ(s.Insert(5, L'z'), 2);
    EXPECT_EQ(s, L"az");

    CZR_WideString abc(L"abc");
    EXPECT_EQ(abc.Find(L"", 2), 2);
    EXPECT_EQ(abc.Find(L"x", 4), -1);
    EXPECT_EQ(abc.Find(L"c", -1), -1);
    EXPECT_EQ(abc.Find(L'c', 3), -1);
    EXPECT_EQ(abc.Find(L"bc"), 1);
    EXPECT_EQ(CZR_WideString(L"a\0b", 3).Find(L"b"), -1) << "the search stops at an embedded 0";
    EXPECT_EQ(CZR_WideString(L"abab").Find(L"ab", 1), 2);
    EXPECT_EQ(abc.Mid(1), L"bc");
    EXPECT_EQ(abc.Left(1), L"a");
    EXPECT_EQ(abc.Right(1), L"c");

    CZR_WideString trimmed(L" \t x \r\n");
    trimmed.TrimLeft();
    trimmed.TrimRight();
    EXPECT_EQ(trimmed, L"x");
    CZR_WideString withZero(L"ab\0", 3);
    withZero.TrimRight(L"q");
    EXPECT_EQ(withZero, L"ab") << "a trailing 0 counts as a member of every set";

    CZR_WideString upper(L"MiXed\x00C9");
    upper.MakeLower();
    EXPECT_EQ(upper, L"mixed\x00C9");

    CZR_WideString shared(L"keep");
    CZR_WideString other = shared;
    other.Reserve(0);
    EXPECT_EQ(other, L"keep");
    CZR_WideString deleted(L"ab");
    deleted.Delete(0, 2);
    EXPECT_EQ(deleted.GetBuffer(0), nullptr) << "emptied by an edit, like a string never filled";
    CZR_WideString trimmedAway(L"  ");
    trimmedAway.TrimRight();
    EXPECT_EQ(trimmedAway.GetBuffer(0), nullptr);
    CZR_WideString reserved;
    reserved.Reserve(8);
    EXPECT_TRUE(hasCapacity(reserved, 8));
}

TEST(WideStringTest, ReplaceInPlaceAndInANewBuffer)
{
    struct Case
    {
        const wchar_t* start;
        const wchar_t* from;
        const wchar_t* to;
        int count;
        const wchar_t* result;
    };
    const Case cases[] = {{L"aaaa", L"aa", L"b", 2, L"bb"},     {L"aaa", L"a", nullptr, 3, L""},
                          {L"abc", L"", L"x", 0, L"abc"},       {L"abc", nullptr, L"x", 0, L"abc"},
                          {L"a.b.c", L".", L"::", 2, L"a::b::c"}, {L"xyx", L"x", L"xyz", 2, L"xyzyxyz"}};
    for (const Case& c : cases) {
        CZR_WideString s(c.start);
        EXPECT_EQ(s.Replace(c.from, c.to), c.count) << c.start;
        EXPECT_EQ(text(s), c.result);
    }

    CZR_WideString roomy(L"a-b-c");
    roomy.Reserve(32);
    const wchar_t* before = roomy.c_str();
    EXPECT_EQ(roomy.Replace(L"-", L"+++"), 2);
    EXPECT_EQ(roomy, L"a+++b+++c");
    EXPECT_EQ(roomy.c_str(), before) << "grown in place within the capacity";

    CZR_WideString selfGrowing(L"abcabc");
    selfGrowing.Reserve(100);
    EXPECT_EQ(selfGrowing.Replace(L"b", selfGrowing.c_str()), 2);
    EXPECT_EQ(selfGrowing, L"aabcabccaabcabcc") << "the replacement is read before the text moves";
    CZR_WideString selfSearching(L"abab");
    selfSearching.Reserve(100);
    EXPECT_EQ(selfSearching.Replace(selfSearching.c_str() + 2, L"xyz"), 2);
    EXPECT_EQ(selfSearching, L"xyzxyz") << "the searched text is read before the text moves";

    CZR_WideString tail(L"a-b\0-c", 6);
    EXPECT_EQ(tail.Replace(L"-", L"=="), 1) << "nothing after an embedded 0 is searched";
    EXPECT_EQ(text(tail), std::wstring(L"a==b\0-c", 7));
}

TEST(WideStringTest, Utf16Conversions)
{
    CZR_ByteString ab = CZR_WideString(L"AB").UTF16LE_Encode(true);
    EXPECT_EQ(bytes(ab), std::string("A\0B\0\0\0", 6));
    EXPECT_EQ(bytes(CZR_WideString(L"\x1F600").UTF16LE_Encode(false)), std::string("\x00\xF6", 2));
    EXPECT_EQ(bytes(CZR_WideString().UTF16LE_Encode(true)), std::string("\0\0", 2));
    EXPECT_TRUE(CZR_WideString().UTF16LE_Encode(false).IsEmpty());

    const unsigned short bigEndian[] = {0x4100, 0x3DD8, 0};
    EXPECT_EQ(text(CZR_WideString::FromUTF16BE(bigEndian, 2)), L"\x0041\xD83D");
    const unsigned short littleEndian[] = {0x0041, 0xD83D, 0};
    EXPECT_EQ(text(CZR_WideString::FromUTF16LE(littleEndian, -1)), L"\x0041\xD83D");
    EXPECT_EQ(CZR_WideString::WStringLength(littleEndian), 2);
    EXPECT_EQ(CZR_WideString::WStringLength(nullptr), 0);
    EXPECT_TRUE(CZR_WideString::FromUTF16LE(nullptr, 3).IsEmpty());
}

TEST(WideStringTest, NumbersAndPlainStrings)
{
    EXPECT_EQ(CZR_WideString(L"-42x").GetInteger(), -42);
    EXPECT_EQ(CZR_WideString().GetInteger(), 0);
    EXPECT_FLOAT_EQ(CZR_WideString(L"3.25").GetFloat(), 3.25f);
    EXPECT_FLOAT_EQ(CZR_WideString(L"3000000000").GetFloat(), 3e9f);

    CZR_WideStringL plain;
    plain.Set(CZR_WideStringC(), nullptr);
    EXPECT_EQ(plain.GetPtr(), nullptr);
    EXPECT_EQ(plain.GetLength(), 0);
    plain.Set(CZR_WideStringC(L"12.5  "), nullptr);
    plain.TrimRight(L" ");
    EXPECT_EQ(std::wstring(plain.GetPtr()), L"12.5");
    EXPECT_EQ(plain.GetInteger(), 12);
    EXPECT_FLOAT_EQ(plain.GetFloat(), 12.5f);
    plain.Empty(nullptr);
}

TEST(WideStringTest, PlainStringsSetFromTheirOwnCharacters)
{
    CZR_WideStringL wide;
    wide.Set(CZR_WideStringC(L"a longer wide text"), nullptr);
    wide.Set(CZR_WideStringC(wide.GetPtr() + 9, 4), nullptr);
    EXPECT_EQ(std::wstring(wide.GetPtr()), L"wide");
    wide.Set(wide, nullptr);
    EXPECT_EQ(std::wstring(wide.GetPtr()), L"wide");
    wide.Empty(nullptr);

    CZR_ByteStringL narrow;
    narrow.Set("a longer byte text", nullptr);
    narrow.Set(CZR_ByteStringC(narrow.GetPtr() + 9, 4), nullptr);
    EXPECT_STREQ(narrow.GetPtr(), "byte");
    narrow.Set(narrow, nullptr);
    EXPECT_STREQ(narrow.GetPtr(), "byte");
    narrow.Empty(nullptr);
}

TEST(WideStringTest, SystemLocaleConversionsRoundTrip)
{
    CZR_WideString source(L"caf\x00E9 \x4E2D \x1F600");
    CZR_ByteString local = CZR_ByteString::FromUnicode(source);
    EXPECT_EQ(bytes(local), "caf\xC3\xA9 \xE4\xB8\xAD \xF0\x9F\x98\x80");
    EXPECT_EQ(CZR_WideString::FromLocal(local.c_str(), local.GetLength()), source);
    EXPECT_EQ(text(CZR_WideString::FromLocal("a\0b", 3)), std::wstring(L"a\0b", 3)) << "the exact source length";
    EXPECT_TRUE(CZR_WideString::FromLocal("\xFF\xFE", 2).IsEmpty()) << "bytes that are not text convert to nothing";
    EXPECT_EQ(bytes(CZR_ByteString::FromUnicode(L"xy", 1)), "x");
}
