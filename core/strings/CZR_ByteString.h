#pragma once

#include "strings/ZRStringCore.h"
#include "strings/ZRStringViews.h"

#include <cstdarg>

class CZR_WideString;
class CZR_BinaryBuf;
struct CZR_CharMap;

// A string of 8-bit characters in a shared, copy-on-write buffer; null is the empty string.
class CZR_ByteString : public CZR_StringT<char, CZR_ByteString>
{
    friend class CZR_StringT<char, CZR_ByteString>;

public:
    CZR_ByteString() = default;
    CZR_ByteString(const char* s, int len = -1);
    CZR_ByteString(const unsigned char* s, int len);
    explicit CZR_ByteString(char c);
    CZR_ByteString(const CZR_ByteString& other) = default;
    CZR_ByteString(const CZR_ByteStringC& view);
    CZR_ByteString(const CZR_ByteStringC& a, const CZR_ByteStringC& b);

    CZR_ByteString& operator=(const CZR_ByteString& other);
    CZR_ByteString& operator=(const char* s);
    CZR_ByteString& operator=(const CZR_ByteStringC& view);
    CZR_ByteString& operator=(const CZR_BinaryBuf& buffer);
    void Load(const unsigned char* p, int len);

    CZR_ByteString& operator+=(const char* s);
    CZR_ByteString& operator+=(char c);
    CZR_ByteString& operator+=(const CZR_ByteString& other);
    CZR_ByteString& operator+=(const CZR_ByteStringC& view);

    operator CZR_ByteStringC() const { return CZR_ByteStringC(c_str(), GetLength()); }

    bool Equal(const CZR_ByteStringC& view) const;
    bool EqualNoCase(const CZR_ByteStringC& view) const;
    bool operator==(const CZR_ByteString& other) const { return Equal(other); }
    bool operator==(const char* s) const { return Equal(CZR_ByteStringC(s)); }
    bool operator!=(const CZR_ByteString& other) const { return !Equal(other); }
    bool operator!=(const char* s) const { return !Equal(CZR_ByteStringC(s)); }
    bool operator<(const CZR_ByteString& other) const { return Compare(other) < 0; }
    int Compare(const CZR_ByteStringC& view) const;

    void Reserve(int n);

    int Replace(const CZR_ByteStringC& oldText, const CZR_ByteStringC& newText);
    void TrimRight(const CZR_ByteStringC& set);
    void TrimLeft(const CZR_ByteStringC& set);
    void TrimRight(char c);
    void TrimLeft(char c);
    void TrimRight();
    void TrimLeft();

    using CZR_StringT::Find;
    int Find(const CZR_ByteStringC& sub, int start = 0) const;
    int ReverseFind(char c) const;

    CZR_WideString UTF8Decode() const;
    static CZR_ByteString FromUnicode(const wchar_t* p, int len = -1);
    static CZR_ByteString FromUnicode(const CZR_WideString& s);
    void ConvertFrom(const CZR_WideString& s, const CZR_CharMap* map = nullptr);
    static CZR_ByteString LoadFromFile(const CZR_ByteStringC& path);

    unsigned GetID(int start = 0) const { return CZR_ByteStringC(*this).GetID(start); }

    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(const char* format, va_list args);
    static CZR_ByteString FormatInteger(int value, unsigned flags = 1);
    static CZR_ByteString FormatInteger64(long long value);
    static CZR_ByteString FormatFloat(float value, int flag = 0);

protected:
    // Capacity of the buffer that joins len1 and len2 bytes: at least half the length more.
    int64_t ConcatCapacity(int len1, int len2) const;
    void ConcatCopy(int len1, const char* text1, int len2, const char* text2);
};

// First occurrence of the needle in the bounded haystack, or null.
const char* ZR_strstr(const char* hay, int hayLen, const char* needle, int needleLen);
