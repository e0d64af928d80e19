#pragma once

#include "memory/CZR_Object.h"
#include "streams/IZRCRT_FileAccess.h"
#include "streams/IZR_Streams.h"

#include <pthread.h>

// A reference-counted file stream over a platform access that it owns, optionally restricted to
// a window of the file. Every operation holds the stream's own recursive mutex.
class CZR_CRTFileStream : public IZR_FileStream, public CZR_Object
{
public:
    CZR_CRTFileStream(IZRCRT_FileAccess* access, _IZR_Allocator* allocator);
    ~CZR_CRTFileStream() override;

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

private:
    pthread_mutex_t m_Mutex;
    _IZR_Allocator* m_pAllocator;
    IZRCRT_FileAccess* m_pAccess;
    uint32_t m_nRefCount;
    bool m_bUseRange;
    int64_t m_nRangeOffset;
    int64_t m_nRangeSize;
};

IZR_FileStream* ZR_CreateFileStream(const char* path, uint32_t flags, _IZR_Allocator* allocator);
IZR_FileStream* ZR_CreateFileStream(const wchar_t* path, uint32_t flags, _IZR_Allocator* allocator);
IZR_FileRead* ZR_CreateFileRead(const char* path, _IZR_Allocator* allocator);
IZR_FileRead* ZR_CreateFileRead(const wchar_t* path, _IZR_Allocator* allocator);
IZR_FileWrite* ZR_CreateFileWrite(const char* path, _IZR_Allocator* allocator);
IZR_FileWrite* ZR_CreateFileWrite(const wchar_t* path, _IZR_Allocator* allocator);
