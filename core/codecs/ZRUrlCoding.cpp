#include "codecs/ZRUrlCoding.h"

#include "codecs/ZRUTF8.h"
#include "strings/CZR_BinaryBuf.h"
#include "system/ZRSYS_Runtime.h"

namespace {

// Marks the ASCII values that are always escaped: controls, space, DEL and
// " # % < > [ \ ] ^ ` { | } ~. Every value above 0x7F is escaped as well.
struct EscapeTable
{
    bool escaped[128];

    EscapeTable()
    {
        for (unsigned c = 0; c < 128; ++c)
            escaped[c] = c <= 0x20 || c == 0x7F;
        for (const char* p = "\"#%<>[\\]^`{|}~"; *p; ++p)
            escaped[static_cast<unsigned char>(*p)] = true;
    }
};

const EscapeTable kEscapeTable;

bool mustEscape(unsigned c) { return c > 0x7F || kEscapeTable.escaped[c]; }

// Collects the output; a result that ran out of memory on the way is given as empty, never cut.
class Output
{
public:
    void Append(const char* bytes, int count) { m_Failed = m_Failed || !m_Buffer.AppendBlock(bytes, count); }
    void Append(char c) { Append(&c, 1); }
    void AppendEscape(unsigned char b)
    {
        static const char kDigits[] = "0123456789ABCDEF";
        const char escape[3] = {'%', kDigits[b >> 4], kDigits[b & 15]};
        Append(escape, 3);
    }
    void AppendEscapes(const CZR_ByteStringC& bytes)
    {
        for (int i = 0; i < bytes.GetLength(); ++i)
            AppendEscape(static_cast<unsigned char>(bytes[i]));
    }
    void Fail() { m_Failed = true; }
    CZR_ByteString Result() const { return m_Failed ? CZR_ByteString() : CZR_ByteString(m_Buffer.GetByteString()); }

private:
    CZR_BinaryBuf m_Buffer;
    bool m_Failed = false;
};

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

CZR_ByteString unescape(const CZR_ByteString& s)
{
    Output out;
    int length = s.GetLength();
    for (int i = 0; i < length; ++i) {
        int high = i < length - 2 && s[i] == '%' ? hexValue(s[i + 1]) : -1;
        int low = high >= 0 ? hexValue(s[i + 2]) : -1;
        if (low >= 0) {
            out.Append(static_cast<char>(high << 4 | low));
            i += 2;
        } else {
            out.Append(s[i]);
        }
    }
    return out.Result();
}

// The local encoding cannot tell characters above U+FFFF apart by their low 16 bits, and may have
// no bytes for some characters at all: those go out as UTF-8. Whether it has bytes is measured
// first, so that a conversion short of memory fails the output instead of dropping the character
// or switching it to UTF-8.
void appendCharacterEscapes(Output& out, wchar_t c)
{
    bool local = unsigned(c) <= 0xFFFF && ZRSYS_WideCharToMultiByte(0, 0, &c, 1, nullptr, 0) > 0;
    if (local) {
        CZR_ByteString bytes = CZR_ByteString::FromUnicode(&c, 1);
        if (bytes.IsEmpty())
            out.Fail();
        out.AppendEscapes(bytes);
        return;
    }
    CZR_UTF8Encoder encoder;
    encoder.Input(c);
    if (encoder.Failed())
        out.Fail();
    out.AppendEscapes(encoder.GetResult());
}

}

CZR_ByteString ZR_UrlEncode(const CZR_WideString& s)
{
    Output out;
    for (int i = 0; i < s.GetLength(); ++i) {
        wchar_t c = s[i];
        if (mustEscape(unsigned(c)))
            appendCharacterEscapes(out, c);
        else
            out.Append(static_cast<char>(c));
    }
    return out.Result();
}

CZR_ByteString ZR_EncodeURI(const CZR_WideString& s)
{
    CZR_ByteString utf8 = s.UTF8Encode();
    Output out;
    for (int i = 0; i < utf8.GetLength(); ++i) {
        auto b = static_cast<unsigned char>(utf8[i]);
        if (mustEscape(b))
            out.AppendEscape(b);
        else
            out.Append(static_cast<char>(b));
    }
    return out.Result();
}

CZR_WideString ZR_UrlDecode(const CZR_ByteString& s)
{
    // The local conversion ends at the first 0 byte, an escaped one included.
    return CZR_WideString::FromLocal(unescape(s).c_str());
}

CZR_WideString ZR_DecodeURI(const CZR_ByteString& s)
{
    CZR_ByteString bytes = unescape(s);
    return CZR_WideString::FromUTF8(bytes.c_str(), bytes.GetLength());
}
