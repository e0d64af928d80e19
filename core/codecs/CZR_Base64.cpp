#include "codecs/CZR_Base64.h"

#include <climits>
#include <cstdint>

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

struct DecodeTable
{
    unsigned char values[128];

    DecodeTable()
    {
        for (unsigned char& value : values)
            value = 0xFF;
        for (unsigned i = 0; i < 64; ++i)
            values[static_cast<unsigned char>(kAlphabet[i])] = static_cast<unsigned char>(i);
    }
};

const DecodeTable kDecodeTable;

unsigned char lookUpStandard(wchar_t c) { return kDecodeTable.values[unsigned(c) & 127]; }

// Characters for n input bytes, or -1 when the count does not fit in an int.
int encodedSize(int n)
{
    int64_t size = 4 * ((int64_t(n) + 2) / 3);
    return size > INT_MAX ? -1 : int(size);
}

template <class CharT, class AlphabetFn>
int encodeInto(const unsigned char* src, int n, CharT* dst, AlphabetFn alphabet, CharT padding)
{
    int size = n < 1 ? 0 : encodedSize(n);
    if (size <= 0)
        return 0;
    if (!dst)
        return size;
    CharT* out = dst;
    for (int i = 0; i < n; i += 3) {
        int left = n - i;
        uint32_t group = uint32_t(src[i]) << 16;
        if (left > 1)
            group |= uint32_t(src[i + 1]) << 8;
        if (left > 2)
            group |= src[i + 2];
        *out++ = alphabet((group >> 18) & 63);
        *out++ = alphabet((group >> 12) & 63);
        *out++ = left > 1 ? alphabet((group >> 6) & 63) : padding;
        *out++ = left > 2 ? alphabet(group & 63) : padding;
    }
    return size;
}

template <class CharT> int withoutTrailing(const CharT* src, int n, CharT padding)
{
    while (n > 0 && src[n - 1] == padding)
        --n;
    return n;
}

// Bytes for m characters left after the padding; at most three quarters of an int, so it fits.
int decodedSize(int m)
{
    int64_t size = 3 * (int64_t(m) / 4) + (m % 4 == 3 ? 2 : m % 4 ? 1 : 0);
    return int(size);
}

template <class CharT, class LookUpFn> int decodeInto(const CharT* src, int m, unsigned char* dst, LookUpFn lookUp)
{
    int size = decodedSize(m);
    if (!dst || size == 0)
        return size;
    unsigned char* out = dst;
    for (int i = 0; i < m; i += 4) {
        int left = m - i;
        unsigned a = lookUp(src[i]);
        unsigned b = left > 1 ? lookUp(src[i + 1]) : 0;
        *out++ = static_cast<unsigned char>(a << 2 | b >> 4);
        if (left < 3)
            continue;
        unsigned c = lookUp(src[i + 2]);
        *out++ = static_cast<unsigned char>(b << 4 | c >> 2);
        if (left < 4)
            continue;
        *out++ = static_cast<unsigned char>(c << 6 | lookUp(src[i + 3]));
    }
    return size;
}

}

wchar_t ZRCRT_DefBase64Encoder(unsigned index) { return wchar_t(kAlphabet[index & 63]); }

unsigned char ZRCRT_DefBase64Decoder(wchar_t c) { return lookUpStandard(c); }

CZR_Base64Encoder::CZR_Base64Encoder(wchar_t padding) : m_pEncoder(ZRCRT_DefBase64Encoder), m_Padding(padding) {}

int CZR_Base64Encoder::Encode(const unsigned char* src, int n, char* dst)
{
    return encodeInto(src, n, dst, [](unsigned index) { return kAlphabet[index]; }, '=');
}

int CZR_Base64Encoder::Encode(const unsigned char* src, int n, wchar_t* dst)
{
    return encodeInto(src, n, dst, m_pEncoder, m_Padding);
}

int CZR_Base64Encoder::Encode(const CZR_ByteStringC& src, CZR_WideString& dst)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(src.GetPtr());
    int size = Encode(bytes, src.GetLength(), static_cast<wchar_t*>(nullptr));
    CZR_WideString encoded;
    wchar_t* chars = size > 0 ? encoded.GetBuffer(size) : nullptr;
    if (!chars)
        return 0;
    Encode(bytes, src.GetLength(), chars);
    encoded.ReleaseBuffer(size);
    dst = encoded;
    return size;
}

int CZR_Base64Encoder::Encode(const CZR_ByteStringC& src, CZR_ByteString& dst)
{
    CZR_WideString wide;
    if (Encode(src, wide) == 0)
        return 0;
    CZR_ByteString encoded = wide.UTF8Encode();
    if (encoded.IsEmpty())
        return 0;
    dst = encoded;
    return dst.GetLength();
}

CZR_Base64Decoder::CZR_Base64Decoder(wchar_t padding) : m_pDecoder(ZRCRT_DefBase64Decoder), m_Padding(padding) {}

int CZR_Base64Decoder::Decode(const char* src, int n, unsigned char* dst)
{
    if (!src || n < 1)
        return 0;
    return decodeInto(src, withoutTrailing(src, n, '='), dst, lookUpStandard);
}

int CZR_Base64Decoder::Decode(const wchar_t* src, int n, unsigned char* dst)
{
    if (!src || n < 1)
        return 0;
    return decodeInto(src, withoutTrailing(src, n, m_Padding), dst, m_pDecoder);
}

int CZR_Base64Decoder::Decode(const CZR_WideStringC& src, CZR_ByteString& dst)
{
    int size = Decode(src.GetPtr(), src.GetLength(), nullptr);
    CZR_ByteString decoded;
    char* bytes = size > 0 ? decoded.GetBuffer(size) : nullptr;
    if (size > 0 && !bytes)
        return 0;
    if (size > 0) {
        Decode(src.GetPtr(), src.GetLength(), reinterpret_cast<unsigned char*>(bytes));
        decoded.ReleaseBuffer(size);
    }
    dst = decoded;
    return size;
}

int CZR_Base64Decoder::Decode(const CZR_ByteStringC& src, CZR_ByteString& dst)
{
    CZR_WideString wide = CZR_WideString::FromUTF8(src.GetPtr(), src.GetLength());
    return Decode(CZR_WideStringC(wide), dst);
}
