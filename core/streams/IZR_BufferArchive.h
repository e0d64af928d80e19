#pragma once

#include "memory/ZRMemoryMgr.h"
#include "strings/ZRStringViews.h"

#include <cstddef>

// A fixed-size write buffer that hands every full block to DoWork, which consumes it.
class IZR_BufferArchive
{
public:
    IZR_BufferArchive(int size, _IZR_Allocator* allocator);
    virtual ~IZR_BufferArchive();
    IZR_BufferArchive(const IZR_BufferArchive&) = delete;
    IZR_BufferArchive& operator=(const IZR_BufferArchive&) = delete;

    virtual void Clear();
    virtual bool DoWork(const void* data, size_t size) = 0;

    // `size`, 0 for nothing to append, -1 when memory runs out or DoWork fails.
    int AppendBlock(const void* data, size_t size);
    int AppendByte(unsigned char value);
    int AppendDWord(unsigned int value);
    int AppendInt64(long long value);
    int AppendString(const CZR_ByteStringC& text);
    // Hands the bytes in use to DoWork and empties the buffer.
    bool Flush();

protected:
    _IZR_Allocator* m_pAllocator;
    int m_BufSize;
    unsigned char* m_pBuffer;
    int m_Length;

private:
    // Copies the bytes in, handing each buffer that fills to DoWork; false when DoWork fails.
    bool AppendPieces(const unsigned char* bytes, size_t size);
};
