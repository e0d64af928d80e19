#include "strings/CZR_ByteString.h"
#include "strings/CZR_WideString.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <string>

namespace {

std::string text(const CZR_ByteString& s) { return std::string(s.c_str(), size_t(s.GetLength())); }

} // namespace

TEST(FormatTest, IntegerAndFloatHelpers)
{
    struct Case
    {
        int value;
        unsigned flags;
        const char* text;
    };
    const Case cases[] = {{-5, 0, "4294967291"}, {-5, 1, "-5"}, {255, 6, "FF"}, {255, 2, "ff"}, {255, 4, "255"},
                          {0, 1, "0"},           {INT_MIN, 1, "-2147483648"}, {-1, 2, "ffffffff"}};
    for (const Case& c : cases)
        EXPECT_EQ(text(CZR_ByteString::FormatInteger(c.value, c.flags)), c.text) << c.value << " " << c.flags;
    EXPECT_EQ(CZR_ByteString::FormatInteger64(-9000000000LL), "-9000000000");
    EXPECT_EQ(CZR_ByteString::FormatFloat(2.0f, 1), "2.0");
    EXPECT_EQ(CZR_ByteString::FormatFloat(2.0f, 0), "2");
}

TEST(FormatTest, ByteFormatTable)
{
    CZR_ByteString s;
    s.Format("%d-%s", 7, "x");
    EXPECT_EQ(s, "7-x");
    s.Format("%5.2f|%-4s|%04x|%c|%%|%lld", 3.14159, "ab", 255, 'Z', -5LL);
    EXPECT_EQ(s, " 3.14|ab  |00ff|Z|%|-5");
    s.Format("%*d", 200000, 1);
    EXPECT_EQ(s, "Bad width");
    s.Format("%*d", -1, 1);
    EXPECT_EQ(s, "Bad width");
    s.Format("%.*f", 300000, 1.0);
    EXPECT_EQ(s, "Bad precision");
    s.Format("%s", "");
    EXPECT_TRUE(s.IsEmpty());
    const char* volatile none = nullptr;
    s.Format("%s", none);
    EXPECT_EQ(s, "(null)");
    s.Format("%ls|%S", L"wide", L"x");
    EXPECT_EQ(s, "wide|x");
    s.Format("%e", 1.5);
    EXPECT_EQ(s, "1.500000e+00");
}

TEST(FormatTest, AStringFormatsItsOwnText)
{
    for (int reserve : {0, 100}) {
        CZR_ByteString bytes("hello");
        bytes.Reserve(reserve);
        bytes.Format("%s!", bytes.c_str());
        EXPECT_EQ(bytes, "hello!") << "capacity " << reserve;

        CZR_WideString wide(L"hello");
        wide.Reserve(reserve);
        wide.Format(L"%ls!", wide.c_str());
        EXPECT_EQ(wide, L"hello!") << "capacity " << reserve;
    }
}

TEST(FormatTest, LongResultsAreNeverCut)
{
    std::string longText(100000, 'q');
    CZR_ByteString s;
    // A fixed-point item with a large precision is estimated at precision + 128 characters, far
    // below what 1e300 prints.
    s.Format("%.100f", 1e300);
    EXPECT_EQ(s.GetLength(), 301 + 1 + 100);
    EXPECT_EQ(text(s).substr(0, 4), "1000");
    s.Format("[%s]", longText.c_str());
    EXPECT_EQ(s.GetLength(), 100002);
    s.Format("%131072d", 5);
    EXPECT_EQ(s.GetLength(), 131072);

    CZR_WideString w;
    w.Format(L"%ls", std::wstring(50000, L'w').c_str());
    EXPECT_EQ(w.GetLength(), 50000);
    w.Format(L"%s", "\xE4\xB8\xAD\xE4\xB8\xAD");
    EXPECT_EQ(w, L"\x4E2D\x4E2D");
    w.Format(L"%.100f", 1e300);
    EXPECT_EQ(w.GetLength(), 301 + 1 + 100) << "the wide estimate falls short too";
    w.Format(L"%5d|%c", 42, 'x');
    EXPECT_EQ(w, L"   42|x");
}

TEST(FormatTest, ByteFormatUsesTheCLocaleAndTheWideOneTheProcessLocale)
{
    const char* previous = setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous ? previous : "C";
    bool haveComma = setlocale(LC_NUMERIC, "de_DE.UTF-8") || setlocale(LC_NUMERIC, "fr_FR.UTF-8");
    CZR_ByteString s;
    s.Format("%.2f", 1.5);
    EXPECT_EQ(s, "1.50");
    CZR_WideString w;
    w.Format(L"%.2f", 1.5);
    EXPECT_EQ(w, haveComma ? L"1,50" : L"1.50");
    setlocale(LC_NUMERIC, saved.c_str());
}

TEST(FormatTest, WideFormatEdges)
{
    CZR_WideString w(L"old");
    w.Format(L"%d", 5);
    EXPECT_EQ(w, L"5");
    w.Format(L"%*d", 200000, 1);
    EXPECT_EQ(w, L"Bad width");
    w.Format(L"%.*f", 200000, 1.0);
    EXPECT_EQ(w, L"Bad precision");
    w.Format(L"");
    EXPECT_TRUE(w.IsEmpty());
    CZR_WideString fresh;
    fresh.Format(L"");
    EXPECT_TRUE(fresh.IsEmpty());

    CZR_WideString shared(L"shared");
    CZR_WideString copy = shared;
    copy.Format(L"%ls", L"new");
    EXPECT_EQ(shared, L"shared");
    EXPECT_EQ(copy, L"new");
}
