#pragma once

#include <cstring>
#include <cwchar>

// Non-owning views (pointer and length) that most string operations take as their argument.
class CZR_ByteStringC
{
public:
    CZR_ByteStringC() : m_pStr(nullptr), m_Length(0) {}
    CZR_ByteStringC(const char* s) : m_pStr(s), m_Length(s ? int(strlen(s)) : 0) {}
    CZR_ByteStringC(const char* p, int length) : m_pStr(p), m_Length(p && length > 0 ? length : 0) {}
    CZR_ByteStringC(const unsigned char* p, int length)
        : CZR_ByteStringC(reinterpret_cast<const char*>(p), length)
    {
    }

    const char* GetPtr() const { return m_pStr; }
    int GetLength() const { return m_Length; }
    bool IsEmpty() const { return m_Length == 0; }
    char operator[](int index) const { return m_pStr[index]; }
    bool operator==(const CZR_ByteStringC& other) const
    {
        return m_Length == other.m_Length && (m_Length == 0 || memcmp(m_pStr, other.m_pStr, m_Length) == 0);
    }

    // Up to four bytes from `start` packed big-endian, missing low bytes 0.
    unsigned GetID(int start = 0) const;

private:
    const char* m_pStr;
    int m_Length;
};

class CZR_WideStringC
{
public:
    CZR_WideStringC() : m_pStr(nullptr), m_Length(0) {}
    CZR_WideStringC(const wchar_t* s) : m_pStr(s), m_Length(s ? int(wcslen(s)) : 0) {}
    CZR_WideStringC(const wchar_t* p, int length) : m_pStr(p), m_Length(p && length > 0 ? length : 0) {}

    const wchar_t* GetPtr() const { return m_pStr; }
    int GetLength() const { return m_Length; }
    bool IsEmpty() const { return m_Length == 0; }
    wchar_t operator[](int index) const { return m_pStr[index]; }

private:
    const wchar_t* m_pStr;
    int m_Length;
};
