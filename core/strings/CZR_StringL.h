#pragma once

#include "memory/ZRMemoryMgr.h"
#include "strings/ZRStringViews.h"

// Plain terminated strings whose memory comes from the allocator passed to each call
// (null: the default manager); no reference count.
class CZR_ByteStringL
{
public:
    CZR_ByteStringL() : m_pStr(nullptr), m_Length(0) {}

    const char* GetPtr() const { return m_pStr; }
    int GetLength() const { return m_Length; }
    operator CZR_ByteStringC() const { return CZR_ByteStringC(m_pStr, m_Length); }

    void Empty(_IZR_Allocator* allocator);
    char* AllocBuffer(int n, _IZR_Allocator* allocator);
    // False, with the string left empty, when the copy cannot be made.
    bool Set(const CZR_ByteStringC& view, _IZR_Allocator* allocator);
    // Characters kept in memory the owner of this string releases itself: such a string is
    // forgotten, never emptied.
    void Borrow(char* chars, int length)
    {
        m_pStr = chars;
        m_Length = length;
    }
    void Forget() { Borrow(nullptr, 0); }

private:
    char* m_pStr;
    int m_Length;
};

class CZR_WideStringL
{
public:
    CZR_WideStringL() : m_pStr(nullptr), m_Length(0) {}

    const wchar_t* GetPtr() const { return m_pStr; }
    int GetLength() const { return m_Length; }
    operator CZR_WideStringC() const { return CZR_WideStringC(m_pStr, m_Length); }

    void Empty(_IZR_Allocator* allocator);
    // False, with the string left empty, when the copy cannot be made.
    bool Set(const CZR_WideStringC& view, _IZR_Allocator* allocator);
    int GetInteger() const;
    float GetFloat() const;
    void TrimRight(const wchar_t* set);

private:
    wchar_t* m_pStr;
    int m_Length;
};
