#pragma once

#include "strings/ZRStringCore.h"
#include "strings/ZRStringViews.h"

#include <cstdarg>

class CZR_ByteString;
struct CZR_CharMap;

// A string of 32-bit wide characters in a shared, copy-on-write buffer; null is the empty string.
class CZR_WideString : public CZR_StringT<wchar_t, CZR_WideString>
{
    friend class CZR_StringT<wchar_t, CZR_WideString>;

public:
    CZR_WideString() = default;
    CZR_WideString(const wchar_t* p, int len = -1);
    explicit CZR_WideString(wchar_t c);
    CZR_WideString(const CZR_WideString& other) = default;
    CZR_WideString(const CZR_WideStringC& view);
    CZR_WideString(const CZR_WideStringC& a, const CZR_WideStringC& b);

    using CZR_StringT::InitStr;

    CZR_WideString& operator=(const CZR_WideString& other);
    CZR_WideString& operator=(const wchar_t* s);
    CZR_WideString& operator=(const CZR_WideStringC& view);

    CZR_WideString& operator+=(wchar_t c);
    CZR_WideString& operator+=(const wchar_t* s);
    CZR_WideString& operator+=(const CZR_WideString& other);
    CZR_WideString& operator+=(const CZR_WideStringC& view);

    operator CZR_WideStringC() const { return CZR_WideStringC(c_str(), GetLength()); }

    bool Equal(const CZR_WideStringC& view) const;
    int Compare(const CZR_WideString& other) const;
    int Compare(const wchar_t* s) const;
    int CompareNoCase(const wchar_t* s) const;

    void Reserve(int n);

    int Replace(const wchar_t* oldText, const wchar_t* newText);
    void TrimRight(const wchar_t* set);
    void TrimLeft(const wchar_t* set);
    void TrimRight(wchar_t c);
    void TrimLeft(wchar_t c);
    void TrimRight();
    void TrimLeft();

    using CZR_StringT::Find;
    int Find(const wchar_t* sub, int start = 0) const;

    CZR_ByteString UTF8Encode() const;
    CZR_ByteString UTF16LE_Encode(bool terminate = true) const;
    void ConvertFrom(const CZR_ByteString& s, const CZR_CharMap* map = nullptr);
    static CZR_WideString FromLocal(const char* p, int len = -1);
    static CZR_WideString FromUTF8(const char* p, int len = -1);
    static CZR_WideString FromUTF16LE(const unsigned short* p, int len = -1);
    static CZR_WideString FromUTF16BE(const unsigned short* p, int len = -1);
    static int WStringLength(const unsigned short* p);
    int GetInteger() const;
    float GetFloat() const;

    void Format(const wchar_t* format, ...);
    void FormatV(const wchar_t* format, va_list args);

    friend bool operator<(const CZR_WideString& a, const CZR_WideString& b);

protected:
    // Capacity of the buffer that joins len1 and len2 characters: 1.5 times the capacity, repeatedly.
    int64_t ConcatCapacity(int len1, int len2) const;
    void ConcatCopy(int len1, const wchar_t* text1, int len2, const wchar_t* text2);
};

bool operator==(const CZR_WideString& a, const CZR_WideString& b);
bool operator==(const CZR_WideString& a, const wchar_t* b);
bool operator==(const wchar_t* a, const CZR_WideString& b);
bool operator==(const CZR_WideString& a, const CZR_WideStringC& b);
bool operator==(const CZR_WideStringC& a, const CZR_WideString& b);
bool operator!=(const CZR_WideString& a, const CZR_WideString& b);
bool operator!=(const CZR_WideString& a, const wchar_t* b);
bool operator!=(const wchar_t* a, const CZR_WideString& b);
bool operator!=(const CZR_WideString& a, const CZR_WideStringC& b);
bool operator!=(const CZR_WideStringC& a, const CZR_WideString& b);
