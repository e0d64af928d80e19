#include "containers/CZR_BasicArray.h"

#include <cstring>

namespace {

constexpr int kUnitSizeCap = 0x10000000;

int usableUnitSize(int unitSize) { return unitSize > 0 && unitSize <= kUnitSizeCap ? unitSize : 4; }

} // namespace

CZR_BasicArray::CZR_BasicArray(int unitSize, _IZR_Allocator* allocator)
    : m_pAllocator(allocator), m_pData(nullptr), m_nSize(0), m_nMaxSize(0), m_nGrowBy(0),
      m_nUnitSize(usableUnitSize(unitSize))
{
}

CZR_BasicArray::CZR_BasicArray(const CZR_BasicArray& other, _IZR_Allocator* allocator)
    : CZR_BasicArray(other.m_nUnitSize, allocator)
{
    Copy(other);
}

CZR_BasicArray::~CZR_BasicArray() { FreeData(); }

void CZR_BasicArray::FreeData()
{
    if (m_pData)
        ZRMEM_AllocatorFree(m_pAllocator, m_pData);
    m_pData = nullptr;
    m_nSize = m_nMaxSize = 0;
}

void CZR_BasicArray::ZeroUnits(int from, int to)
{
    if (to > from)
        memset(m_pData + size_t(from) * m_nUnitSize, 0, size_t(to - from) * m_nUnitSize);
}

bool CZR_BasicArray::SetSize(int newSize, int growBy)
{
    if (newSize < 0) {
        FreeData();
        return false;
    }
    if (newSize > SizeCap())
        return false;
    if (growBy >= 0)
        m_nGrowBy = growBy;
    if (newSize == 0) {
        FreeData();
        return true;
    }
    if (!m_pData) {
        m_pData = static_cast<uint8_t*>(ZRMEM_AllocatorAlloc(m_pAllocator, size_t(newSize) * m_nUnitSize));
        if (!m_pData)
            return false;
        m_nSize = m_nMaxSize = newSize;
        ZeroUnits(0, newSize);
        return true;
    }
    if (newSize <= m_nMaxSize) {
        ZeroUnits(m_nSize, newSize);
        m_nSize = newSize;
        return true;
    }
    return Grow(newSize);
}

bool CZR_BasicArray::Grow(int newSize)
{
    int step = m_nGrowBy > 0 ? m_nGrowBy : (m_nSize / 2 > 1 ? m_nSize / 2 : 1);
    int64_t newMax = int64_t(m_nMaxSize) + step;
    if (newMax < newSize)
        newMax = newSize;
    if (newMax > SizeCap())
        newMax = SizeCap();
    size_t bytes = size_t(newMax) * m_nUnitSize;
    void* block = ZRMEM_AllocatorGrow(m_pAllocator, m_pData, size_t(m_nSize) * m_nUnitSize, bytes,
                                      size_t(SizeCap()) * m_nUnitSize);
    if (!block)
        return false;
    m_pData = static_cast<uint8_t*>(block);
    newMax = int64_t(bytes / m_nUnitSize);
    ZeroUnits(m_nSize, int(newMax));
    m_nMaxSize = int(newMax);
    m_nSize = newSize;
    return true;
}

bool CZR_BasicArray::Copy(const CZR_BasicArray& other)
{
    if (&other == this)
        return true;
    if (!SetSize(other.m_nSize, -1))
        return false;
    if (m_nSize)
        memcpy(m_pData, other.m_pData, size_t(m_nSize) * m_nUnitSize);
    return true;
}

CZR_BasicArray& CZR_BasicArray::operator=(const CZR_BasicArray& other)
{
    Copy(other);
    return *this;
}

bool CZR_BasicArray::Append(const CZR_BasicArray& other)
{
    int oldSize = m_nSize;
    int added = other.m_nSize;
    if (added == 0)
        return true;
    if (int64_t(oldSize) + added > SizeCap() || !SetSize(oldSize + added, -1))
        return false;
    memcpy(m_pData + size_t(oldSize) * m_nUnitSize, other.m_pData, size_t(added) * m_nUnitSize);
    return true;
}

uint8_t* CZR_BasicArray::InsertSpaceAt(int index, int count)
{
    if (index < 0 || count < 1)
        return nullptr;
    int oldSize = m_nSize;
    if (index < oldSize) {
        if (int64_t(oldSize) + count > SizeCap() || !SetSize(oldSize + count, -1))
            return nullptr;
        uint8_t* at = m_pData + size_t(index) * m_nUnitSize;
        memmove(at + size_t(count) * m_nUnitSize, at, size_t(oldSize - index) * m_nUnitSize);
        memset(at, 0, size_t(count) * m_nUnitSize);
        return at;
    }
    if (int64_t(index) + count > SizeCap() || !SetSize(index + count, -1))
        return nullptr;
    return m_pData + size_t(index) * m_nUnitSize;
}

bool CZR_BasicArray::InsertAt(int index, const CZR_BasicArray* other)
{
    if (!other)
        return false;
    if (other->m_nSize == 0)
        return true;
    if (other == this) {
        CZR_BasicArray copy(*this, m_pAllocator);
        return copy.GetSize() == m_nSize && InsertAt(index, &copy);
    }
    int count = other->m_nSize;
    uint8_t* at = InsertSpaceAt(index, count);
    if (!at)
        return false;
    int unit = m_nUnitSize < other->m_nUnitSize ? m_nUnitSize : other->m_nUnitSize;
    for (int i = 0; i < count; ++i)
        memcpy(at + size_t(i) * m_nUnitSize, other->m_pData + size_t(i) * other->m_nUnitSize, size_t(unit));
    return true;
}

bool CZR_BasicArray::RemoveAt(int index, int count)
{
    if (index < 0 || count < 1 || int64_t(index) + count > m_nSize)
        return false;
    uint8_t* at = m_pData + size_t(index) * m_nUnitSize;
    memmove(at, at + size_t(count) * m_nUnitSize, size_t(m_nSize - index - count) * m_nUnitSize);
    m_nSize -= count;
    ZeroUnits(m_nSize, m_nSize + count);
    return true;
}
