#include "codecs/ZRUTF8.h"
#include "strings/CZR_ByteString.h"
#include "strings/CZR_WideString.h"
#include "strings/ZRNumbers.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring decode(const std::string& bytes)
{
    CZR_WideString s = CZR_WideString::FromUTF8(bytes.data(), int(bytes.size()));
    return std::wstring(s.c_str(), size_t(s.GetLength()));
}

std::string encode(const std::wstring& text)
{
    CZR_ByteString s = ZR_UTF8Encode(text.data(), int(text.size()));
    return std::string(s.c_str(), size_t(s.GetLength()));
}

std::string ftoa(float value, int flag, bool small)
{
    char buf[64];
    int length = small ? ZR_ftoa_s(value, buf, flag) : ZR_ftoa(value, buf, flag);
    return std::string(buf, size_t(length));
}

} // namespace

TEST(Utf8Test, DecodingIsLenient)
{
    struct Case
    {
        std::string bytes;
        std::wstring text;
    };
    const Case cases[] = {{"\xE4\xB8\xAD", L"\x4E2D"}, {"\xE4\x41", L"A"},          {"\x80\x41", L"A"},
                          {"\xF0\x9F\x98\x80", L"\x1F600"}, {"\xC0\x80", L"\xFFFD"}, {"\xFE\x41", L"A"},
                          {"\xC3", L""},                {"\xED\xA0\x80", L"\xD800"}, {std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
                          {"\xFD\xBF\xBF\xBF\xBF\xBF", L"\x7FFFFFFF"}};
    for (const Case& c : cases)
        EXPECT_EQ(decode(c.bytes), c.text);
    EXPECT_TRUE(CZR_WideString::FromUTF8("", -1).IsEmpty());
    EXPECT_TRUE(CZR_WideString::FromUTF8(nullptr, 5).IsEmpty());
    EXPECT_EQ(CZR_ByteString("\xC3\xA9").UTF8Decode(), L"\x00E9");
}

TEST(Utf8Test, EncodingAndRoundTrips)
{
    EXPECT_EQ(encode(L"\x00E9"), "\xC3\xA9");
    EXPECT_EQ(encode(L"\x1F600"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(encode(L"\xD800"), "\xED\xA0\x80");
    EXPECT_EQ(encode(L"\x7FFFFFFF"), "\xFD\xBF\xBF\xBF\xBF\xBF");
    EXPECT_EQ(encode(std::wstring(1, wchar_t(0x80000000))), "");

    const std::wstring samples[] = {L"plain ASCII", L"Lat\x00EDn caf\x00E9", L"\x4E2D\x6587\x6D4B\x8BD5",
                                    L"\x1F600\x10FFFF\x10000", std::wstring(3000, L'\x20AC')};
    for (const std::wstring& sample : samples) {
        CZR_WideString wide(sample.c_str(), int(sample.size()));
        CZR_ByteString utf8 = wide.UTF8Encode();
        EXPECT_EQ(utf8.UTF8Decode(), wide);
        EXPECT_EQ(CZR_WideString::FromUTF8(utf8.c_str(), utf8.GetLength()), wide);
    }
    EXPECT_TRUE(CZR_WideString().UTF8Encode().IsEmpty());

    CZR_ByteStringL out;
    ZR_UTF8Encode(L"\x00E9x", -1, out, nullptr);
    EXPECT_EQ(std::string(out.GetPtr()), "\xC3\xA9x");
    out.Empty(nullptr);
}

TEST(NumbersTest, FixedPointParsing)
{
    struct Case
    {
        const char* text;
        int integer;
        unsigned fraction;
    };
    const Case cases[] = {{"1.5", 1, 2147483650u}, {"-1.5", -2, 2147483646u}, {"-", 0, 0},
                          {"2147483648", 16777215, 0}, {"-9999999999", -16777215, 0}, {"12", 12, 0},
                          {"3.", 3, 0}, {"", 0, 0}};
    for (const Case& c : cases) {
        int integer = -99;
        unsigned fraction = 99;
        ZR_atofix32(c.text, integer, fraction);
        EXPECT_EQ(integer, c.integer) << c.text;
        EXPECT_EQ(fraction, c.fraction) << c.text;
    }
}

TEST(NumbersTest, NumberParsing)
{
    bool isInteger = false;
    int small = 0;
    ZR_atonum("12", isInteger, &small, 4);
    EXPECT_TRUE(isInteger);
    EXPECT_EQ(small, 12);
    long long wide = 0;
    ZR_atonum("-7", isInteger, &wide, 8);
    EXPECT_EQ(wide, -7);
    ZR_atonum("99999999999999999999", isInteger, &wide, 8);
    EXPECT_EQ(wide, 0) << "overflow gives 0";
    float real = 0;
    ZR_atonum("1.25", isInteger, &real, 4);
    EXPECT_FALSE(isInteger);
    EXPECT_FLOAT_EQ(real, 1.25f);
    ZR_atonum("+", isInteger, &small, 4);
    EXPECT_EQ(small, 0);
    char untouched[2] = {'x', 'y'};
    ZR_atonum("5", isInteger, untouched, 2);
    EXPECT_EQ(untouched[0], 'x') << "only 4- and 8-byte outputs are written";

    struct FloatCase
    {
        const char* text;
        float value;
    };
    const FloatCase floats[] = {{"--5", -5}, {"+-3.5", 3.5f}, {"1.5", 1.5f}, {"12a", 169}, {"", 0}, {"+-", 0},
                                {"1.000000000001", 1.0f}, {"-0.123456789012345", -0.123456789f}};
    for (const FloatCase& c : floats)
        EXPECT_FLOAT_EQ(ZR_atof(c.text), c.value) << c.text;
    // Exactly the view's bytes are parsed: the digits after it do not count.
    EXPECT_FLOAT_EQ(ZR_atof(CZR_ByteStringC("2.000000000000999", 14)), 2.0f);

    EXPECT_FLOAT_EQ(ZR_wtof(L"3.25", 4), 3.25f);
    EXPECT_FLOAT_EQ(ZR_wtof(L"-0.5", 4), -0.5f);
    EXPECT_FLOAT_EQ(ZR_wtof(L"7.", 2), 7.0f);
    EXPECT_EQ(ZR_wtof(L"", 0), 0);
    EXPECT_FLOAT_EQ(ZR_wtof(L"3000000000", 10), 3e9f) << "past 2^31 the integer part must not wrap";
    EXPECT_FLOAT_EQ(ZR_wtof(L"-4294967296.5", 13), -4294967296.5f);
    EXPECT_FLOAT_EQ(ZR_wtof(L"99999999999999999999", 20), 1e20f);
}

TEST(NumbersTest, FloatWriting)
{
    struct Case
    {
        float value;
        int flag;
        bool small;
        const char* text;
    };
    const Case cases[] = {{0, 0, false, "0"},          {1.5f, 0, false, "1.5"},       {2, 1, false, "2.0"},
                          {2, 0, false, "2"},          {-0.25f, 0, false, "-0.25"},  {123.456f, 0, false, "123.456"},
                          {0.0001f, 0, false, "0.0001"}, {1e-8f, 0, false, "0"},      {1e-8f, 0, true, "0.00000001"},
                          {0.05f, 0, true, "0.05"},     {12.5f, 0, true, "12.5"},     {0.001234567f, 0, true, "0.00123457"},
                          {1e-10f, 0, true, "0.0000000001"}, {-0.05f, 0, true, "-0.05"}, {3e9f, 0, false, "2147483647"}};
    for (const Case& c : cases)
        EXPECT_EQ(ftoa(c.value, c.flag, c.small), c.text) << c.value;

    g_iPrecision = 2;
    EXPECT_EQ(ftoa(1.25f, 0, false), "1.25");
    EXPECT_EQ(ftoa(-3.0f, 1, true), "-3.0");
    EXPECT_EQ(ftoa(0.001f, 0, false), "0");
    g_iPrecision = 0;
}
