#pragma once

#include "memory/CZR_Object.h"
#include "strings/ZRStringViews.h"

#include <cstddef>
#include <cstdint>

// Open flags: bit 0 read only; 0 read and write, created when missing; 2 the same, truncated.
constexpr uint32_t ZR_FILE_READONLY = 1;
constexpr uint32_t ZR_FILE_READWRITE = 0;
constexpr uint32_t ZR_FILE_TRUNCATE = 2;

void ZRCRT_Posix_GetFileMode(uint32_t flags, int& openFlags, int& creationMode);

// The platform file access behind handles and file streams.
class IZRCRT_FileAccess
{
public:
    virtual ~IZRCRT_FileAccess() = default;
    virtual bool Open(const CZR_ByteStringC& path, uint32_t flags) = 0;
    virtual bool Open(const CZR_WideStringC& path, uint32_t flags) = 0;
    virtual void Close() = 0;
    virtual void Release(_IZR_Allocator* allocator) = 0;
    virtual int64_t GetSize() const = 0;
    virtual int64_t GetPosition() const = 0;
    virtual int64_t SetPosition(int64_t position) = 0;
    virtual size_t Read(void* buffer, size_t size) = 0;
    virtual size_t Write(const void* buffer, size_t size) = 0;
    virtual size_t ReadPos(void* buffer, size_t size, int64_t position) = 0;
    virtual size_t WritePos(const void* buffer, size_t size, int64_t position) = 0;
    virtual bool Flush() = 0;
    virtual bool Truncate(int64_t length) = 0;
};

// Over a POSIX descriptor, -1 while closed. Reads and writes retry after interruptions and
// continue until every byte moved or the file ends; errors count as nothing moved.
class CZRCRT_FileAccess_Posix : public IZRCRT_FileAccess, public CZR_Object
{
public:
    CZRCRT_FileAccess_Posix() : m_nFD(-1) {}
    ~CZRCRT_FileAccess_Posix() override;

    bool Open(const CZR_ByteStringC& path, uint32_t flags) override;
    bool Open(const CZR_WideStringC& path, uint32_t flags) override;
    void Close() override;
    void Release(_IZR_Allocator* allocator) override;
    int64_t GetSize() const override;
    int64_t GetPosition() const override;
    int64_t SetPosition(int64_t position) override;
    size_t Read(void* buffer, size_t size) override;
    size_t Write(const void* buffer, size_t size) override;
    size_t ReadPos(void* buffer, size_t size, int64_t position) override;
    size_t WritePos(const void* buffer, size_t size, int64_t position) override;
    bool Flush() override;
    bool Truncate(int64_t length) override;

private:
    int m_nFD;
};

IZRCRT_FileAccess* ZRCRT_FileAccess_Create(_IZR_Allocator* allocator);

// A file access made and opened on `path` (a byte or wide path view); null when either step fails.
template <class Path>
IZRCRT_FileAccess* ZRCRT_FileAccess_Open(const Path& path, uint32_t flags, _IZR_Allocator* allocator)
{
    IZRCRT_FileAccess* access = ZRCRT_FileAccess_Create(allocator);
    if (access && !access->Open(path, flags)) {
        access->Release(allocator);
        return nullptr;
    }
    return access;
}

// Whole transfers on a descriptor: retried after interruptions; the count that moved.
size_t ZRCRT_ReadAll(int fd, void* buffer, size_t size, bool* failed = nullptr);
size_t ZRCRT_WriteAll(int fd, const void* buffer, size_t size);
