#include "strings/CZR_TextBuf.h"

#include "strings/CZR_ByteString.h"
#include "strings/CZR_StringL.h"
#include "strings/CZR_WideString.h"
#include "strings/ZRNumbers.h"
#include "system/ZRSYS_Runtime.h"

#include <cstdio>

CZR_ByteTextBuf& CZR_ByteTextBuf::operator<<(const CZR_ByteStringC& text)
{
    AppendBlock(text.GetPtr(), text.GetLength());
    return *this;
}

CZR_ByteTextBuf& CZR_ByteTextBuf::operator<<(int value)
{
    char digits[16];
    return *this << CZR_ByteStringC(ZRSYS_itoa(value, digits, 10));
}

CZR_ByteTextBuf& CZR_ByteTextBuf::operator<<(unsigned value)
{
    char digits[16];
    snprintf(digits, sizeof(digits), "%u", value);
    return *this << CZR_ByteStringC(digits);
}

CZR_ByteTextBuf& CZR_ByteTextBuf::operator<<(long long value)
{
    char digits[24];
    return *this << CZR_ByteStringC(ZRSYS_i64toa(value, digits, 10));
}

CZR_ByteTextBuf& CZR_ByteTextBuf::operator<<(double value)
{
    char digits[64];
    int length = ZR_ftoa_s(static_cast<float>(value), digits, 0);
    return *this << CZR_ByteStringC(digits, length);
}

CZR_ByteTextBuf& CZR_ByteTextBuf::operator<<(const CZR_ByteTextBuf& other)
{
    return *this << other.GetByteString();
}

CZR_ByteTextBuf& CZR_ByteTextBuf::operator=(const CZR_ByteStringC& text)
{
    CopyData(text.GetPtr(), text.GetLength());
    return *this;
}

bool CZR_WideTextBuf::AppendChar(wchar_t c)
{
    if (m_AllocSize < int64_t(m_DataSize) + 4 && !ExpandBuf(4))
        return false;
    memcpy(m_pBuffer + m_DataSize, &c, sizeof(c));
    m_DataSize += 4;
    return true;
}

CZR_WideTextBuf& CZR_WideTextBuf::operator<<(const CZR_WideStringC& text)
{
    if (int64_t(text.GetLength()) * 4 <= INT32_MAX)
        AppendBlock(text.GetPtr(), text.GetLength() * 4);
    return *this;
}

CZR_WideTextBuf& CZR_WideTextBuf::operator<<(const CZR_WideString& text) { return *this << CZR_WideStringC(text); }

CZR_WideTextBuf& CZR_WideTextBuf::operator<<(const wchar_t* text)
{
    if (text)
        *this << CZR_WideStringC(text);
    return *this;
}

CZR_WideTextBuf& CZR_WideTextBuf::AppendWidened(const char* text, int length)
{
    wchar_t wide[64];
    for (int i = 0; i < length; ++i)
        wide[i] = static_cast<unsigned char>(text[i]);
    return *this << CZR_WideStringC(wide, length);
}

CZR_WideTextBuf& CZR_WideTextBuf::operator<<(int value)
{
    char digits[16];
    ZRSYS_itoa(value, digits, 10);
    return AppendWidened(digits, int(strlen(digits)));
}

CZR_WideTextBuf& CZR_WideTextBuf::operator<<(double value)
{
    char digits[64];
    int length = ZR_ftoa_s(static_cast<float>(value), digits, 0);
    return AppendWidened(digits, length);
}

CZR_WideTextBuf& CZR_WideTextBuf::operator<<(const CZR_WideTextBuf& other)
{
    AppendBlock(other.GetBuffer(), other.GetSize());
    return *this;
}

CZR_WideTextBuf& CZR_WideTextBuf::operator=(const CZR_WideStringC& text)
{
    if (int64_t(text.GetLength()) * 4 <= INT32_MAX)
        CopyData(text.GetPtr(), text.GetLength() * 4);
    return *this;
}

CZR_WideStringC CZR_WideTextBuf::GetWideString() const
{
    return CZR_WideStringC(reinterpret_cast<const wchar_t*>(m_pBuffer), m_DataSize / 4);
}

bool CZR_WideTextBuf::GetWideStringL(CZR_WideStringL& out) const
{
    return out.Set(GetWideString(), m_pAllocator);
}

void CZR_StringBufBase::Copy(const CZR_ByteStringC& text)
{
    m_Size = text.GetLength() < m_Limit ? text.GetLength() : m_Limit;
    if (m_Size)
        memmove(Bytes(), text.GetPtr(), size_t(m_Size));
}

void CZR_StringBufBase::Append(const CZR_ByteStringC& text)
{
    int room = m_Limit - m_Size;
    int count = text.GetLength() < room ? text.GetLength() : room;
    if (count > 0)
        memmove(Bytes() + m_Size, text.GetPtr(), size_t(count));
    m_Size += count > 0 ? count : 0;
}

void CZR_StringBufBase::Append(int value, unsigned flags)
{
    Append(CZR_ByteStringC(CZR_ByteString::FormatInteger(value, flags)));
}
