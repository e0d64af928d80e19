#include "codecs/CZR_CharMap.h"
#include "codecs/CZR_CodePage.h"
#include "codecs/ZRCodePage.h"

#include <gtest/gtest.h>

#include <iconv.h>
#include <string>
#include <vector>

namespace {

const uint16_t kPages[] = {874, 932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258};

// Measures, then converts into a buffer one unit larger than measured.
template <class Out, class In, class Convert>
Out convert(Convert conversion, uint16_t page, const In& input, bool stop, int* result, int* taken)
{
    int srcLen = int(input.size());
    int dstLen = 0;
    conversion(page, input.data(), &srcLen, nullptr, &dstLen, stop);
    Out output(size_t(dstLen) + 1, 0);
    srcLen = int(input.size());
    int capacity = int(output.size());
    int answer = conversion(page, input.data(), &srcLen, &output[0], &capacity, stop);
    if (result)
        *result = answer;
    if (taken)
        *taken = srcLen;
    output.resize(size_t(capacity));
    return output;
}

std::wstring decode(uint16_t page, const std::string& bytes, bool stop = false, int* result = nullptr,
                    int* taken = nullptr)
{
    return convert<std::wstring>(ZR_DecodeString, page, bytes, stop, result, taken);
}

std::string encode(uint16_t page, const std::wstring& text, bool stop = false, int* result = nullptr,
                   int* taken = nullptr)
{
    return convert<std::string>(ZR_EncodeString, page, text, stop, result, taken);
}

struct Anchor
{
    uint16_t page;
    const char* bytes;
    wchar_t unicode;
};

// Checked by hand against the published code charts.
const Anchor kAnchors[] = {
    {874, "\xA1", 0x0E01},      {874, "\x80", 0x20AC},      {932, "\x82\xA0", 0x3042},  {932, "\x88\x9F", 0x4E9C},
    {932, "\x81\x40", 0x3000},  {932, "\xB1", 0xFF71},      {932, "A", L'A'},           {936, "\x80", 0x20AC},
    {936, "\xB0\xA1", 0x554A},  {936, "\xA1\xA1", 0x3000},  {936, "\x81\x40", 0x4E02},  {949, "\xB0\xA1", 0xAC00},
    {949, "\xA1\xA1", 0x3000},  {950, "\xA4\x40", 0x4E00},  {950, "\xA1\x40", 0x3000},  {1250, "\x8A", 0x0160},
    {1250, "\xB9", 0x0105},     {1251, "\xC0", 0x0410},     {1251, "\xFF", 0x044F},     {1252, "\x80", 0x20AC},
    {1252, "\x9F", 0x0178},     {1252, "\xE9", 0x00E9},     {1253, "\xC1", 0x0391},     {1254, "\xD0", 0x011E},
    {1255, "\xE0", 0x05D0},     {1256, "\xC7", 0x0627},     {1257, "\xE0", 0x0105},     {1258, "\xC3", 0x0102},
};

TEST(CodePageTest, AnchorsDecodeAndEncodeBothWays)
{
    for (const Anchor& anchor : kAnchors) {
        SCOPED_TRACE(testing::Message() << anchor.page << " U+" << std::hex << int(anchor.unicode));
        EXPECT_EQ(decode(anchor.page, anchor.bytes), std::wstring(1, anchor.unicode));
        EXPECT_EQ(encode(anchor.page, std::wstring(1, anchor.unicode)), anchor.bytes);
    }
}

TEST(CodePageTest, EveryValidCodeOfEveryPageRoundTrips)
{
    for (uint16_t number : kPages) {
        SCOPED_TRACE(number);
        IZR_CodePage* page = IZR_CodePage::Create(number);
        ASSERT_TRUE(page);
        int valid = 0, mismatches = 0;
        for (uint32_t code = 0; code <= page->GetMaxCharcode(); ++code) {
            bool twoBytes = code > 0xFF;
            if (twoBytes != page->IsLeadByte(uint8_t(code >> (twoBytes ? 8 : 0))) || !page->IsValidCharcode(uint16_t(code)))
                continue;
            ++valid;
            std::string bytes = twoBytes ? std::string{char(code >> 8), char(code)} : std::string(1, char(code));
            std::wstring text = decode(number, bytes, true);
            std::string back = encode(number, text, true);
            if (text.size() != 1 || text[0] != page->GetUnicode(uint16_t(code)) || decode(number, back, true) != text)
                ++mismatches;
        }
        EXPECT_EQ(mismatches, 0);
        EXPECT_GT(valid, number < 1000 && number != 874 ? 7000 : 200);
        page->Release();
    }
}

// The system's converter for one code page, one character at a time.
class SystemCodePage
{
public:
    explicit SystemCodePage(uint16_t number)
        : m_decoder(iconv_open("WCHAR_T", name(number).c_str())), m_encoder(iconv_open(name(number).c_str(), "WCHAR_T"))
    {
    }
    ~SystemCodePage()
    {
        for (iconv_t converter : {m_decoder, m_encoder}) {
            if (converter != iconv_t(-1))
                iconv_close(converter);
        }
    }
    bool IsOpen() const { return m_decoder != iconv_t(-1) && m_encoder != iconv_t(-1); }

    // The one character the bytes stand for, or 0 when they are not exactly one character.
    wchar_t Decode(std::string bytes) const
    {
        wchar_t out[2] = {};
        return Convert(m_decoder, &bytes[0], bytes.size(), reinterpret_cast<char*>(out), sizeof(out)) == sizeof(wchar_t)
                   ? out[0]
                   : 0;
    }

    // The bytes of one character, or empty when it has none.
    std::string Encode(wchar_t character) const
    {
        char out[8];
        size_t written = Convert(m_encoder, reinterpret_cast<char*>(&character), sizeof(character), out, sizeof(out));
        return std::string(out, written);
    }

private:
    static std::string name(uint16_t number) { return "CP" + std::to_string(number); }

    // The bytes written for the whole input, or 0 when any of it fails to convert.
    static size_t Convert(iconv_t converter, char* in, size_t inLeft, char* out, size_t outSize)
    {
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
        size_t outLeft = outSize;
        if (iconv(converter, &in, &inLeft, &out, &outLeft) == size_t(-1) || inLeft != 0)
            return 0;
        return outSize - outLeft;
    }

    iconv_t m_decoder;
    iconv_t m_encoder;
};

// Code page 950 holds the user-defined block C6A1-C8FE, where another Big5 variant put kana,
// Cyrillic and symbols: the table must give none of them, and no character may encode into it.
// Each of its codes is still one character, as it is to the system.
TEST(CodePageTest, Page950AgreesWithTheSystemAndKeepsItsUserDefinedBlockEmpty)
{
    SystemCodePage system(950);
    ASSERT_TRUE(system.IsOpen());
    IZR_CodePage* page = IZR_CodePage::Create(950);
    ASSERT_TRUE(page);
    auto inUserBlock = [](uint32_t code) { return code >= 0xC6A1 && code <= 0xC8FE; };

    int compared = 0;
    for (uint32_t code = 0x8140; code <= page->GetMaxCharcode(); ++code) {
        std::string bytes{char(code >> 8), char(code)};
        int result = -2;
        std::wstring text = decode(950, bytes, true, &result);
        if (inUserBlock(code)) {
            EXPECT_EQ(result, 0) << std::hex << code << " gives U+" << (text.empty() ? 0 : int(text[0]));
            EXPECT_EQ(decode(950, bytes), L"?") << std::hex << code << " is not read as one character";
            EXPECT_FALSE(page->IsValidCharcode(uint16_t(code))) << std::hex << code;
        } else if (result == 1) {
            ++compared;
            EXPECT_EQ(text, std::wstring(1, system.Decode(bytes))) << std::hex << code;
        }
    }
    EXPECT_GT(compared, 13000);

    for (uint32_t u = 0; u <= 0xFFFF; ++u) {
        if (u >= 0xD800 && u <= 0xDFFF)
            continue;
        uint16_t code = page->GetCharcode(wchar_t(u));
        if (page->IsValidUnicode(wchar_t(u)) && inUserBlock(code))
            ADD_FAILURE() << "U+" << std::hex << u << " encodes into the user-defined block as " << code;
    }
    for (wchar_t other : {wchar_t(0x0401), wchar_t(0x30FE), wchar_t(0x3041), wchar_t(0x30A1), wchar_t(0xF6B1)}) {
        int result = -2;
        EXPECT_EQ(encode(950, std::wstring(1, other), true, &result), "") << std::hex << int(other);
        EXPECT_EQ(result, 0);
    }
    EXPECT_EQ(system.Encode(0x0401), "") << "the system's page has no code for U+0401 either";
    EXPECT_EQ(system.Decode("\xC6\xA1"), wchar_t(0xF6B1)) << "the system gives the block private-use characters";
    page->Release();
}

TEST(CodePageTest, StopAtInvalidStopsWhereTheDefaultWouldStandIn)
{
    int result = -2, taken = -1;
    EXPECT_EQ(decode(1252, "a\x81z"), L"a?z");
    EXPECT_EQ(decode(1252, "a\x81z", true, &result, &taken), L"a");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(taken, 1);

    EXPECT_EQ(encode(932, L"x\x20AC"), "x?");
    EXPECT_EQ(encode(932, L"x\x20AC", true, &result, &taken), "x");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(taken, 1);
}

TEST(CodePageTest, ALeadByteEndingTheSourceIsOneInvalidCharacter)
{
    int result = -2, taken = -1;
    EXPECT_EQ(decode(932, "A\x82", false, &result, &taken), L"A?");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(taken, 2);
    EXPECT_EQ(decode(932, "A\x82", true, &result, &taken), L"A");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(taken, 1);
}

struct LeadByteRows
{
    uint16_t page;
    uint8_t first;
    uint8_t last;
};

// The lead bytes of the double-byte pages, rows that map nothing included.
const LeadByteRows kLeadByteRows[] = {
    {932, 0x81, 0x9F}, {932, 0xE0, 0xFC}, {936, 0x81, 0xFE}, {949, 0x81, 0xFE}, {950, 0x81, 0xFE},
};

bool isLeadByteOf(uint16_t page, int byte)
{
    for (const LeadByteRows& rows : kLeadByteRows) {
        if (rows.page == page && byte >= rows.first && byte <= rows.last)
            return true;
    }
    return false;
}

// A lead byte whose row maps nothing still takes the byte after it: read alone, it would start the
// next character one byte early and lose step with the text.
TEST(CodePageTest, EveryLeadByteTakesTheNextByteWithIt)
{
    for (uint16_t number : {932, 936, 949, 950}) {
        IZR_CodePage* page = IZR_CodePage::Create(number);
        ASSERT_TRUE(page);
        for (int lead = 0; lead < 0x100; ++lead) {
            SCOPED_TRACE(testing::Message() << number << " lead " << std::hex << lead);
            EXPECT_EQ(page->IsLeadByte(uint8_t(lead)), isLeadByteOf(number, lead));
            if (!isLeadByteOf(number, lead))
                continue;
            std::string bytes{char(lead), 'A', 'B'};
            std::wstring text = decode(number, bytes);
            EXPECT_EQ(text.size(), 2u);
            EXPECT_EQ(text.back(), L'B');

            bool pairMaps = page->IsValidCharcode(uint16_t(lead << 8 | 'A'));
            int result = -2, taken = -1;
            EXPECT_EQ(decode(number, bytes, true, &result, &taken), pairMaps ? text : L"");
            EXPECT_EQ(result, pairMaps ? 1 : 0);
            EXPECT_EQ(taken, pairMaps ? 3 : 0);
        }
        page->Release();
    }

    int result = -2, taken = -1;
    EXPECT_EQ(decode(950, "\xC7\xA1\x41\x42"), L"?AB");
    EXPECT_EQ(decode(950, "\xC7\xA1\x41\x42", true, &result, &taken), L"");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(taken, 0);
}

TEST(CodePageTest, CharactersAboveTheBasicPlaneNeverLoseTheirHighBits)
{
    int result = -2;
    EXPECT_EQ(encode(1252, std::wstring{wchar_t(0x10041), wchar_t(0x1002F)}), "??");
    EXPECT_EQ(encode(932, std::wstring{wchar_t(0x13042)}, true, &result), "");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(encode(65001, std::wstring{wchar_t(0x1F600), L'/'}), "\xF0\x9F\x98\x80/");
    EXPECT_EQ(encode(1200, std::wstring{wchar_t(0x1F600)}), std::string("\x3D\xD8\x00\xDE", 4));
    EXPECT_EQ(decode(1200, std::string("\x3D\xD8\x00\xDE", 4)), std::wstring{wchar_t(0x1F600)});
}

TEST(CodePageTest, LengthsAndAFullOutput)
{
    int srcLen = 3, dstLen = 2;
    wchar_t out[2];
    EXPECT_EQ(ZR_DecodeString(1252, "abc", &srcLen, out, &dstLen, false), 1);
    EXPECT_EQ(srcLen, 2);
    EXPECT_EQ(dstLen, 2);

    char bytes[3];
    srcLen = 2;
    dstLen = 3;
    EXPECT_EQ(ZR_EncodeString(932, L"a\x3042", &srcLen, bytes, &dstLen, false), 1);
    EXPECT_EQ(srcLen, 2);
    EXPECT_EQ(dstLen, 3);
    srcLen = 2;
    dstLen = 2;
    EXPECT_EQ(ZR_EncodeString(932, L"a\x3042", &srcLen, bytes, &dstLen, false), 1);
    EXPECT_EQ(srcLen, 1);
    EXPECT_EQ(dstLen, 1);

    srcLen = 0;
    dstLen = 5;
    EXPECT_EQ(ZR_DecodeString(1252, "", &srcLen, out, &dstLen, false), 1);
    EXPECT_EQ(dstLen, 0);
    srcLen = 3;
    EXPECT_EQ(ZR_DecodeString(437, "abc", &srcLen, out, &dstLen, false), -1);
    EXPECT_EQ(srcLen, 0);
    EXPECT_EQ(ZR_DecodeString(1252, "abc", nullptr, out, &dstLen, false), -1);
}

TEST(CodePageTest, SixteenBitUnitsInBothByteOrders)
{
    EXPECT_EQ(decode(1200, std::string("A\0\x42\x30", 4)), L"A\x3042");
    EXPECT_EQ(decode(1201, std::string("\0A\x30\x42", 4)), L"A\x3042");
    EXPECT_EQ(encode(1201, L"A\x3042"), std::string("\0A\x30\x42", 4));
    int taken = 0;
    EXPECT_EQ(decode(1200, std::string("A\0B", 3), false, nullptr, &taken), L"A");
    EXPECT_EQ(taken, 2);

    wchar_t text[] = {0x1234, 0x00FF, 0};
    ZR_SwapByteOrder(text, -1);
    EXPECT_EQ(text[0], 0x3412);
    EXPECT_EQ(text[1], 0xFF00);
    wchar_t copy[2];
    ZR_SwapByteOrderCopy(text, copy, 2);
    EXPECT_EQ(copy[0], 0x1234);

    union {
        uint16_t units[4];
        wchar_t wide[2];
    } buffer{{0x41, 0x3042, 0, 0}};
    ZR_UTF16ToWChar(buffer.units, 2);
    EXPECT_EQ(buffer.wide[0], L'A');
    EXPECT_EQ(buffer.wide[1], 0x3042);
    ZR_WCharToUTF16(buffer.wide, 2);
    EXPECT_EQ(buffer.units[0], 0x41);
    EXPECT_EQ(buffer.units[1], 0x3042);
}

TEST(CodePageTest, CodePageObjectsAnswerTheirHeaders)
{
    EXPECT_EQ(IZR_CodePage::Create(437), nullptr);
    IZR_CodePageMgr* manager = IZR_CodePageMgr::Create();
    ASSERT_TRUE(manager);
    EXPECT_EQ(manager->GetDefaultCodePage(), 1252);
    EXPECT_TRUE(manager->IsValidCodePage(950));
    EXPECT_FALSE(manager->IsValidCodePage(65001));
    IZR_CodePage* page = manager->CreateCodePage(932);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->GetCodePageNumber(), 932);
    EXPECT_EQ(page->GetCharsetType(), 2u);
    EXPECT_TRUE(page->HasLeadBytes());
    EXPECT_TRUE(page->IsLeadByte(0x82));
    EXPECT_FALSE(page->IsLeadByte(0x41));
    EXPECT_EQ(page->GetMaxCharBytes(), 2);
    EXPECT_EQ(page->GetMaxCharcode(), 0xFC4Bu);
    EXPECT_EQ(page->GetMaxUnicode(), 0xFFE5u);
    EXPECT_EQ(page->GetUnicode(0x82A0), 0x3042);
    EXPECT_EQ(page->GetUnicode(0x82), ZR_NOT_A_CHARACTER);
    EXPECT_EQ(page->GetUnicode(0x4142), L'A');
    EXPECT_EQ(page->GetUnicode(0xFD40), ZR_NOT_A_CHARACTER);
    EXPECT_EQ(page->GetCharcode(0x3042), 0x82A0);
    EXPECT_TRUE(page->IsValidUnicode(0x3042));
    EXPECT_FALSE(page->IsValidUnicode(0x20AC));
    EXPECT_FALSE(page->IsValidUnicode(wchar_t(0x13042)));
    page->Release();
    manager->Release();
}

TEST(CodePageTest, CharsetAndNameTables)
{
    EXPECT_EQ(ZR_GetCodePageFromCharset(128), 932);
    EXPECT_EQ(ZR_GetCodePageFromCharset(3), ZR_NO_CODEPAGE);
    EXPECT_EQ(ZR_GetCharsetFromCodePage(1252), 0);
    EXPECT_EQ(ZR_GetCharsetFromCodePage(65001), ZR_NO_CODEPAGE);
    for (int charset = 0; charset < 256; ++charset) {
        uint16_t page = ZR_GetCodePageFromCharset(uint8_t(charset));
        if (page != ZR_NO_CODEPAGE) {
            EXPECT_EQ(ZR_GetCharsetFromCodePage(page), charset);
        }
    }

    const std::pair<const char*, uint16_t> names[] = {
        {"utf-8", 65001}, {"UTF-8", 65001}, {"Shift_JIS", 932}, {"windows-1252", 1252}, {"ISO-8859-1", 1252},
        {"gb2312", 936},  {"GBK", 936},     {"Big5", 950},      {"EUC-KR", 949},        {"windows-1251", 1251},
        {"koi8-r", 20866}, {"utf-16be", 1201}, {"", ZR_NO_CODEPAGE}, {"no such charset", ZR_NO_CODEPAGE},
    };
    for (const auto& name : names) {
        EXPECT_EQ(ZR_GetCodePageFromStringA(name.first, -1), name.second) << name.first;
        std::wstring wide(name.first, name.first + strlen(name.first));
        EXPECT_EQ(ZR_GetCodePageFormStringW(wide.c_str(), -1), name.second) << name.first;
    }
    EXPECT_EQ(ZR_GetCodePageFromStringA("utf-8 and more", 5), 65001);
    for (int i = 1; i < ZR_CHARSET_NAME_COUNT; ++i)
        EXPECT_LT(g_ZRCharsetNames[i - 1].hash, g_ZRCharsetNames[i].hash);
}

TEST(CodePageTest, CharacterMaps)
{
    const CZR_CharMap* map = CZR_CharMap::GetDefaultMapper(1252);
    ASSERT_TRUE(map);
    EXPECT_EQ(map->GetCodePage(), 1252);
    EXPECT_EQ(CZR_CharMap::GetDefaultMapper(65001), nullptr);
    EXPECT_EQ(CZR_CharMap::GetDefaultMapper(0)->GetCodePage, nullptr);

    const CZR_CharMap* japanese = CZR_CharMap::GetDefaultMapper(932);
    ASSERT_TRUE(japanese);
    CZR_WideString text = japanese->GetWideString(japanese, CZR_ByteString("\x82\xA0\x41"));
    EXPECT_EQ(std::wstring(text.c_str(), size_t(text.GetLength())), L"\x3042\x41");
    CZR_ByteString bytes = japanese->GetByteString(japanese, CZR_WideString(L"\x3042\x20AC"));
    EXPECT_EQ(std::string(bytes.c_str(), size_t(bytes.GetLength())), "\x82\xA0?");
    EXPECT_EQ(japanese->GetWideString(japanese, CZR_ByteString()).GetLength(), 0);
}

struct Utf8Case
{
    const char* bytes;
    std::vector<wchar_t> characters;
    int taken;
};

TEST(CodePageTest, CountedUtf8DecodingAsATable)
{
    const Utf8Case cases[] = {
        {"\xE4\xB8\xAD\x41", {0x4E2D, L'A'}, 4},
        {"\xE4\xB8", {}, 0},
        {"a\x80z", {L'a'}, 1},
        {"a\xFEz", {L'a'}, 1},
        {"\xC3\x41", {}, 0},
        {"\xF0\x9F\x98\x80", {0x1F600}, 4},
        {"\xFD\xBF\xBF\xBF\xBF\xBF", {0x7FFFFFFF}, 6},
    };
    for (const Utf8Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        int srcLen = int(strlen(c.bytes));
        wchar_t out[8];
        int dstLen = 8;
        EXPECT_EQ(ZR_UTF8Decode(c.bytes, &srcLen, out, &dstLen), 1);
        EXPECT_EQ(srcLen, c.taken);
        EXPECT_EQ(std::vector<wchar_t>(out, out + dstLen), c.characters);
    }
}

TEST(CodePageTest, CountedUtf8EncodingMeasuresAndStopsBeforeACharacterThatDoesNotFit)
{
    const wchar_t text[] = {L'a', 0xE9, 0x4E2D, 0x1F600};
    int srcLen = 4, dstLen = 0;
    EXPECT_EQ(ZR_UTF8Encode(text, &srcLen, nullptr, &dstLen), 1);
    EXPECT_EQ(dstLen, 10);
    char out[10];
    srcLen = 4;
    dstLen = 8;
    EXPECT_EQ(ZR_UTF8Encode(text, &srcLen, out, &dstLen), 1);
    EXPECT_EQ(srcLen, 3);
    EXPECT_EQ(std::string(out, size_t(dstLen)), "a\xC3\xA9\xE4\xB8\xAD");
}

TEST(CodePageTest, Utf8StructureTestAsATable)
{
    const struct
    {
        std::string bytes;
        bool utf8;
        int length;
    } cases[] = {
        {"\xC3\xA9\x41", true, 2},  {"\x80", false, 0},         {"abc", true, 0}, {"\xE4\xB8", true, 0},
        {"a\xE4\xB8\xAD\xC3", true, 4}, {"\xC3\x41", false, 0}, {"\xFE", false, 0}, {"\xF8\x88\x80\x80\x80", true, 5},
    };
    for (const auto& c : cases) {
        int length = int(c.bytes.size());
        EXPECT_EQ(ZR_IsUTF8Data(reinterpret_cast<const uint8_t*>(c.bytes.data()), &length), c.utf8) << c.bytes;
        EXPECT_EQ(length, c.length) << c.bytes;
    }
    int length = 0;
    EXPECT_TRUE(ZR_IsUTF8Data(nullptr, &length));
}

} // namespace
