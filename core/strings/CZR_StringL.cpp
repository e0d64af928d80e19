#include "strings/CZR_StringL.h"

#include "strings/ZRNumbers.h"
#include "system/ZRSYS_Runtime.h"

#include <cstring>

void CZR_ByteStringL::Empty(_IZR_Allocator* allocator)
{
    if (m_pStr)
        ZRMEM_AllocatorFree(allocator, m_pStr);
    m_pStr = nullptr;
    m_Length = 0;
}

char* CZR_ByteStringL::AllocBuffer(int n, _IZR_Allocator* allocator)
{
    Empty(allocator);
    if (n < 0 || n >= INT32_MAX)
        return nullptr;
    m_pStr = static_cast<char*>(ZRMEM_AllocatorAlloc(allocator, size_t(n) + 1));
    m_Length = m_pStr ? n : 0;
    return m_pStr;
}

// Copies before freeing the old characters, since the view may point into them.
bool CZR_ByteStringL::Set(const CZR_ByteStringC& view, _IZR_Allocator* allocator)
{
    CZR_ByteStringL copy;
    bool wanted = view.GetPtr() && view.GetLength() > 0;
    if (wanted) {
        if (char* chars = copy.AllocBuffer(view.GetLength(), allocator)) {
            memcpy(chars, view.GetPtr(), size_t(view.GetLength()));
            chars[view.GetLength()] = 0;
        }
    }
    Empty(allocator);
    *this = copy;
    return !wanted || m_pStr;
}

void CZR_WideStringL::Empty(_IZR_Allocator* allocator)
{
    if (m_pStr)
        ZRMEM_AllocatorFree(allocator, m_pStr);
    m_pStr = nullptr;
    m_Length = 0;
}

// Copies before freeing the old characters, since the view may point into them.
bool CZR_WideStringL::Set(const CZR_WideStringC& view, _IZR_Allocator* allocator)
{
    wchar_t* chars = nullptr;
    int length = 0;
    bool wanted = view.GetPtr() && view.GetLength() > 0;
    if (wanted) {
        size_t count = size_t(view.GetLength()) + 1;
        chars = static_cast<wchar_t*>(allocator ? allocator->Alloc(allocator, count * sizeof(wchar_t))
                                                : ZRMEM_DefaultAlloc2(count, sizeof(wchar_t), 0));
        if (chars) {
            memcpy(chars, view.GetPtr(), (count - 1) * sizeof(wchar_t));
            chars[count - 1] = 0;
            length = view.GetLength();
        }
    }
    Empty(allocator);
    m_pStr = chars;
    m_Length = length;
    return !wanted || chars;
}

int CZR_WideStringL::GetInteger() const { return m_Length ? ZRSYS_wtoi(m_pStr) : 0; }
float CZR_WideStringL::GetFloat() const { return m_Length ? ZR_wtof(m_pStr, m_Length) : 0; }

void CZR_WideStringL::TrimRight(const wchar_t* set)
{
    if (!set || !*set || m_Length == 0)
        return;
    while (m_Length > 0 && wcschr(set, m_pStr[m_Length - 1]))
        --m_Length;
    m_pStr[m_Length] = 0;
}
