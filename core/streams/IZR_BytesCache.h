#pragma once

#include "streams/IZR_Streams.h"

#include <cstddef>
#include <cstdint>

// A stretch of a byte sequence.
struct ZR_BYTESRANGE
{
    int64_t offset;
    uint64_t size;
};

// A window over a byte sequence kept in memory.
class IZR_BytesCache
{
public:
    // Reads `size` bytes of the file at `offset` into the window.
    virtual void Load(IZR_FileRead* file, int64_t offset, size_t size) = 0;
    // Copies the part of `range` that the window holds to `buffer` (at its place within the range)
    // and answers that part; {range offset, 0} when nothing overlaps.
    virtual ZR_BYTESRANGE Read(void* buffer, ZR_BYTESRANGE range) = 0;
    virtual void Write(const void* buffer, int64_t offset, size_t size) = 0;
    virtual void Clear() = 0;
    virtual ~IZR_BytesCache() = default;
};
