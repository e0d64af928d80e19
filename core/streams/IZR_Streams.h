#pragma once

#include <cstddef>
#include <cstdint>

// The stream interfaces the library passes around. Virtual operations are declared in their
// table order; positions and sizes are 64-bit, counts size_t.

class IZR_StreamRead
{
public:
    virtual void Release() = 0;
    virtual bool IsEOF() = 0;
    virtual int64_t GetPosition() = 0;
    virtual size_t ReadBlock(void* buffer, size_t size) = 0;
    virtual int64_t SetPosition(int64_t position) = 0;
    virtual ~IZR_StreamRead() = default;
};

class IZR_FileRead : public IZR_StreamRead
{
public:
    using IZR_StreamRead::ReadBlock;
    virtual int64_t GetSize() = 0;
    virtual bool SetRange(int64_t, int64_t) { return false; }
    virtual void ClearRange() {}
    virtual bool ReadBlock(void* buffer, int64_t offset, size_t size) = 0;
};

class IZR_StreamWrite
{
public:
    virtual void Release() = 0;
    virtual bool WriteBlock(const void* buffer, size_t size) = 0;
    virtual bool Flush() = 0;
    virtual ~IZR_StreamWrite() = default;
};

class IZR_FileWrite : public IZR_StreamWrite
{
public:
    using IZR_StreamWrite::WriteBlock;
    virtual int64_t GetSize() = 0;
    virtual bool WriteBlock(const void* buffer, int64_t offset, size_t size) = 0;
};

class IZR_FileStream : public IZR_FileRead, public IZR_FileWrite
{
public:
    using IZR_FileRead::ReadBlock;
    virtual IZR_FileStream* Retain() = 0;
    bool WriteBlock(const void* buffer, int64_t offset, size_t size) override = 0;
    bool WriteBlock(const void* buffer, size_t size) override { return WriteBlock(buffer, GetSize(), size); }
    bool Flush() override = 0;
    void Release() override = 0;
    int64_t GetSize() override = 0;
};

// Hands data over block by block without copying it.
class IZR_BufferRead : public IZR_StreamRead
{
public:
    virtual bool ReadNextBlock(bool restart) = 0;
    virtual const uint8_t* GetBlockBuffer() = 0;
    virtual size_t GetBlockSize() = 0;
    virtual int64_t GetBlockOffset() = 0;
};
