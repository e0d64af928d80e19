#pragma once

#include "memory/CZR_Object.h"
#include "streams/IZR_Streams.h"

// Keeps written bytes in one buffer up to a fixed capacity and only counts what goes beyond. Reads
// return the bytes actually stored, never more. No lock, no reference count.
class CZR_LimitCacheStream : public IZR_FileStream, public CZR_Object
{
public:
    // A buffer of `size` bytes when `size` is not 0 and `size` + `reserve` stays within `limit`.
    CZR_LimitCacheStream(size_t size, size_t limit, size_t reserve);
    ~CZR_LimitCacheStream() override;

    void Release() override { delete this; }
    bool IsEOF() override;
    int64_t GetPosition() override;
    size_t ReadBlock(void* buffer, size_t size) override;
    int64_t SetPosition(int64_t position) override;
    int64_t GetSize() override { return int64_t(m_nDataSize); }
    bool ReadBlock(void* buffer, int64_t offset, size_t size) override;
    IZR_FileStream* Retain() override { return nullptr; }
    bool WriteBlock(const void* buffer, int64_t offset, size_t size) override;
    bool WriteBlock(const void* buffer, size_t size) override;
    bool Flush() override { return true; }

private:
    bool Fits(size_t size) const { return m_pBuffer && m_nDataSize <= m_nCapacity && size <= m_nCapacity - m_nDataSize; }

    uint8_t* m_pBuffer;
    uint64_t m_nDataSize;
    uint64_t m_nPosition;
    uint64_t m_nCapacity;
    // The bytes held in the buffer: the data size until a write first failed to fit.
    uint64_t m_nStoredSize;
};
