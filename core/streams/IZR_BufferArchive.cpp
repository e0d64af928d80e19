#include "streams/IZR_BufferArchive.h"

#include "memory/ZRByteRanges.h"
#include "system/ZRSYS_Runtime.h"

#include <climits>
#include <cstring>

IZR_BufferArchive::IZR_BufferArchive(int size, _IZR_Allocator* allocator)
    : m_pAllocator(allocator), m_BufSize(size), m_pBuffer(nullptr), m_Length(0)
{
}

IZR_BufferArchive::~IZR_BufferArchive() { IZR_BufferArchive::Clear(); }

void IZR_BufferArchive::Clear()
{
    if (m_pBuffer)
        ZRMEM_AllocatorFree(m_pAllocator, m_pBuffer);
    m_pBuffer = nullptr;
    m_Length = 0;
}

int IZR_BufferArchive::AppendBlock(const void* data, size_t size)
{
    if (!data || size == 0)
        return 0;
    // The count must come back as the result, and a buffer of no bytes could never fill.
    if (size > size_t(INT_MAX) || m_BufSize < 1)
        return -1;
    if (!m_pBuffer) {
        m_pBuffer = static_cast<unsigned char*>(ZRMEM_AllocatorAlloc(m_pAllocator, size_t(m_BufSize)));
        if (!m_pBuffer)
            return -1;
    }
    if (size <= size_t(m_BufSize - m_Length))
        return AppendPieces(static_cast<const unsigned char*>(data), size) ? int(size) : -1;
    // Bytes read after a full buffer has gone to DoWork may be gone by then: bytes of the stream
    // that DoWork writes to move or vanish when that stream grows. They are copied aside first.
    bool appended = ZR_UseCopyOf(data, size, [&](const void* copy) {
        return AppendPieces(static_cast<const unsigned char*>(copy), size);
    });
    return appended ? int(size) : -1;
}

bool IZR_BufferArchive::AppendPieces(const unsigned char* bytes, size_t size)
{
    size_t left = size;
    while (left > 0) {
        size_t room = size_t(m_BufSize - m_Length);
        size_t take = left < room ? left : room;
        memcpy(m_pBuffer + m_Length, bytes, take);
        m_Length += int(take);
        bytes += take;
        left -= take;
        if (m_Length == m_BufSize) {
            m_Length = 0;
            if (!DoWork(m_pBuffer, size_t(m_BufSize)))
                return false;
        }
    }
    return true;
}

int IZR_BufferArchive::AppendByte(unsigned char value) { return AppendBlock(&value, 1); }

int IZR_BufferArchive::AppendDWord(unsigned int value)
{
    // Through the 64-bit writer: values above 2^31 - 1 stay positive.
    return AppendInt64((long long)value);
}

int IZR_BufferArchive::AppendInt64(long long value)
{
    char digits[24];
    ZRSYS_i64toa(value, digits, 10);
    return AppendBlock(digits, strlen(digits));
}

int IZR_BufferArchive::AppendString(const CZR_ByteStringC& text)
{
    return AppendBlock(text.GetPtr(), size_t(text.GetLength()));
}

bool IZR_BufferArchive::Flush()
{
    int length = m_Length;
    m_Length = 0;
    return DoWork(m_pBuffer, size_t(length));
}
