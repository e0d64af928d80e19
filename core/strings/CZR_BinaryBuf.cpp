#include "strings/CZR_BinaryBuf.h"

#include "memory/ZRByteRanges.h"
#include "strings/CZR_StringL.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

CZR_BinaryBuf::CZR_BinaryBuf(_IZR_Allocator* allocator)
    : m_pAllocator(allocator), m_AllocStep(0), m_pBuffer(nullptr), m_DataSize(0), m_AllocSize(0)
{
}

CZR_BinaryBuf::CZR_BinaryBuf(int size, _IZR_Allocator* allocator) : CZR_BinaryBuf(allocator)
{
    if (size <= 0)
        return;
    m_pBuffer = static_cast<unsigned char*>(ZRMEM_AllocatorAlloc(m_pAllocator, size_t(size)));
    if (m_pBuffer)
        m_DataSize = m_AllocSize = size;
}

CZR_BinaryBuf::~CZR_BinaryBuf() { FreeBlock(); }

void CZR_BinaryBuf::FreeBlock()
{
    if (m_pBuffer)
        ZRMEM_AllocatorFree(m_pAllocator, m_pBuffer);
    m_pBuffer = nullptr;
    m_DataSize = m_AllocSize = 0;
}

void CZR_BinaryBuf::DetachBuffer()
{
    m_pBuffer = nullptr;
    m_DataSize = m_AllocSize = 0;
}

void CZR_BinaryBuf::AttachData(void* p, int size)
{
    if (p && p == m_pBuffer)
        return;
    FreeBlock();
    m_pBuffer = static_cast<unsigned char*>(p);
    m_DataSize = m_AllocSize = p && size > 0 ? size : 0;
}

void CZR_BinaryBuf::TakeOver(CZR_BinaryBuf& other)
{
    if (&other == this)
        return;
    FreeBlock();
    m_pBuffer = other.m_pBuffer;
    m_DataSize = m_AllocSize = other.m_DataSize;
    other.DetachBuffer();
}

bool CZR_BinaryBuf::EstimateSize(int size, int step)
{
    m_AllocStep = step;
    if (m_AllocSize >= size)
        return true;
    return ExpandBuf(size - m_DataSize);
}

bool CZR_BinaryBuf::ExpandBuf(int add)
{
    int64_t need = int64_t(m_DataSize) + add;
    if (m_AllocSize >= need)
        return true;
    int64_t step = m_AllocStep > 0 ? m_AllocStep : (m_AllocSize / 4 > 128 ? m_AllocSize / 4 : 128);
    int64_t size = (need + step - 1) / step * step;
    if (size > int64_t(ZRMEM_COUNTED_LIMIT))
        return false;
    size_t grownSize = size_t(size);
    void* block = ZRMEM_AllocatorGrow(m_pAllocator, m_pBuffer, size_t(m_DataSize), grownSize, ZRMEM_COUNTED_LIMIT);
    if (!block)
        return false;
    m_pBuffer = static_cast<unsigned char*>(block);
    m_AllocSize = int(grownSize);
    return true;
}

bool CZR_BinaryBuf::CopyData(const void* p, int n)
{
    if (n < 0 || (n > 0 && !p))
        return false;
    if (n > m_AllocSize && !ExpandBuf(n - m_DataSize))
        return false;
    if (n)
        memmove(m_pBuffer, p, size_t(n));
    m_DataSize = n;
    return true;
}

int64_t CZR_BinaryBuf::OffsetInBlock(const void* p) const { return ZR_OffsetInRange(m_pBuffer, size_t(m_AllocSize), p); }

bool CZR_BinaryBuf::AppendBlock(const void* p, int n) { return AppendBlocks(p, n, nullptr, 0); }

bool CZR_BinaryBuf::AppendBlocks(const void* first, int firstSize, const void* second, int secondSize)
{
    // Sources inside the block move with it when the block grows: both are placed before growing.
    int64_t firstAt = OffsetInBlock(first);
    int64_t secondAt = OffsetInBlock(second);
    if (firstSize < 0 || secondSize < 0 || int64_t(firstSize) + secondSize > INT32_MAX ||
        !ExpandBuf(firstSize + secondSize))
        return false;
    AppendPlaced(firstAt >= 0 ? m_pBuffer + firstAt : first, firstSize);
    AppendPlaced(secondAt >= 0 ? m_pBuffer + secondAt : second, secondSize);
    return true;
}

void CZR_BinaryBuf::AppendPlaced(const void* p, int n)
{
    if (p && n)
        memmove(m_pBuffer + m_DataSize, p, size_t(n));
    m_DataSize += n;
}

bool CZR_BinaryBuf::InsertBlock(int pos, const void* p, int n)
{
    int64_t offset = OffsetInBlock(p);
    if (pos < 0 || pos > m_DataSize || n < 0 || !ExpandBuf(n))
        return false;
    if (n == 0)
        return true;
    memmove(m_pBuffer + pos + n, m_pBuffer + pos, size_t(m_DataSize - pos));
    if (offset >= 0) {
        // The part of the source from pos on was just moved up by n.
        int64_t before = offset < pos ? std::min<int64_t>(pos - offset, n) : 0;
        memmove(m_pBuffer + pos, m_pBuffer + offset, size_t(before));
        memmove(m_pBuffer + pos + before, m_pBuffer + offset + before + n, size_t(n - before));
    } else if (p) {
        memmove(m_pBuffer + pos, p, size_t(n));
    }
    m_DataSize += n;
    return true;
}

bool CZR_BinaryBuf::AppendFill(unsigned char b, int count)
{
    if (count < 0 || !ExpandBuf(count))
        return false;
    if (count)
        memset(m_pBuffer + m_DataSize, b, size_t(count));
    m_DataSize += count;
    return true;
}

void CZR_BinaryBuf::Delete(int start, int count)
{
    if (start < 0 || count < 0 || !m_pBuffer || int64_t(start) + count > m_DataSize)
        return;
    memmove(m_pBuffer + start, m_pBuffer + start + count, size_t(m_DataSize - start - count));
    m_DataSize -= count;
}

bool CZR_BinaryBuf::GetByteStringL(CZR_ByteStringL& out) const { return out.Set(GetByteString(), m_pAllocator); }
