#pragma once

#include "memory/ZRMemoryMgr.h"

#include <cstdint>

// A growable contiguous block of fixed-size units; units are raw bytes and new units are zero.
class CZR_BasicArray
{
public:
    CZR_BasicArray(int unitSize, _IZR_Allocator* allocator);
    CZR_BasicArray(const CZR_BasicArray& other, _IZR_Allocator* allocator);
    ~CZR_BasicArray();

    bool SetSize(int newSize, int growBy);
    bool Copy(const CZR_BasicArray& other);
    CZR_BasicArray& operator=(const CZR_BasicArray& other);
    bool Append(const CZR_BasicArray& other);
    uint8_t* InsertSpaceAt(int index, int count);
    bool InsertAt(int index, const CZR_BasicArray* other);
    bool RemoveAt(int index, int count);
    // Inline: element and attribute readers go through it for every child they visit.
    uint8_t* GetDataPtr(int index) const
    {
        if (!m_pData || index < 0 || index >= m_nSize)
            return nullptr;
        return m_pData + size_t(index) * m_nUnitSize;
    }

    int GetSize() const { return m_nSize; }
    int GetMaxSize() const { return m_nMaxSize; }
    int GetUnitSize() const { return m_nUnitSize; }
    uint8_t* GetData() const { return m_pData; }
    _IZR_Allocator* GetAllocator() const { return m_pAllocator; }

private:
    int SizeCap() const { return 0x10000000 / m_nUnitSize; }
    void FreeData();
    bool Grow(int newSize);
    void ZeroUnits(int from, int to);

    _IZR_Allocator* m_pAllocator;
    uint8_t* m_pData;
    int m_nSize;
    int m_nMaxSize;
    int m_nGrowBy;
    int m_nUnitSize;
};
