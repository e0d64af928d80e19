#include "codecs/ZRUTF8.h"

#include <cstdint>
#include <cwchar>

void CZR_UTF8Decoder::Input(unsigned char b)
{
    if (b < 0x80) {
        m_PendingBytes = 0;
        AppendChar(b);
    } else if (b < 0xC0) {
        if (m_PendingBytes == 0)
            return;
        m_PartialChar |= unsigned(b & 0x3F) << (6 * (m_PendingBytes - 1));
        if (--m_PendingBytes == 0)
            AppendChar(m_PartialChar ? m_PartialChar : 0xFFFD);
    } else if (b < 0xE0) {
        m_PendingBytes = 1;
        m_PartialChar = unsigned(b & 0x1F) << 6;
    } else if (b < 0xF0) {
        m_PendingBytes = 2;
        m_PartialChar = unsigned(b & 0x0F) << 12;
    } else if (b < 0xF8) {
        m_PendingBytes = 3;
        m_PartialChar = unsigned(b & 0x07) << 18;
    } else if (b < 0xFC) {
        m_PendingBytes = 4;
        m_PartialChar = unsigned(b & 0x03) << 24;
    } else if (b < 0xFE) {
        m_PendingBytes = 5;
        m_PartialChar = unsigned(b & 0x01) << 30;
    }
}

void CZR_UTF8Decoder::InputAscii(const unsigned char* bytes, int count)
{
    m_PendingBytes = 0;
    int start = m_Buffer.GetSize();
    if (count <= 0 || m_Failed)
        return;
    if (int64_t(count) * 4 > INT32_MAX - int64_t(start) || !m_Buffer.AppendBlock(nullptr, count * 4)) {
        m_Failed = true;
        return;
    }
    wchar_t* out = reinterpret_cast<wchar_t*>(m_Buffer.GetBuffer() + start);
    for (int i = 0; i < count; ++i)
        out[i] = bytes[i];
}

void CZR_UTF8Decoder::AppendChar(unsigned c)
{
    if (!m_Failed && !m_Buffer.AppendChar(static_cast<wchar_t>(c)))
        m_Failed = true;
}

void CZR_UTF8Decoder::Clear()
{
    m_Buffer.Clear();
    m_PendingBytes = 0;
    m_Failed = false;
}

CZR_WideString ZR_UTF8Decode(const char* p, int len)
{
    CZR_UTF8Decoder decoder;
    for (int i = 0; i < len; ++i)
        decoder.Input(static_cast<unsigned char>(p[i]));
    return decoder.Failed() ? CZR_WideString() : CZR_WideString(decoder.GetResult());
}

void CZR_UTF8Encoder::AppendByte(unsigned char b)
{
    if (!m_Failed && !m_Buffer.AppendBlock(&b, 1))
        m_Failed = true;
}

void CZR_UTF8Encoder::Input(wchar_t c)
{
    if (c < 0 || m_Failed)
        return;
    auto value = static_cast<unsigned>(c);
    if (value <= 0x7F) {
        AppendByte(static_cast<unsigned char>(value));
        return;
    }
    int count = value < 0x800 ? 2 : value < 0x10000 ? 3 : value < 0x200000 ? 4 : value < 0x4000000 ? 5 : 6;
    static const unsigned char lead[7] = {0, 0, 0xC0, 0xE0, 0xF0, 0xF8, 0xFC};
    AppendByte(static_cast<unsigned char>((value >> (6 * (count - 1))) | lead[count]));
    for (int i = count - 2; i >= 0; --i)
        AppendByte(static_cast<unsigned char>(0x80 | ((value >> (6 * i)) & 0x3F)));
}

namespace {

bool encodeInto(CZR_UTF8Encoder& encoder, const wchar_t* p, int len)
{
    if (len < 0)
        len = p ? int(wcsnlen(p, INT32_MAX)) : 0;
    for (int i = 0; i < len && !encoder.Failed(); ++i)
        encoder.Input(p[i]);
    return !encoder.Failed();
}

} // namespace

CZR_ByteString ZR_UTF8Encode(const wchar_t* p, int len)
{
    CZR_UTF8Encoder encoder;
    if (!encodeInto(encoder, p, len))
        return CZR_ByteString();
    return CZR_ByteString(encoder.GetResult());
}

void ZR_UTF8Encode(const wchar_t* p, int len, CZR_ByteStringL& out, _IZR_Allocator* allocator)
{
    CZR_UTF8Encoder encoder(allocator);
    if (!encodeInto(encoder, p, len)) {
        out.Empty(allocator);
        return;
    }
    out.Set(encoder.GetResult(), allocator);
}
