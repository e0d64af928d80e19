#pragma once

#include "memory/CZR_Object.h"
#include "streams/IZR_BufferArchive.h"
#include "streams/IZR_Streams.h"

// A buffer archive that writes its blocks to a stream, optionally owning (taking over) it.
class CZR_FileBufferArchive : public IZR_BufferArchive, public CZR_Object
{
public:
    CZR_FileBufferArchive(int size, _IZR_Allocator* allocator);
    ~CZR_FileBufferArchive() override;

    bool AttachFile(IZR_StreamWrite* stream, bool takeOver);
    // Creates or truncates the file and takes the stream over.
    bool AttachFile(const wchar_t* path);
    bool AttachFile(const char* path);
    // Writes the buffered bytes and, when that succeeds, flushes the stream.
    bool Flush();
    void Clear() override;
    bool DoWork(const void* data, size_t size) override;

private:
    void ReleaseStream();
    bool TakeOver(IZR_StreamWrite* stream);

    IZR_StreamWrite* m_pFile;
    bool m_bTakeOver;
};
