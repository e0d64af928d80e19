#pragma once

#include "memory/CZR_Object.h"
#include "streams/CZR_FileCache.h"
#include "streams/IZR_Streams.h"

#include <pthread.h>

// A read-only file stream that reads an attached file through a chunk cache. Made, then Init (once),
// then AttachFile. Every operation holds the stream's own recursive mutex.
class CZR_CachedFileRead : public IZR_FileStream, public CZR_Object
{
public:
    CZR_CachedFileRead();
    ~CZR_CachedFileRead() override;

    // A chunk size below 4096, or a null buffer, reads straight from the file; the chunk memory
    // (chunkSize x chunkCount bytes) stays the caller's.
    bool Init(int32_t chunkSize, int32_t chunkCount, void* buffer, _IZR_Allocator* allocator);
    // Forgets the cache; a file taken over before is released.
    bool AttachFile(IZR_FileRead* file, bool takeOver);
    bool PreCache(int64_t offset, int32_t count);

    void Release() override;
    bool IsEOF() override;
    int64_t GetPosition() override;
    size_t ReadBlock(void* buffer, size_t size) override;
    int64_t SetPosition(int64_t position) override;
    int64_t GetSize() override;
    bool ReadBlock(void* buffer, int64_t offset, size_t size) override;
    IZR_FileStream* Retain() override;
    bool WriteBlock(const void* buffer, int64_t offset, size_t size) override;
    bool WriteBlock(const void* buffer, size_t size) override;
    bool Flush() override;

private:
    struct State : CZR_Object
    {
        explicit State(_IZR_Allocator* allocator) : allocator(allocator), cache(allocator) {}
        _IZR_Allocator* allocator;
        CZR_FileCache cache;
        IZR_FileRead* file = nullptr;
        int64_t position = 0;
        bool takeOver = false;
    };

    void ReleaseFile();

    pthread_mutex_t m_Mutex;
    State* m_pState;
    uint32_t m_nRefCount;
};
