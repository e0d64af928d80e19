#include "codecs/ZRCodePage.h"

#include "strings/CZR_ByteString.h"
#include "system/ZRSYS_Runtime.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint16_t kUTF8 = 65001;
constexpr uint16_t kUTF16LE = 1200;
constexpr uint16_t kUTF16BE = 1201;
constexpr uint16_t kNoRange = 0xFFFF;

struct CharsetPair
{
    uint16_t key;
    uint16_t value;
};

// Font character sets and their code pages, sorted by charset, and the same pairs sorted by code page.
const CharsetPair kCodePageOfCharset[] = {
    {0, 1252},    {1, 0},       {2, 42},      {77, 10000},  {78, 10001},  {79, 10003},  {80, 10008},  {81, 10002},
    {83, 10005},  {84, 10004},  {85, 10006},  {86, 10081},  {87, 10021},  {88, 10029},  {89, 10007},  {128, 932},
    {129, 949},   {130, 1361},  {134, 936},   {136, 950},   {161, 1253},  {162, 1254},  {163, 1258},  {177, 1255},
    {178, 1256},  {186, 1257},  {204, 1251},  {222, 874},   {238, 1250},  {254, 437},   {255, 850},
};
const CharsetPair kCharsetOfCodePage[] = {
    {0, 1},       {42, 2},      {437, 254},   {850, 255},   {874, 222},   {932, 128},   {936, 134},   {949, 129},
    {950, 136},   {1250, 238},  {1251, 204},  {1252, 0},    {1253, 161},  {1254, 162},  {1255, 177},  {1256, 178},
    {1257, 186},  {1258, 163},  {1361, 130},  {10000, 77},  {10001, 78},  {10002, 81},  {10003, 79},  {10004, 84},
    {10005, 83},  {10006, 85},  {10007, 89},  {10008, 80},  {10021, 87},  {10029, 88},  {10081, 86},
};

template <size_t N> uint16_t lookUp(const CharsetPair (&pairs)[N], uint16_t key)
{
    auto found = std::lower_bound(pairs, pairs + N, key, [](const CharsetPair& p, uint16_t k) { return p.key < k; });
    return found != pairs + N && found->key == key ? found->value : ZR_NO_CODEPAGE;
}

uint16_t codePageOfHash(uint32_t hash)
{
    const ZR_CHARSET_NAME* end = g_ZRCharsetNames + ZR_CHARSET_NAME_COUNT;
    auto found = std::lower_bound(g_ZRCharsetNames, end, hash,
                                  [](const ZR_CHARSET_NAME& entry, uint32_t h) { return entry.hash < h; });
    return found != end && found->hash == hash ? found->codePage : ZR_NO_CODEPAGE;
}

uint16_t secondByteUnicode(const _ZR_CODEPAGE* page, _ZR_CODEPAGE_BYTEINDEX lead, uint8_t second)
{
    const _ZR_CODEPAGE_BYTERANGE* ranges = page->secondIndex + lead.value;
    int last = -1;
    for (int i = 0; i < lead.count && ranges[i].firstByte <= second; ++i)
        last = i;
    if (last < 0)
        return ZR_NOT_A_CHARACTER;
    const _ZR_CODEPAGE_BYTERANGE& range = ranges[last];
    int distance = second - range.firstByte;
    return range.kind == ZR_CODEPAGE_TABLE ? page->byteData[range.offset + distance] : ZR_NOT_A_CHARACTER;
}

// Each block of 256 characters lies in one range: the block index leads straight to it.
const _ZR_CODEPAGE_UNICODERANGE* findUnicodeRange(const _ZR_CODEPAGE* page, uint32_t unicode)
{
    int index = page->unicodeBlocks[unicode >> 8];
    if (index >= page->unicodeRangeCount)
        return nullptr;
    const _ZR_CODEPAGE_UNICODERANGE* range = page->unicodeRanges + index;
    return unicode >= range->firstUnicode && unicode <= range->lastUnicode ? range : nullptr;
}

uint16_t codeInRange(const _ZR_CODEPAGE* page, const _ZR_CODEPAGE_UNICODERANGE& range, uint32_t unicode)
{
    uint32_t distance = unicode - range.firstUnicode;
    return range.kind == ZR_CODEPAGE_TABLE ? page->unicodeData[range.offset + distance] : ZR_NOT_A_CHARACTER;
}

// Lengths in and out of one conversion; `write` is false when the output is only counted.
struct Lengths
{
    int sourceLength;
    int capacity;
    bool write;
    int taken = 0;
    int produced = 0;

    Lengths(int* srcLen, const void* dst, int* dstLen)
        : sourceLength(*srcLen), capacity(*dstLen), write(dst && *dstLen > 0)
    {
    }
    bool Full(int needed) const { return write && produced + needed > capacity; }
    int Finish(int* srcLen, int* dstLen, int result) const
    {
        *srcLen = taken;
        *dstLen = produced;
        return result;
    }
};

// A page without lead bytes: one character per byte.
template <bool Write>
int decodeSingleBytes(const _ZR_CODEPAGE* page, const char* src, int* srcLen, wchar_t* dst, int* dstLen,
                      bool stopAtInvalid)
{
    const _ZR_CODEPAGE_BYTEINDEX* firstIndex = page->firstIndex;
    auto fallback = wchar_t(page->header->defaultUnicode);
    int count = Write ? std::min(*srcLen, *dstLen) : *srcLen;
    for (int i = 0; i < count; ++i) {
        uint16_t unicode = firstIndex[uint8_t(src[i])].value;
        if (unicode == ZR_NOT_A_CHARACTER && stopAtInvalid) {
            *srcLen = *dstLen = i;
            return 0;
        }
        if (Write)
            dst[i] = unicode == ZR_NOT_A_CHARACTER ? fallback : wchar_t(unicode);
    }
    *srcLen = *dstLen = count;
    return 1;
}

// The code of a character in a page, kNoRange or ZR_NOT_A_CHARACTER when it has none. Compared
// whole: a character above U+FFFF has no code, whatever its low 16 bits are.
uint16_t codeOf(const _ZR_CODEPAGE* page, wchar_t c)
{
    const _ZR_CODEPAGE_HEADER* header = page->header;
    if (uint32_t(c) < header->minUnicode || uint32_t(c) > header->maxUnicode)
        return kNoRange;
    return ZR_CodePage_GetCharcode(page, c);
}

template <bool Write>
int encodeWithPage(const _ZR_CODEPAGE* page, const wchar_t* src, int* srcLen, char* dst, int* dstLen,
                   bool stopAtInvalid)
{
    auto fallback = uint16_t(page->header->defaultCharcode);
    int count = *srcLen;
    int capacity = *dstLen;
    int taken = 0;
    int produced = 0;
    int result = 1;
    for (; taken < count; ++taken) {
        uint16_t code = codeOf(page, src[taken]);
        if (code == kNoRange || code == ZR_NOT_A_CHARACTER) {
            if (stopAtInvalid) {
                result = 0;
                break;
            }
            code = fallback;
        }
        int second = code > 0xFF;
        if (Write) {
            if (produced + second >= capacity)
                break;
            // Written without a branch on the width: a one-byte code writes its byte twice.
            dst[produced] = char(second ? code >> 8 : code);
            dst[produced + second] = char(code);
        }
        produced += 1 + second;
    }
    *srcLen = taken;
    *dstLen = produced;
    return result;
}

// A page with lead bytes: one or two bytes per character.
template <bool Write>
int decodeDoubleBytes(const _ZR_CODEPAGE* page, const char* src, int* srcLen, wchar_t* dst, int* dstLen,
                      bool stopAtInvalid)
{
    const _ZR_CODEPAGE_BYTEINDEX* firstIndex = page->firstIndex;
    auto fallback = wchar_t(page->header->defaultUnicode);
    int count = *srcLen;
    int capacity = *dstLen;
    int taken = 0;
    int produced = 0;
    int result = 1;
    while (taken < count && (!Write || produced < capacity)) {
        _ZR_CODEPAGE_BYTEINDEX entry = firstIndex[uint8_t(src[taken])];
        uint16_t unicode = entry.value;
        int used = 1;
        if (entry.count) {
            // A lead byte that ends the source is one character that is not there.
            unicode = ZR_NOT_A_CHARACTER;
            if (taken + 1 < count) {
                unicode = secondByteUnicode(page, entry, uint8_t(src[taken + 1]));
                used = 2;
            }
        }
        if (unicode == ZR_NOT_A_CHARACTER && stopAtInvalid) {
            result = 0;
            break;
        }
        if (Write)
            dst[produced] = unicode == ZR_NOT_A_CHARACTER ? fallback : wchar_t(unicode);
        ++produced;
        taken += used;
    }
    *srcLen = taken;
    *dstLen = produced;
    return result;
}

bool isHighSurrogate(uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

uint16_t readUnit(const char* at, bool bigEndian)
{
    uint8_t first = uint8_t(at[0]), second = uint8_t(at[1]);
    return bigEndian ? uint16_t(first << 8 | second) : uint16_t(second << 8 | first);
}

void writeUnit(char* at, uint16_t unit, bool bigEndian)
{
    at[bigEndian ? 1 : 0] = char(unit & 0xFF);
    at[bigEndian ? 0 : 1] = char(unit >> 8);
}

int decodeUnits(bool bigEndian, const char* src, int* srcLen, wchar_t* dst, int* dstLen)
{
    Lengths n(srcLen, dst, dstLen);
    while (n.taken + 2 <= n.sourceLength && !n.Full(1)) {
        uint32_t c = readUnit(src + n.taken, bigEndian);
        int used = 2;
        if (isHighSurrogate(c) && n.taken + 4 <= n.sourceLength) {
            uint32_t low = readUnit(src + n.taken + 2, bigEndian);
            if (isLowSurrogate(low)) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                used = 4;
            }
        }
        if (n.write)
            dst[n.produced] = wchar_t(c);
        ++n.produced;
        n.taken += used;
    }
    return n.Finish(srcLen, dstLen, 1);
}

int encodeUnits(bool bigEndian, const wchar_t* src, int* srcLen, char* dst, int* dstLen, bool stopAtInvalid)
{
    Lengths n(srcLen, dst, dstLen);
    for (; n.taken < n.sourceLength; ++n.taken) {
        uint32_t c = uint32_t(src[n.taken]);
        if (c > 0x10FFFF) {
            if (stopAtInvalid)
                return n.Finish(srcLen, dstLen, 0);
            c = '?';
        }
        uint16_t units[2] = {uint16_t(c), 0};
        int count = 1;
        if (c > 0xFFFF) {
            units[0] = uint16_t(0xD800 + ((c - 0x10000) >> 10));
            units[1] = uint16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
            count = 2;
        }
        if (n.Full(2 * count))
            break;
        for (int i = 0; n.write && i < count; ++i)
            writeUnit(dst + n.produced + 2 * i, units[i], bigEndian);
        n.produced += 2 * count;
    }
    return n.Finish(srcLen, dstLen, 1);
}

int utf8SequenceLength(uint8_t lead)
{
    if (lead < 0x80)
        return 1;
    if (lead < 0xC0)
        return 0;
    if (lead < 0xE0)
        return 2;
    if (lead < 0xF0)
        return 3;
    if (lead < 0xF8)
        return 4;
    if (lead < 0xFC)
        return 5;
    return lead < 0xFE ? 6 : 0;
}

bool isContinuation(uint8_t b) { return (b & 0xC0) == 0x80; }

int utf8EncodedLength(uint32_t c)
{
    return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : c < 0x200000 ? 4 : c < 0x4000000 ? 5 : 6;
}

void writeUtf8(char* out, uint32_t c, int length)
{
    static const uint8_t lead[7] = {0, 0, 0xC0, 0xE0, 0xF0, 0xF8, 0xFC};
    if (length == 1) {
        out[0] = char(c);
        return;
    }
    out[0] = char(lead[length] | (c >> (6 * (length - 1))));
    for (int i = 1; i < length; ++i)
        out[i] = char(0x80 | ((c >> (6 * (length - 1 - i))) & 0x3F));
}

bool validLengths(int* srcLen, int* dstLen)
{
    if (!srcLen || !dstLen)
        return false;
    if (*srcLen < 1)
        *srcLen = *dstLen = 0;
    return true;
}

} // namespace

const _ZR_CODEPAGE* ZR_GetCodePage(uint16_t codepage)
{
    const _ZR_CODEPAGE* end = g_ZRCodePageDirectory + ZR_CODEPAGE_COUNT;
    auto found = std::lower_bound(g_ZRCodePageDirectory, end, codepage,
                                  [](const _ZR_CODEPAGE& page, uint16_t cp) { return page.header->codePage < cp; });
    return found != end && found->header->codePage == codepage ? found : nullptr;
}

uint16_t ZR_CodePage_GetUnicode(const _ZR_CODEPAGE* page, uint16_t code)
{
    const _ZR_CODEPAGE_HEADER* header = page->header;
    if (code < header->minCharcode || code > header->maxCharcode)
        return ZR_NOT_A_CHARACTER;
    if (code < 0x100) {
        _ZR_CODEPAGE_BYTEINDEX entry = page->firstIndex[code];
        return entry.count ? ZR_NOT_A_CHARACTER : entry.value;
    }
    _ZR_CODEPAGE_BYTEINDEX lead = page->firstIndex[code >> 8];
    return lead.count ? secondByteUnicode(page, lead, uint8_t(code)) : lead.value;
}

uint16_t ZR_CodePage_GetCharcode(const _ZR_CODEPAGE* page, wchar_t unicode)
{
    if (unicode < 0 || unicode > 0xFFFF)
        return kNoRange;
    const _ZR_CODEPAGE_UNICODERANGE* range = findUnicodeRange(page, uint32_t(unicode));
    return range ? codeInRange(page, *range, uint32_t(unicode)) : kNoRange;
}

uint16_t ZR_GetCodePageFromCharset(uint8_t charset) { return lookUp(kCodePageOfCharset, charset); }

uint16_t ZR_GetCharsetFromCodePage(uint16_t codepage) { return lookUp(kCharsetOfCodePage, codepage); }

uint16_t ZR_GetCodePageFromStringA(const char* name, int length)
{
    if (!name)
        return ZR_NO_CODEPAGE;
    if (length < 0)
        length = int(strlen(name));
    if (length == 0)
        return ZR_NO_CODEPAGE;
    return codePageOfHash(ZR_HashCode_String_GetA(name, length, true));
}

uint16_t ZR_GetCodePageFormStringW(const wchar_t* name, int length)
{
    if (!name)
        return ZR_NO_CODEPAGE;
    if (length < 0)
        length = int(wcslen(name));
    if (length == 0)
        return ZR_NO_CODEPAGE;
    CZR_ByteString narrow;
    char* bytes = narrow.GetBuffer(length);
    if (!bytes)
        return ZR_NO_CODEPAGE;
    for (int i = 0; i < length; ++i)
        bytes[i] = char(name[i] & 0xFF);
    return codePageOfHash(ZR_HashCode_String_GetA(bytes, length, true));
}

int ZR_DecodeString(uint16_t codepage, const char* src, int* srcLen, wchar_t* dst, int* dstLen, bool stopAtInvalid)
{
    if (codepage == kUTF8)
        return ZR_UTF8Decode(src, srcLen, dst, dstLen);
    if (!validLengths(srcLen, dstLen))
        return -1;
    if (*srcLen == 0)
        return 1;
    if (codepage == kUTF16LE || codepage == kUTF16BE)
        return decodeUnits(codepage == kUTF16BE, src, srcLen, dst, dstLen);
    const _ZR_CODEPAGE* page = ZR_GetCodePage(codepage);
    if (!page) {
        *srcLen = *dstLen = 0;
        return -1;
    }
    if (!page->header->hasLeadBytes)
        return dst && *dstLen > 0 ? decodeSingleBytes<true>(page, src, srcLen, dst, dstLen, stopAtInvalid)
                                  : decodeSingleBytes<false>(page, src, srcLen, dst, dstLen, stopAtInvalid);
    return dst && *dstLen > 0 ? decodeDoubleBytes<true>(page, src, srcLen, dst, dstLen, stopAtInvalid)
                              : decodeDoubleBytes<false>(page, src, srcLen, dst, dstLen, stopAtInvalid);
}


int ZR_EncodeString(uint16_t codepage, const wchar_t* src, int* srcLen, char* dst, int* dstLen, bool stopAtInvalid)
{
    if (codepage == kUTF8)
        return ZR_UTF8Encode(src, srcLen, dst, dstLen);
    if (!validLengths(srcLen, dstLen))
        return -1;
    if (*srcLen == 0)
        return 1;
    if (codepage == kUTF16LE || codepage == kUTF16BE)
        return encodeUnits(codepage == kUTF16BE, src, srcLen, dst, dstLen, stopAtInvalid);
    const _ZR_CODEPAGE* page = ZR_GetCodePage(codepage);
    if (!page) {
        *srcLen = *dstLen = 0;
        return -1;
    }
    return dst && *dstLen > 0 ? encodeWithPage<true>(page, src, srcLen, dst, dstLen, stopAtInvalid)
                              : encodeWithPage<false>(page, src, srcLen, dst, dstLen, stopAtInvalid);
}

int ZR_UTF8Decode(const char* src, int* srcLen, wchar_t* dst, int* dstLen)
{
    if (!validLengths(srcLen, dstLen))
        return -1;
    Lengths n(srcLen, dst, dstLen);
    while (n.taken < n.sourceLength && !n.Full(1)) {
        uint8_t lead = uint8_t(src[n.taken]);
        int length = utf8SequenceLength(lead);
        if (length == 0 || n.taken + length > n.sourceLength)
            break;
        uint32_t c = length == 1 ? lead : lead & (0x7F >> length);
        int i = 1;
        for (; i < length && isContinuation(uint8_t(src[n.taken + i])); ++i)
            c = c << 6 | (uint8_t(src[n.taken + i]) & 0x3F);
        if (i < length)
            break;
        if (n.write)
            dst[n.produced] = wchar_t(c);
        ++n.produced;
        n.taken += length;
    }
    return n.Finish(srcLen, dstLen, 1);
}

int ZR_UTF8Encode(const wchar_t* src, int* srcLen, char* dst, int* dstLen)
{
    if (!validLengths(srcLen, dstLen))
        return -1;
    Lengths n(srcLen, dst, dstLen);
    for (; n.taken < n.sourceLength; ++n.taken) {
        // Negative characters have no encoding and are left out, as the string conversions do.
        if (src[n.taken] < 0)
            continue;
        uint32_t c = uint32_t(src[n.taken]);
        int length = utf8EncodedLength(c);
        if (n.Full(length))
            break;
        if (n.write)
            writeUtf8(dst + n.produced, c, length);
        n.produced += length;
    }
    return n.Finish(srcLen, dstLen, 1);
}

bool ZR_IsUTF8Data(const uint8_t* data, int* length)
{
    if (!length || *length <= 0)
        return true;
    int size = *length;
    *length = 0;
    for (int i = 0; i < size;) {
        int sequence = utf8SequenceLength(data[i]);
        if (sequence == 0)
            return false;
        int end = std::min(size, i + sequence);
        for (int k = i + 1; k < end; ++k) {
            if (!isContinuation(data[k]))
                return false;
        }
        if (sequence > 1 && i + sequence <= size)
            *length = i + sequence;
        i += sequence;
    }
    return true;
}

// In place, the units and the characters share one buffer: each moves through memcpy.
void ZR_UTF16ToWChar(void* buffer, int count)
{
    auto* bytes = static_cast<uint8_t*>(buffer);
    for (int i = count - 1; i >= 0; --i) {
        uint16_t unit;
        memcpy(&unit, bytes + 2 * size_t(i), sizeof(unit));
        wchar_t c = wchar_t(unit);
        memcpy(bytes + 4 * size_t(i), &c, sizeof(c));
    }
}

void ZR_UTF16ToWCharCopy(const uint16_t* src, wchar_t* dst, int count)
{
    for (int i = 0; i < count; ++i)
        dst[i] = wchar_t(src[i]);
}

void ZR_WCharToUTF16(void* buffer, int count)
{
    auto* bytes = static_cast<uint8_t*>(buffer);
    for (int i = 0; i < count; ++i) {
        wchar_t c;
        memcpy(&c, bytes + 4 * size_t(i), sizeof(c));
        uint16_t unit = uint16_t(c);
        memcpy(bytes + 2 * size_t(i), &unit, sizeof(unit));
    }
}

void ZR_WCharToUTF16Copy(const wchar_t* src, uint16_t* dst, int count)
{
    for (int i = 0; i < count; ++i)
        dst[i] = uint16_t(src[i]);
}

void ZR_SwapByteOrderCopy(const wchar_t* src, wchar_t* dst, int count)
{
    if (count < 0)
        count = int(wcslen(src));
    for (int i = 0; i < count; ++i) {
        uint32_t c = uint32_t(src[i]);
        dst[i] = wchar_t((c & 0xFFFF0000u) | (c & 0xFF) << 8 | (c >> 8 & 0xFF));
    }
}

void ZR_SwapByteOrder(wchar_t* text, int count) { ZR_SwapByteOrderCopy(text, text, count); }
