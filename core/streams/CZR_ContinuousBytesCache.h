#pragma once

#include "memory/CZR_Object.h"
#include "streams/IZR_BytesCache.h"

// A sliding window over a byte sequence in one fixed buffer: bytes written next to the window join
// it, the oldest giving way at the far end; anything else starts a new window.
class CZR_ContinuousBytesCache : public IZR_BytesCache, public CZR_Object
{
public:
    explicit CZR_ContinuousBytesCache(size_t capacity);
    ~CZR_ContinuousBytesCache() override;

    void Load(IZR_FileRead* file, int64_t offset, size_t size) override;
    ZR_BYTESRANGE Read(void* buffer, ZR_BYTESRANGE range) override;
    void Write(const void* buffer, int64_t offset, size_t size) override;
    void Clear() override;

    bool HasBuffer() const { return m_pBuffer; }
    ZR_BYTESRANGE GetWindow() const { return {m_nStart, m_nLength}; }

private:
    uint8_t* m_pBuffer;
    int64_t m_nStart;
    uint64_t m_nLength;
    uint64_t m_nCapacity;
};

// Null when the buffer cannot be had.
IZR_BytesCache* ZR_CreateContinuousBytesCache(size_t capacity);
