#include "streams/CZR_LimitCacheStream.h"

#include <algorithm>
#include <cstring>

CZR_LimitCacheStream::CZR_LimitCacheStream(size_t size, size_t limit, size_t reserve)
    : m_pBuffer(nullptr), m_nDataSize(0), m_nPosition(0), m_nCapacity(0), m_nStoredSize(0)
{
    if (size == 0 || reserve > limit || size > limit - reserve)
        return;
    // Zero-filled: a counted write without bytes leaves zeros, not stale memory, for reads to see.
    m_pBuffer = static_cast<uint8_t*>(ZRMEM_DefaultAlloc(size, ZRMEM_FLAG_MAYFAIL));
    if (!m_pBuffer)
        return;
    memset(m_pBuffer, 0, size);
    m_nCapacity = size;
}

CZR_LimitCacheStream::~CZR_LimitCacheStream()
{
    if (m_pBuffer)
        ZRMEM_DefaultFree(m_pBuffer, 0);
}

bool CZR_LimitCacheStream::WriteBlock(const void* buffer, size_t size)
{
    if (size == 0)
        return true;
    if (Fits(size)) {
        if (buffer)
            memcpy(m_pBuffer + m_nDataSize, buffer, size);
        m_nStoredSize = m_nDataSize + size;
    }
    m_nDataSize += size;
    return true;
}

bool CZR_LimitCacheStream::WriteBlock(const void* buffer, int64_t offset, size_t size)
{
    if (offset < 0 || uint64_t(offset) > m_nDataSize)
        return false;
    if (size == 0)
        return true;
    if (Fits(size)) {
        uint8_t* at = m_pBuffer + offset;
        memmove(at + size, at, size_t(m_nDataSize - uint64_t(offset)));
        if (buffer)
            memcpy(at, buffer, size);
        else
            memset(at, 0, size);
        m_nStoredSize = m_nDataSize + size;
    }
    m_nDataSize += size;
    return true;
}

size_t CZR_LimitCacheStream::ReadBlock(void* buffer, size_t size)
{
    if (!m_pBuffer || !buffer || m_nPosition >= m_nStoredSize)
        return 0;
    size_t piece = size_t(std::min<uint64_t>(size, m_nStoredSize - m_nPosition));
    memcpy(buffer, m_pBuffer + m_nPosition, piece);
    m_nPosition += piece;
    return piece;
}

bool CZR_LimitCacheStream::ReadBlock(void* buffer, int64_t offset, size_t size)
{
    if (offset < 0 || !m_pBuffer || uint64_t(offset) > m_nDataSize || size > m_nDataSize - uint64_t(offset))
        return false;
    if (!buffer || size == 0)
        return true;
    // Bytes that were only counted were never kept.
    if (uint64_t(offset) + size > m_nStoredSize)
        return false;
    memcpy(buffer, m_pBuffer + offset, size);
    return true;
}

bool CZR_LimitCacheStream::IsEOF() { return !m_pBuffer || m_nPosition >= m_nDataSize; }

int64_t CZR_LimitCacheStream::GetPosition() { return int64_t(m_pBuffer ? m_nPosition : m_nDataSize); }

int64_t CZR_LimitCacheStream::SetPosition(int64_t position)
{
    if (!m_pBuffer)
        return int64_t(m_nDataSize);
    m_nPosition = uint64_t(position);
    return position;
}
