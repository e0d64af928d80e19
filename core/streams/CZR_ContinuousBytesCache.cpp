#include "streams/CZR_ContinuousBytesCache.h"

#include <algorithm>
#include <cstring>

CZR_ContinuousBytesCache::CZR_ContinuousBytesCache(size_t capacity)
    : m_pBuffer(static_cast<uint8_t*>(ZRMEM_DefaultAlloc(capacity, ZRMEM_FLAG_MAYFAIL))), m_nStart(0), m_nLength(0),
      m_nCapacity(m_pBuffer ? capacity : 0)
{
    Clear();
}

CZR_ContinuousBytesCache::~CZR_ContinuousBytesCache()
{
    if (m_pBuffer)
        ZRMEM_DefaultFree(m_pBuffer, 0);
}

void CZR_ContinuousBytesCache::Clear()
{
    m_nStart = 0;
    m_nLength = 0;
    if (m_pBuffer)
        memset(m_pBuffer, 0, size_t(m_nCapacity));
}

// The window starts where the bytes were read; a failed read leaves it empty.
void CZR_ContinuousBytesCache::Load(IZR_FileRead* file, int64_t offset, size_t size)
{
    if (!file || !m_pBuffer)
        return;
    Clear();
    size_t count = size_t(std::min<uint64_t>(m_nCapacity, size));
    m_nStart = offset;
    if (count && file->ReadBlock(m_pBuffer, offset, count))
        m_nLength = count;
}

ZR_BYTESRANGE CZR_ContinuousBytesCache::Read(void* buffer, ZR_BYTESRANGE range)
{
    int64_t start = std::max(range.offset, m_nStart);
    int64_t end = std::min(range.offset + int64_t(range.size), m_nStart + int64_t(m_nLength));
    if (end <= start)
        return {range.offset, 0};
    if (buffer && m_pBuffer)
        memcpy(static_cast<uint8_t*>(buffer) + (start - range.offset), m_pBuffer + (start - m_nStart),
               size_t(end - start));
    return {start, uint64_t(end - start)};
}

void CZR_ContinuousBytesCache::Write(const void* buffer, int64_t offset, size_t size)
{
    if (!buffer || !m_pBuffer)
        return;
    auto* bytes = static_cast<const uint8_t*>(buffer);
    int64_t windowEnd = m_nStart + int64_t(m_nLength);
    if (size < m_nCapacity && offset == windowEnd) {
        uint64_t free = m_nCapacity - m_nLength;
        if (free < size) {
            uint64_t dropped = size - free;
            memmove(m_pBuffer, m_pBuffer + dropped, size_t(m_nLength - dropped));
            m_nLength -= dropped;
            memset(m_pBuffer + m_nLength, 0, size_t(m_nCapacity - m_nLength));
            m_nStart += int64_t(dropped);
        }
        memcpy(m_pBuffer + m_nLength, bytes, size);
        m_nLength += size;
        return;
    }
    if (size < m_nCapacity && offset + int64_t(size) == m_nStart) {
        uint64_t kept = std::min<uint64_t>(m_nLength, m_nCapacity - size);
        memmove(m_pBuffer + size, m_pBuffer, size_t(kept));
        memcpy(m_pBuffer, bytes, size);
        m_nStart = offset;
        m_nLength = kept + size;
        return;
    }
    memset(m_pBuffer, 0, size_t(m_nCapacity));
    size_t kept = size_t(std::min<uint64_t>(m_nCapacity, size));
    memcpy(m_pBuffer, bytes + (size - kept), kept);
    m_nStart = offset + int64_t(size - kept);
    m_nLength = kept;
}

IZR_BytesCache* ZR_CreateContinuousBytesCache(size_t capacity)
{
    auto* cache = new CZR_ContinuousBytesCache(capacity);
    if (cache && !cache->HasBuffer()) {
        delete cache;
        return nullptr;
    }
    return cache;
}
