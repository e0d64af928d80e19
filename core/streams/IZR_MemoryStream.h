#pragma once

#include "memory/ZRMemoryMgr.h"
#include "streams/IZR_Streams.h"

// A read/write stream over memory: one consecutive buffer or a list of equal blocks.
class IZR_MemoryStream : public IZR_FileStream
{
public:
    virtual bool IsConsecutive() = 0;
    virtual void EstimateSize(size_t initialSize, size_t growSize) = 0;
    virtual uint8_t* GetBuffer() = 0;
    virtual void AttachBuffer(uint8_t* buffer, size_t size, bool takeOver) = 0;
    virtual void DetachBuffer() = 0;
};

IZR_MemoryStream* ZR_CreateMemoryStream(bool consecutive, _IZR_Allocator* allocator);
// A consecutive stream over the caller's buffer, which the stream frees only when it takes it over.
IZR_MemoryStream* ZR_CreateMemoryStream(uint8_t* buffer, size_t size, bool takeOver, _IZR_Allocator* allocator);
