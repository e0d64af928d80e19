#include "codecs/CZR_Base64.h"
#include "codecs/ZRUrlCoding.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

const unsigned char* bytesOf(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

std::string text(const CZR_ByteString& s) { return std::string(s.c_str(), size_t(s.GetLength())); }

std::wstring text(const CZR_WideString& s) { return std::wstring(s.c_str(), size_t(s.GetLength())); }

std::string encodeBytes(const std::string& plain)
{
    CZR_Base64Encoder encoder;
    std::string out(size_t(encoder.Encode(bytesOf(plain), int(plain.size()), static_cast<char*>(nullptr))), '?');
    int written = encoder.Encode(bytesOf(plain), int(plain.size()), out.data());
    EXPECT_EQ(written, int(out.size()));
    return out;
}

std::string decodeBytes(const std::string& encoded)
{
    CZR_Base64Decoder decoder;
    int size = decoder.Decode(encoded.data(), int(encoded.size()), nullptr);
    std::string out(size_t(size), '?');
    EXPECT_EQ(decoder.Decode(encoded.data(), int(encoded.size()), reinterpret_cast<unsigned char*>(out.data())), size);
    return out;
}

TEST(Base64, Rfc4648VectorsThroughEveryForm)
{
    const std::pair<std::string, std::string> vectors[] = {
        {"", ""},           {"f", "Zg=="},         {"fo", "Zm8="},         {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}, {"Man", "TWFu"},
    };
    for (const auto& [plain, encoded] : vectors) {
        SCOPED_TRACE(plain);
        EXPECT_EQ(encodeBytes(plain), encoded);
        EXPECT_EQ(decodeBytes(encoded), plain);

        CZR_Base64Encoder encoder;
        CZR_ByteString asBytes("untouched");
        CZR_WideString asWide(L"untouched");
        CZR_ByteStringC source(plain.data(), int(plain.size()));
        EXPECT_EQ(encoder.Encode(source, asBytes), int(encoded.size()));
        EXPECT_EQ(encoder.Encode(source, asWide), int(encoded.size()));
        EXPECT_EQ(text(asBytes), plain.empty() ? "untouched" : encoded);
        EXPECT_EQ(text(asWide), plain.empty() ? L"untouched" : std::wstring(encoded.begin(), encoded.end()));

        CZR_Base64Decoder decoder;
        CZR_ByteString fromBytes("old"), fromWide("old");
        std::wstring wideEncoded(encoded.begin(), encoded.end());
        EXPECT_EQ(decoder.Decode(CZR_ByteStringC(encoded.data(), int(encoded.size())), fromBytes), int(plain.size()));
        EXPECT_EQ(decoder.Decode(CZR_WideStringC(wideEncoded.data(), int(wideEncoded.size())), fromWide),
                  int(plain.size()));
        EXPECT_EQ(text(fromBytes), plain);
        EXPECT_EQ(text(fromWide), plain);
    }
}

TEST(Base64, DecodingIsLenientAboutPaddingAndForeignCharacters)
{
    const std::pair<std::string, std::string> cases[] = {
        {"TWE=", "Ma"}, {"TWE", "Ma"}, {"TQ", "M"}, {"====", ""}, {"TQ=======", "M"},
        {"T", "L"},                               // one character left gives a << 2
        {"A!", "\x0F"},                           // a character outside the alphabet counts as 0xFF
        {"TQ==TQ==", std::string("M?\xFFM", 4)}, // padding inside the data is looked up too
    };
    for (const auto& [encoded, plain] : cases) {
        SCOPED_TRACE(encoded);
        EXPECT_EQ(decodeBytes(encoded), plain);
    }
}

TEST(Base64, RandomBytesRoundTripThroughEveryForm)
{
    std::mt19937 random(7);
    for (int length = 0; length < 300; ++length) {
        std::string plain(size_t(length), '\0');
        for (char& c : plain)
            c = char(random());
        std::string encoded = encodeBytes(plain);
        ASSERT_EQ(decodeBytes(encoded), plain);

        CZR_Base64Encoder encoder;
        CZR_Base64Decoder decoder;
        CZR_ByteString viaString;
        CZR_ByteString back;
        encoder.Encode(CZR_ByteStringC(plain.data(), length), viaString);
        decoder.Decode(CZR_ByteStringC(viaString), back);
        ASSERT_EQ(text(back), plain);
    }
}

wchar_t urlSafeAlphabet(unsigned index)
{
    unsigned i = index & 63;
    return i == 62 ? L'-' : i == 63 ? L'_' : ZRCRT_DefBase64Encoder(i);
}

unsigned char urlSafeLookUp(wchar_t c)
{
    return c == L'-' ? 62 : c == L'_' ? 63 : (c == L'+' || c == L'/') ? 0xFF : ZRCRT_DefBase64Decoder(c);
}

TEST(Base64, CustomAlphabetAndPaddingReachOnlyTheWideAndStringForms)
{
    const std::string plain("\xFB\xFF", 2);
    CZR_Base64Encoder encoder(L'.');
    encoder.SetEncoder(urlSafeAlphabet);
    wchar_t wide[4];
    ASSERT_EQ(encoder.Encode(bytesOf(plain), 2, wide), 4);
    EXPECT_EQ(std::wstring(wide, 4), L"-_8.");
    char narrow[4];
    ASSERT_EQ(encoder.Encode(bytesOf(plain), 2, narrow), 4);
    EXPECT_EQ(std::string(narrow, 4), "+/8=");
    CZR_ByteString viaString;
    encoder.Encode(CZR_ByteStringC(plain.data(), 2), viaString);
    EXPECT_EQ(text(viaString), "-_8.");

    CZR_Base64Decoder decoder(L'.');
    decoder.SetDecoder(urlSafeLookUp);
    unsigned char out[4] = {};
    EXPECT_EQ(decoder.Decode(L"-_8.", 4, out), 2);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 2), plain);
    EXPECT_EQ(decoder.Decode(L"-_8=", 4, nullptr), 3) << "'=' is data to this decoder";
    EXPECT_EQ(decoder.Decode("TWE.", 4, nullptr), 3) << "the byte-array form drops only '='";
    EXPECT_EQ(decoder.Decode("TWE=", 4, nullptr), 2);
}

// 1,610,612,734 bytes and more encode to more than 2^31 - 1 characters: refused before any byte
// is read, so a small buffer stands in for the huge input.
TEST(Base64, EncodingsThatWouldNotFitInAnIntAreRefused)
{
    const unsigned char small[3] = {1, 2, 3};
    CZR_Base64Encoder encoder;
    EXPECT_EQ(encoder.Encode(small, 1610612733, static_cast<char*>(nullptr)), 2147483644);
    EXPECT_EQ(encoder.Encode(small, 1610612734, static_cast<char*>(nullptr)), 0);
    EXPECT_EQ(encoder.Encode(small, INT32_MAX, static_cast<wchar_t*>(nullptr)), 0);
    char narrow[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(encoder.Encode(small, INT32_MAX, narrow), 0);
    EXPECT_EQ(std::string(narrow, 4), "xxxx");

    CZR_ByteStringC huge(reinterpret_cast<const char*>(small), INT32_MAX);
    CZR_WideString wide(L"untouched");
    CZR_ByteString bytes("untouched");
    EXPECT_EQ(encoder.Encode(huge, wide), 0);
    EXPECT_EQ(encoder.Encode(huge, bytes), 0);
    EXPECT_EQ(text(wide), L"untouched");
    EXPECT_EQ(text(bytes), "untouched");
}

TEST(UrlCoding, EncodesAndDecodesTheEdgeCases)
{
    struct Case
    {
        const wchar_t* plain;
        const char* uri;  // ZR_EncodeURI, undone by ZR_DecodeURI
        const char* url;  // ZR_UrlEncode under a UTF-8 locale, undone by ZR_UrlDecode
    };
    const Case cases[] = {
        {L"a b/c?d=1&e", "a%20b/c?d=1&e", "a%20b/c?d=1&e"},
        {L"100%", "100%25", "100%25"},
        {L"#x", "%23x", "%23x"},
        {L"\u00e9", "%C3%A9", "%C3%A9"},
        {L"!$&'()*+,-./:;=?@_Az09", "!$&'()*+,-./:;=?@_Az09", "!$&'()*+,-./:;=?@_Az09"},
        {L"\"<>[\\]^`{|}~", "%22%3C%3E%5B%5C%5D%5E%60%7B%7C%7D%7E", "%22%3C%3E%5B%5C%5D%5E%60%7B%7C%7D%7E"},
        {L"\x01\x1f\x7f", "%01%1F%7F", "%01%1F%7F"},
        {L"\U0001F600", "%F0%9F%98%80", "%F0%9F%98%80"},
        // Low 16 bits that read as '/' and '%': the whole character is escaped.
        {L"\U0001002F\U00010025", "%F0%90%80%AF%F0%90%80%A5", "%F0%90%80%AF%F0%90%80%A5"},
        {L"", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.uri);
        EXPECT_EQ(text(ZR_EncodeURI(CZR_WideString(c.plain))), c.uri);
        EXPECT_EQ(text(ZR_UrlEncode(CZR_WideString(c.plain))), c.url);
        EXPECT_EQ(text(ZR_DecodeURI(CZR_ByteString(c.uri))), c.plain);
        EXPECT_EQ(text(ZR_UrlDecode(CZR_ByteString(c.url))), c.plain);
    }

    const std::pair<const char*, const wchar_t*> decodes[] = {
        {"%4", L"%4"},   {"%zz", L"%zz"},   {"a%2fb", L"a/b"}, {"%41", L"A"},
        {"100%", L"100%"}, {"%%41", L"%A"}, {"%4%41", L"%4A"}, {"%", L"%"}, {"x%4g", L"x%4g"},
    };
    for (const auto& [encoded, plain] : decodes) {
        SCOPED_TRACE(encoded);
        EXPECT_EQ(text(ZR_DecodeURI(CZR_ByteString(encoded))), plain);
        EXPECT_EQ(text(ZR_UrlDecode(CZR_ByteString(encoded))), plain);
    }
    EXPECT_EQ(text(ZR_UrlEncode(CZR_WideString(L"a\xD800"))), "a%ED%A0%80")
        << "a character without local bytes goes out as UTF-8, not dropped";
    EXPECT_EQ(text(ZR_UrlDecode(CZR_ByteString("a%00b"))), L"a");
    EXPECT_EQ(text(ZR_DecodeURI(CZR_ByteString("a%00b"))), std::wstring(L"a\0b", 3));
}

TEST(UrlCoding, RandomTextRoundTrips)
{
    std::mt19937 random(11);
    std::uniform_int_distribution<int> plane(0, 3);
    for (int round = 0; round < 200; ++round) {
        std::wstring plain;
        for (int i = int(random() % 20); i > 0; --i) {
            int kind = plane(random);
            wchar_t c = kind == 0 ? wchar_t(1 + random() % 0x7F)
                        : kind == 1 ? wchar_t(0x80 + random() % (0xD800 - 0x80))
                        : kind == 2 ? wchar_t(0xE000 + random() % 0x1FFE)
                                    : wchar_t(0x10000 + random() % 0x100000);
            plain += c;
        }
        CZR_WideString source(plain.c_str(), int(plain.size()));
        ASSERT_EQ(text(ZR_DecodeURI(ZR_EncodeURI(source))), plain);
        ASSERT_EQ(text(ZR_UrlDecode(ZR_UrlEncode(source))), plain);
    }
}

}
