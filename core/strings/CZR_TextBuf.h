#pragma once

#include "strings/CZR_BinaryBuf.h"

class CZR_WideString;
class CZR_WideStringL;

// Appends byte text and numbers; a failed growth appends nothing.
class CZR_ByteTextBuf : public CZR_BinaryBuf
{
public:
    using CZR_BinaryBuf::CZR_BinaryBuf;

    CZR_ByteTextBuf& operator<<(const CZR_ByteStringC& text);
    CZR_ByteTextBuf& operator<<(int value);
    CZR_ByteTextBuf& operator<<(unsigned value);
    CZR_ByteTextBuf& operator<<(long long value);
    CZR_ByteTextBuf& operator<<(double value);
    CZR_ByteTextBuf& operator<<(const CZR_ByteTextBuf& other);
    CZR_ByteTextBuf& operator=(const CZR_ByteStringC& text);
};

// Appends wide characters (four bytes each); the text is not terminated.
class CZR_WideTextBuf : public CZR_BinaryBuf
{
public:
    using CZR_BinaryBuf::CZR_BinaryBuf;

    bool AppendChar(wchar_t c);
    CZR_WideTextBuf& operator<<(const CZR_WideStringC& text);
    CZR_WideTextBuf& operator<<(const CZR_WideString& text);
    CZR_WideTextBuf& operator<<(const wchar_t* text);
    CZR_WideTextBuf& operator<<(int value);
    CZR_WideTextBuf& operator<<(double value);
    CZR_WideTextBuf& operator<<(const CZR_WideTextBuf& other);
    CZR_WideTextBuf& operator=(const CZR_WideStringC& text);
    CZR_WideStringC GetWideString() const;
    bool GetWideStringL(CZR_WideStringL& out) const;

private:
    CZR_WideTextBuf& AppendWidened(const char* text, int length);
};

// A fixed-capacity byte buffer stored in place; what does not fit is cut.
class CZR_StringBufBase
{
public:
    const char* GetPtr() const { return Bytes(); }
    int GetSize() const { return m_Size; }
    operator CZR_ByteStringC() const { return CZR_ByteStringC(Bytes(), m_Size); }

    void Copy(const CZR_ByteStringC& text);
    void Append(const CZR_ByteStringC& text);
    void Append(int value, unsigned flags);

protected:
    explicit CZR_StringBufBase(int limit) : m_Limit(limit), m_Size(0) {}
    char* Bytes() { return reinterpret_cast<char*>(this + 1); }
    const char* Bytes() const { return reinterpret_cast<const char*>(this + 1); }

    int m_Limit;
    int m_Size;
};

template <int Capacity> class CZR_StringBuf : public CZR_StringBufBase
{
public:
    CZR_StringBuf() : CZR_StringBufBase(Capacity) {}

private:
    char m_Storage[Capacity];
};
