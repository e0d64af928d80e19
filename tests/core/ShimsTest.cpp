#include "system/ZRSYS_Runtime.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

TEST(ShimsTest, IntegerParsingAndPrinting)
{
    struct Case
    {
        const char* text;
        int value;
    };
    const Case cases[] = {{"  5", 0}, {"-12ab", -12}, {"+-3", 0}, {"4294967297", 1}, {"+7", 7}, {"", 0},
                          {"-2147483648", INT_MIN}};
    for (const Case& c : cases)
        EXPECT_EQ(ZRSYS_atoi(c.text), c.value) << c.text;
    EXPECT_EQ(ZRSYS_atoi(nullptr), 0);
    EXPECT_EQ(ZRSYS_wtoi(L"-31x"), -31);
    EXPECT_EQ(ZRSYS_atoi64("-9000000000"), -9000000000LL);
    EXPECT_EQ(ZRSYS_wtoi64(L"18446744073709551617"), 1);

    char buf[24];
    EXPECT_STREQ(ZRSYS_itoa(255, buf, 16), "255");
    EXPECT_STREQ(ZRSYS_itoa(INT_MIN, buf, 10), "-2147483648");
    EXPECT_STREQ(ZRSYS_itoa(0, buf, 10), "0");
    EXPECT_STREQ(ZRSYS_i64toa(LLONG_MIN, buf, 10), "-9223372036854775808");
    wchar_t wide[24];
    EXPECT_STREQ(ZRSYS_i64tow(-42, wide), L"-42");
}

TEST(ShimsTest, CaseFoldingTouchesOnlyAsciiLetters)
{
    char text[] = "aZ\xE9\xC9";
    EXPECT_STREQ(ZRSYS_strupr(text), "AZ\xE9\xC9");
    EXPECT_STREQ(ZRSYS_strlwr(text), "az\xE9\xC9");
    EXPECT_EQ(ZRSYS_strlwr(nullptr), nullptr);
    wchar_t wide[] = L"Ab\x00C9";
    EXPECT_STREQ(ZRSYS_wcsupr(wide), L"AB\x00C9");

    EXPECT_LT(ZRSYS_stricmp("ABC", "abd"), 0);
    EXPECT_EQ(ZRSYS_stricmp("A", ""), 97);
    EXPECT_EQ(ZRSYS_stricmp("MiXeD", "mixed"), 0);
    EXPECT_EQ(ZRSYS_wcsicmp(L"ABC", L"abc"), 0);
    EXPECT_EQ(ZRSYS_strnicmp("abcX", "ABCy", 3), 0);
    EXPECT_EQ(ZRSYS_strnicmp("a", "b", 0), 0);
    EXPECT_LT(ZRSYS_strnicmp("abc", "abd", 5), 0);
    EXPECT_EQ(ZRSYS_wcsnicmp(L"abc", L"ABD", 2), 0);
    EXPECT_EQ(ZRSYS_wcsnicmp(L"abc", L"ABD", 3), -1);
}

TEST(ShimsTest, MemoryAndPathHelpers)
{
    EXPECT_EQ(ZRSYS_memcpy32(nullptr, "x", 1), nullptr);
    wchar_t dst[4] = {L'x', L'x', L'x', L'x'};
    ZRSYS_wcsncpy(dst, L"abc", 2);
    EXPECT_EQ(std::wstring(dst, 4), L"abxx");

    char buf[8] = "zzzzzzz";
    EXPECT_EQ(ZRSYS_GetFullPathName("a/b", 3, buf), 4);
    EXPECT_STREQ(buf, "zzzzzzz");
    EXPECT_EQ(ZRSYS_GetFullPathName("a/b", 4, buf), 3);
    EXPECT_STREQ(buf, "a/b");
    EXPECT_EQ(ZRSYS_GetModuleFileName(nullptr, buf, 8), -1);
}

TEST(ShimsTest, LocaleConvertersUseExactlyTheSourceLength)
{
    const wchar_t source[] = L"a\0\x00E9z";
    char bytes[16] = {};
    EXPECT_EQ(ZRSYS_WideCharToMultiByte(0, 0, source, 3, nullptr, 0), 4);
    EXPECT_EQ(ZRSYS_WideCharToMultiByte(0, 0, source, 3, bytes, 16), 4);
    EXPECT_EQ(std::string(bytes, 5), std::string("a\0\xC3\xA9\0", 5)) << "the 'z' beyond the length stays out";
    EXPECT_EQ(ZRSYS_WideCharToMultiByte(0, 0, source, 3, bytes, 3), 2) << "a character that does not fit is left out";

    wchar_t wide[8] = {};
    EXPECT_EQ(ZRSYS_MultiByteToWideChar(0, 0, "a\0\xC3\xA9z", 4, wide, 8), 3);
    EXPECT_EQ(std::wstring(wide, 3), std::wstring(L"a\0\x00E9", 3));
    EXPECT_EQ(ZRSYS_MultiByteToWideChar(0, 0, "\xC3", 1, wide, 8), 0) << "a cut sequence is an error";
    EXPECT_EQ(ZRSYS_MultiByteToWideChar(0, 0, "abc", 3, wide, 2), 2);
}

TEST(ShimsTest, FloatHelpers)
{
    struct Case
    {
        float value;
        int rounded;
    };
    const Case cases[] = {{2.5f, 3}, {-2.5f, -3}, {NAN, 0}, {3e9f, INT_MAX}, {-3e9f, INT_MIN}, {0.49f, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(ZRSYS_round(c.value), c.rounded) << c.value;

    int used = -1;
    EXPECT_FLOAT_EQ(ZRSYS_wcstof(L"-1.25x", -1, &used), -1.25f);
    EXPECT_EQ(used, 5);
    EXPECT_EQ(ZRSYS_wcstof(L".", -1, &used), 0);
    EXPECT_EQ(used, 1);
    EXPECT_EQ(ZRSYS_wcstof(L"+", -1, &used), 0);
    EXPECT_EQ(used, 1);
    used = -1;
    EXPECT_EQ(ZRSYS_wcstof(L"", -1, &used), 0);
    EXPECT_EQ(used, -1);
    EXPECT_FLOAT_EQ(ZRSYS_strtof("2.5", -1, &used), 2.5f);
    EXPECT_FLOAT_EQ(ZRSYS_strtof("\xC3\xA9" "1", -1, &used), 0.0f) << "the converted text is shorter than the bytes";
    EXPECT_FLOAT_EQ(ZRSYS_logb(2, 8), 3);
    EXPECT_FLOAT_EQ(ZRSYS_tan(0), 0);
}

TEST(ShimsTest, StringHashes)
{
    EXPECT_EQ(ZR_HashCode_String_GetA("ab", -1, false), 3105u);
    EXPECT_EQ(ZR_HashCode_String_GetA("AB", -1, true), 3105u);
    EXPECT_EQ(ZR_HashCode_String_GetA("\x80", 1, false), unsigned(-128));
    EXPECT_EQ(ZR_HashCode_String_GetW(L"ab", -1, false), 127459u);
    EXPECT_EQ(ZR_HashCode_String_GetW(L"AB", 2, true), 127459u);
}
