#include "streams/CZR_MemoryStream.h"

#include "memory/ZRAllocatorObject.h"
#include "memory/ZRByteRanges.h"
#include "system/ZRMutex.h"
#include "system/ZRReferenceCount.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

constexpr uint64_t kDefaultBlockSize = 65536;
constexpr uint64_t kSmallestBlock = 4096;

} // namespace

CZR_MemoryStream::CZR_MemoryStream(uint32_t flags, _IZR_Allocator* allocator)
    : m_Blocks(sizeof(uint8_t*), allocator), m_nRefCount(1), m_nCapacity(0), m_nReserved(0), m_nDataSize(0),
      m_nPosition(0), m_nBlockSize(kDefaultBlockSize), m_dwFlags(flags), m_bUseWindow(false), m_nWindowOffset(0),
      m_nWindowSize(0)
{
    ZRCRT_Mutex_Initialize(&m_Mutex);
}

CZR_MemoryStream::~CZR_MemoryStream()
{
    ForgetBlocks(m_dwFlags & kOwnsBlocks);
    ZRCRT_Mutex_Destroy(&m_Mutex);
}

uint8_t* CZR_MemoryStream::Block(int index) const
{
    uint8_t* block = nullptr;
    if (const uint8_t* slot = m_Blocks.GetDataPtr(index))
        memcpy(&block, slot, sizeof(block));
    return block;
}

bool CZR_MemoryStream::AppendBlockPointer(uint8_t* block)
{
    uint8_t* slot = m_Blocks.InsertSpaceAt(m_Blocks.GetSize(), 1);
    if (!slot)
        return false;
    memcpy(slot, &block, sizeof(block));
    return true;
}

void CZR_MemoryStream::ForgetBlocks(bool free)
{
    for (int i = 0; free && i < m_Blocks.GetSize(); ++i)
        ZRMEM_AllocatorFree(m_Blocks.GetAllocator(), Block(i));
    m_Blocks.SetSize(0, -1);
}

template <class Copy> void CZR_MemoryStream::Visit(uint64_t offset, size_t size, Copy copy)
{
    if (Consecutive()) {
        copy(Block(0) + offset, 0, size);
        return;
    }
    for (size_t done = 0; done < size;) {
        uint64_t at = offset + done;
        size_t inBlock = size_t(at % m_nBlockSize);
        size_t piece = size_t(std::min<uint64_t>(size - done, m_nBlockSize - inBlock));
        copy(Block(int(at / m_nBlockSize)) + inBlock, done, piece);
        done += piece;
    }
}

void CZR_MemoryStream::ZeroRange(uint64_t from, uint64_t to)
{
    Visit(from, size_t(to - from), [](uint8_t* data, size_t, size_t piece) { memset(data, 0, piece); });
}

// A buffer the stream does not own is never reallocated: it is copied into one of the stream's own.
// A failed growth keeps the data as it was.
bool CZR_MemoryStream::GrowConsecutive(uint64_t end)
{
    if (end <= m_nCapacity)
        return true;
    uint64_t capacity = (end + m_nBlockSize - 1) / m_nBlockSize * m_nBlockSize;
    if (capacity < end || capacity > SIZE_MAX)
        return false;
    _IZR_Allocator* allocator = m_Blocks.GetAllocator();
    uint8_t* old = Block(0);
    uint8_t* grown;
    if (old && (m_dwFlags & kOwnsBlocks)) {
        size_t grownCapacity = size_t(capacity);
        grown = static_cast<uint8_t*>(
            ZRMEM_AllocatorGrow(allocator, old, size_t(m_nDataSize), grownCapacity, SIZE_MAX));
        capacity = grownCapacity;
    } else {
        grown = static_cast<uint8_t*>(ZRMEM_AllocatorAlloc(allocator, size_t(capacity)));
        if (grown && old)
            memcpy(grown, old, size_t(m_nDataSize));
    }
    if (!grown)
        return false;
    if (old) {
        memcpy(m_Blocks.GetDataPtr(0), &grown, sizeof(grown));
    } else if (!AppendBlockPointer(grown)) {
        ZRMEM_AllocatorFree(allocator, grown);
        return false;
    }
    m_dwFlags |= kOwnsBlocks;
    m_nCapacity = capacity;
    return true;
}

bool CZR_MemoryStream::GrowBlocks(uint64_t end)
{
    _IZR_Allocator* allocator = m_Blocks.GetAllocator();
    while (m_nCapacity < end) {
        auto* block = static_cast<uint8_t*>(ZRMEM_AllocatorAlloc(allocator, size_t(m_nBlockSize)));
        if (!block)
            return false;
        if (!AppendBlockPointer(block)) {
            ZRMEM_AllocatorFree(allocator, block);
            return false;
        }
        m_nCapacity += m_nBlockSize;
    }
    return true;
}

void CZR_MemoryStream::Release()
{
    if (ZR_DropReference(&m_Mutex, m_nRefCount))
        ZR_DeleteWithAllocator(this, m_Blocks.GetAllocator());
}

IZR_FileStream* CZR_MemoryStream::Retain()
{
    ZR_AddReference(&m_Mutex, m_nRefCount);
    return this;
}

int64_t CZR_MemoryStream::GetSize()
{
    CZR_MutexLocker lock(&m_Mutex);
    return int64_t(m_bUseWindow ? m_nWindowSize : m_nDataSize);
}

int64_t CZR_MemoryStream::GetPosition()
{
    CZR_MutexLocker lock(&m_Mutex);
    return int64_t(m_nPosition - (m_bUseWindow ? m_nWindowOffset : 0));
}

bool CZR_MemoryStream::IsEOF()
{
    CZR_MutexLocker lock(&m_Mutex);
    return GetPosition() >= GetSize();
}

int64_t CZR_MemoryStream::SetPosition(int64_t position)
{
    CZR_MutexLocker lock(&m_Mutex);
    if (position < 0 || position > GetSize())
        return -1;
    m_nPosition = uint64_t(position) + (m_bUseWindow ? m_nWindowOffset : 0);
    return position;
}

bool CZR_MemoryStream::SetRange(int64_t offset, int64_t size)
{
    CZR_MutexLocker lock(&m_Mutex);
    if (offset < 0 || size < 0 || uint64_t(offset) > m_nDataSize || uint64_t(size) > m_nDataSize - uint64_t(offset))
        return false;
    m_bUseWindow = true;
    m_nWindowOffset = uint64_t(offset);
    m_nWindowSize = uint64_t(size);
    m_nPosition = uint64_t(offset);
    return true;
}

void CZR_MemoryStream::ClearRange()
{
    CZR_MutexLocker lock(&m_Mutex);
    m_bUseWindow = false;
}

bool CZR_MemoryStream::ReadBlock(void* buffer, int64_t offset, size_t size)
{
    CZR_MutexLocker lock(&m_Mutex);
    if (offset < 0 || !buffer || size == 0)
        return false;
    uint64_t start = uint64_t(offset);
    uint64_t limit = m_nDataSize;
    if (m_bUseWindow) {
        start += m_nWindowOffset;
        limit = m_nWindowOffset + m_nWindowSize;
    }
    if (start > limit || size > limit - start)
        return false;
    CopyOut(static_cast<uint8_t*>(buffer), start, size);
    m_nPosition = start + size;
    return true;
}

size_t CZR_MemoryStream::ReadBlock(void* buffer, size_t size)
{
    CZR_MutexLocker lock(&m_Mutex);
    uint64_t limit = m_bUseWindow ? std::min(m_nDataSize, m_nWindowOffset + m_nWindowSize) : m_nDataSize;
    if (!buffer || m_nPosition >= limit)
        return 0;
    size_t piece = size_t(std::min<uint64_t>(size, limit - m_nPosition));
    CopyOut(static_cast<uint8_t*>(buffer), m_nPosition, piece);
    m_nPosition += piece;
    return piece;
}

bool CZR_MemoryStream::WriteBlock(const void* buffer, int64_t offset, size_t size)
{
    CZR_MutexLocker lock(&m_Mutex);
    if (!buffer || size == 0 || offset < 0)
        return false;
    uint64_t start = uint64_t(offset) + (m_bUseWindow ? m_nWindowOffset : 0);
    if (size > UINT64_MAX - start)
        return false;
    uint64_t end = start + size;
    // Growing moves the consecutive buffer, or drops a buffer that is only reserved without keeping
    // its bytes: bytes taken from it are copied aside first. Blocks never move.
    if (Consecutive() && end > m_nCapacity && ZR_RangesOverlap(Block(0), size_t(BufferBytes()), buffer, size))
        return ZR_UseCopyOf(buffer, size, [&](const void* copy) { return WriteBlock(copy, offset, size); });
    if (!(Consecutive() ? GrowConsecutive(end) : GrowBlocks(end)))
        return false;
    CopyIn(static_cast<const uint8_t*>(buffer), start, size);
    // Bytes skipped by a write past the end read as zeros, not as whatever the memory held. They
    // are cleared after the copy: the source may lie among them, in room the data has not reached.
    if (start > m_nDataSize)
        ZeroRange(m_nDataSize, start);
    m_nPosition = end;
    m_nDataSize = std::max(m_nDataSize, end);
    return true;
}

// Callers reach the stream's own memory only through the first block, and a piece read from that
// block is always the first piece: it is read before any other piece can overwrite it.
void CZR_MemoryStream::CopyOut(uint8_t* out, uint64_t start, size_t size)
{
    Visit(start, size, [out](const uint8_t* data, size_t done, size_t piece) { memmove(out + done, data, piece); });
}

// A source inside the stream's own memory lies within one block, so at most one piece can
// overwrite it: that piece goes last, after every other piece has read its bytes.
void CZR_MemoryStream::CopyIn(const uint8_t* in, uint64_t start, size_t size)
{
    uint8_t* lastData = nullptr;
    size_t lastDone = 0, lastPiece = 0;
    Visit(start, size, [&](uint8_t* data, size_t done, size_t piece) {
        if (ZR_RangesOverlap(data, piece, in, size)) {
            lastData = data;
            lastDone = done;
            lastPiece = piece;
        } else {
            memcpy(data, in + done, piece);
        }
    });
    if (lastData)
        memmove(lastData, in + lastDone, lastPiece);
}

bool CZR_MemoryStream::WriteBlock(const void* buffer, size_t size)
{
    CZR_MutexLocker lock(&m_Mutex);
    return WriteBlock(buffer, GetSize(), size);
}

bool CZR_MemoryStream::Flush() { return true; }

bool CZR_MemoryStream::IsConsecutive()
{
    CZR_MutexLocker lock(&m_Mutex);
    return Consecutive();
}

void CZR_MemoryStream::EstimateSize(size_t initialSize, size_t growSize)
{
    CZR_MutexLocker lock(&m_Mutex);
    if (!Consecutive() && m_Blocks.GetSize() > 0)
        return;
    m_nBlockSize = std::max<uint64_t>(growSize, kSmallestBlock);
    if (!Consecutive() || Block(0))
        return;
    // The first buffer is only reserved: the capacity stays 0 until the first write sizes it.
    size_t reserved = std::max<size_t>(initialSize, kSmallestBlock);
    auto* first = static_cast<uint8_t*>(ZRMEM_AllocatorAlloc(m_Blocks.GetAllocator(), reserved));
    if (!first)
        return;
    if (!AppendBlockPointer(first)) {
        ZRMEM_AllocatorFree(m_Blocks.GetAllocator(), first);
        return;
    }
    m_dwFlags |= kOwnsBlocks;
    m_nReserved = reserved;
}

uint8_t* CZR_MemoryStream::GetBuffer()
{
    CZR_MutexLocker lock(&m_Mutex);
    return Block(0);
}

void CZR_MemoryStream::AttachBuffer(uint8_t* buffer, size_t size, bool takeOver)
{
    CZR_MutexLocker lock(&m_Mutex);
    if (!Consecutive())
        return;
    ForgetBlocks(false);
    bool attached = buffer && AppendBlockPointer(buffer);
    m_nCapacity = m_nDataSize = attached ? size : 0;
    m_nReserved = 0;
    m_nPosition = 0;
    m_dwFlags = kConsecutive | (takeOver ? kOwnsBlocks : 0);
    m_bUseWindow = false;
}

void CZR_MemoryStream::DetachBuffer()
{
    CZR_MutexLocker lock(&m_Mutex);
    if (!Consecutive())
        return;
    ForgetBlocks(false);
    m_nCapacity = m_nDataSize = m_nPosition = m_nReserved = 0;
    m_dwFlags = kOwnsBlocks;
    m_bUseWindow = false;
}

IZR_MemoryStream* ZR_CreateMemoryStream(bool consecutive, _IZR_Allocator* allocator)
{
    uint32_t flags = CZR_MemoryStream::kOwnsBlocks | (consecutive ? CZR_MemoryStream::kConsecutive : 0);
    return ZR_NewWithAllocator<CZR_MemoryStream>(allocator, flags, allocator);
}

IZR_MemoryStream* ZR_CreateMemoryStream(uint8_t* buffer, size_t size, bool takeOver, _IZR_Allocator* allocator)
{
    auto* stream = ZR_NewWithAllocator<CZR_MemoryStream>(allocator, CZR_MemoryStream::kConsecutive, allocator);
    if (!stream)
        return nullptr;
    stream->AttachBuffer(buffer, size, takeOver);
    // A stream that could not list the buffer would stand for empty data, and never free the buffer.
    if (buffer && stream->GetBuffer() != buffer) {
        stream->Release();
        return nullptr;
    }
    return stream;
}
