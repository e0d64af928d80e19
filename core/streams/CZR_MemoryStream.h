#pragma once

#include "containers/CZR_BasicArray.h"
#include "memory/CZR_Object.h"
#include "streams/IZR_MemoryStream.h"

#include <pthread.h>

// The memory stream. A consecutive stream grows its one buffer in multiples of the block size; a
// block stream adds blocks of the block size. A window (SetRange) shows part of the data as the
// whole stream. Every operation holds the stream's own recursive mutex.
class CZR_MemoryStream : public IZR_MemoryStream, public CZR_Object
{
public:
    static constexpr uint32_t kConsecutive = 1;
    static constexpr uint32_t kOwnsBlocks = 2;

    CZR_MemoryStream(uint32_t flags, _IZR_Allocator* allocator);
    ~CZR_MemoryStream() override;

    void Release() override;
    bool IsEOF() override;
    int64_t GetPosition() override;
    size_t ReadBlock(void* buffer, size_t size) override;
    int64_t SetPosition(int64_t position) override;
    int64_t GetSize() override;
    bool SetRange(int64_t offset, int64_t size) override;
    void ClearRange() override;
    bool ReadBlock(void* buffer, int64_t offset, size_t size) override;
    IZR_FileStream* Retain() override;
    bool WriteBlock(const void* buffer, int64_t offset, size_t size) override;
    bool WriteBlock(const void* buffer, size_t size) override;
    bool Flush() override;
    bool IsConsecutive() override;
    void EstimateSize(size_t initialSize, size_t growSize) override;
    uint8_t* GetBuffer() override;
    void AttachBuffer(uint8_t* buffer, size_t size, bool takeOver) override;
    void DetachBuffer() override;

private:
    bool Consecutive() const { return m_dwFlags & kConsecutive; }
    uint64_t BufferBytes() const { return m_nCapacity ? m_nCapacity : m_nReserved; }
    uint8_t* Block(int index) const;
    bool AppendBlockPointer(uint8_t* block);
    void ForgetBlocks(bool free);
    bool GrowConsecutive(uint64_t end);
    bool GrowBlocks(uint64_t end);
    void ZeroRange(uint64_t from, uint64_t to);
    // Copies between the caller and the data at an absolute offset; the range must lie in the blocks.
    template <class Copy> void Visit(uint64_t offset, size_t size, Copy copy);
    // Reads the data at an absolute offset inside the blocks into the caller's buffer, which may lie in the blocks.
    void CopyOut(uint8_t* out, uint64_t start, size_t size);
    // Writes the caller's bytes at an absolute offset inside the blocks; they may come from the blocks.
    void CopyIn(const uint8_t* in, uint64_t start, size_t size);

    pthread_mutex_t m_Mutex;
    CZR_BasicArray m_Blocks;
    uint32_t m_nRefCount;
    uint64_t m_nCapacity;
    // Bytes of a first buffer that EstimateSize made while the capacity is still 0.
    uint64_t m_nReserved;
    uint64_t m_nDataSize;
    uint64_t m_nPosition;
    uint64_t m_nBlockSize;
    uint32_t m_dwFlags;
    bool m_bUseWindow;
    uint64_t m_nWindowOffset;
    uint64_t m_nWindowSize;
};
