#pragma once

#include <cstdint>

// The built-in code pages: for each, a header, a byte-to-Unicode map and a Unicode-to-byte map.
struct _ZR_CODEPAGE_HEADER
{
    uint16_t codePage;
    uint8_t minCharBytes;
    uint8_t maxCharBytes;
    uint32_t charsetType; // 1 single-byte, 2 double-byte
    uint32_t hasLeadBytes;
    uint32_t minCharcode;
    uint32_t maxCharcode;
    uint32_t defaultCharcode;
    uint32_t minUnicode;
    uint32_t maxUnicode;
    uint32_t defaultUnicode;
};

// One entry per first byte. count 0: a character of its own, `value` (ZR_NOT_A_CHARACTER: none);
// count above 0: a lead byte whose second bytes are described by `count` ranges from entry `value`
// of the second index.
struct _ZR_CODEPAGE_BYTEINDEX
{
    uint16_t count;
    uint16_t value;
};

// Range kinds: the value at data[offset + d] (ZR_NOT_A_CHARACTER for a hole); not characters.
constexpr uint8_t ZR_CODEPAGE_TABLE = 1;
constexpr uint8_t ZR_CODEPAGE_NONE = 3;

// Second bytes from `firstByte` on, up to the next range's first byte.
struct _ZR_CODEPAGE_BYTERANGE
{
    uint8_t firstByte;
    uint8_t kind;
    uint16_t offset;
};

// Characters from `firstUnicode` to `lastUnicode`; the ranges are sorted and do not overlap.
struct _ZR_CODEPAGE_UNICODERANGE
{
    uint16_t firstUnicode;
    uint16_t lastUnicode;
    uint16_t kind;
    uint16_t offset;
};

struct _ZR_CODEPAGE
{
    const _ZR_CODEPAGE_HEADER* header;
    const _ZR_CODEPAGE_BYTEINDEX* firstIndex; // 256 entries
    const _ZR_CODEPAGE_BYTERANGE* secondIndex;
    const uint16_t* byteData;
    const _ZR_CODEPAGE_UNICODERANGE* unicodeRanges;
    int unicodeRangeCount;
    const uint16_t* unicodeData;
    // 257 entries: for each block of 256 characters, the range that holds it; past the last range,
    // the range count.
    const uint16_t* unicodeBlocks;
};

// A charset name's hash (case folded) and its code page.
struct ZR_CHARSET_NAME
{
    uint32_t hash;
    uint16_t codePage;
};

constexpr uint16_t ZR_NOT_A_CHARACTER = 0xFEFF;
constexpr uint16_t ZR_NO_CODEPAGE = 65535;
constexpr int ZR_CODEPAGE_COUNT = 14;
constexpr int ZR_CHARSET_NAME_COUNT = 312;

// Sorted by code page number: 874, 932, 936, 949, 950, 1250 to 1258.
extern const _ZR_CODEPAGE g_ZRCodePageDirectory[ZR_CODEPAGE_COUNT];
// Sorted by hash, strictly ascending.
extern const ZR_CHARSET_NAME g_ZRCharsetNames[ZR_CHARSET_NAME_COUNT];

// The record of a built-in code page, or null.
const _ZR_CODEPAGE* ZR_GetCodePage(uint16_t codepage);
// The character of a byte or two-byte code, ZR_NOT_A_CHARACTER when there is none.
uint16_t ZR_CodePage_GetUnicode(const _ZR_CODEPAGE* page, uint16_t code);
// The code of a character: 0xFFFF when no range holds it, ZR_NOT_A_CHARACTER when it has none.
uint16_t ZR_CodePage_GetCharcode(const _ZR_CODEPAGE* page, wchar_t unicode);

uint16_t ZR_GetCodePageFromCharset(uint8_t charset);
uint16_t ZR_GetCharsetFromCodePage(uint16_t codepage);
// A negative length measures the name; names match without regard to the case of A to Z.
uint16_t ZR_GetCodePageFromStringA(const char* name, int length);
// The same with each wide character narrowed to its low byte.
uint16_t ZR_GetCodePageFormStringW(const wchar_t* name, int length);

// Conversions between a code page's bytes and wide characters. `srcLen` and `dstLen` hold the
// lengths given and receive the lengths used: the bytes or characters taken, and those produced
// (only counted when `dst` is null or `*dstLen` is not above 0). The answer is 1 when the source
// was taken (or the output filled), 0 when `stopAtInvalid` stopped at something the page cannot
// convert, -1 for null lengths or an unknown code page. Without `stopAtInvalid`, what cannot be
// converted becomes the page's default character. 65001 is UTF-8; 1200 and 1201 are 16-bit units,
// low byte first and high byte first.
int ZR_DecodeString(uint16_t codepage, const char* src, int* srcLen, wchar_t* dst, int* dstLen, bool stopAtInvalid);
int ZR_EncodeString(uint16_t codepage, const wchar_t* src, int* srcLen, char* dst, int* dstLen, bool stopAtInvalid);

// UTF-8 with sequences of up to six bytes; the conversion stops at a byte that cannot start or
// continue a character, and before a character that is not complete.
int ZR_UTF8Decode(const char* src, int* srcLen, wchar_t* dst, int* dstLen);
// Every character is encoded whole; the output stops before a character that does not fit.
int ZR_UTF8Encode(const wchar_t* src, int* srcLen, char* dst, int* dstLen);
// Whether the bytes are built like UTF-8; `length` becomes the offset after the last complete
// multi-byte sequence. A sequence cut by the end of the data passes.
bool ZR_IsUTF8Data(const uint8_t* data, int* length);

// Widen 16-bit units to wide characters (in place from the end, or into `dst`) and back.
void ZR_UTF16ToWChar(void* buffer, int count);
void ZR_UTF16ToWCharCopy(const uint16_t* src, wchar_t* dst, int count);
void ZR_WCharToUTF16(void* buffer, int count);
void ZR_WCharToUTF16Copy(const wchar_t* src, uint16_t* dst, int count);
// Swap the two bytes of the 16-bit unit in each wide character; a negative count measures the text.
void ZR_SwapByteOrder(wchar_t* text, int count);
void ZR_SwapByteOrderCopy(const wchar_t* src, wchar_t* dst, int count);
