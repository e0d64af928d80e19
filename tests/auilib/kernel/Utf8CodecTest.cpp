#include "Utf8Codec.h"

#include <gtest/gtest.h>

using namespace AUILib;

TEST(Utf8Codec, DecodesOnlyStrictUtf8)
{
    const std::pair<std::string, std::wstring> valid[] = {
        {"", L""},
        {"plain", L"plain"},
        {"\xC2\x80\xDF\xBF", L"\u0080\u07FF"},
        {"\xE0\xA0\x80\xEF\xBF\xBF", L"\u0800\uFFFF"},
        {"\xEF\xBB\xBFx", L"\uFEFFx"},
        {"\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", L"\U00010000\U0010FFFF"},
    };
    for (const auto& [bytes, text] : valid) {
        EXPECT_EQ(Utf8Codec::Decode(bytes), text) << testing::PrintToString(bytes);
        EXPECT_EQ(Utf8Codec::Encode(text), bytes);
    }
    for (const char* bytes : {"\xC1\xBF", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF", "\xED\xBF\xBF", "\xF4\x90\x80\x80",
                              "\xF8\x88\x80\x80\x80", "\xC2", "\xC2\x41", "\xBF"})
        EXPECT_FALSE(Utf8Codec::Decode(std::string(bytes))) << testing::PrintToString(std::string(bytes));
    EXPECT_FALSE(Utf8Codec::Encode(std::wstring(1, wchar_t(0xDC00))));
    EXPECT_FALSE(Utf8Codec::Encode(std::wstring(1, wchar_t(0x110000))));
}

TEST(Utf8Codec, LenientDecodingTakesStrayBytesAsLatin1)
{
    EXPECT_EQ(Utf8Codec::DecodeLenient("\xE9t\xC3\xA9 \xED\xA0\x80"), L"\u00e9t\u00e9 \u00ed\u00a0\u0080");
}
