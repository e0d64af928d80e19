#include "streams/CZR_FileBufferArchive.h"

#include "streams/CZR_CRTFileStream.h"

CZR_FileBufferArchive::CZR_FileBufferArchive(int size, _IZR_Allocator* allocator)
    : IZR_BufferArchive(size, allocator), m_pFile(nullptr), m_bTakeOver(false)
{
}

CZR_FileBufferArchive::~CZR_FileBufferArchive() { CZR_FileBufferArchive::Clear(); }

void CZR_FileBufferArchive::ReleaseStream()
{
    if (m_pFile && m_bTakeOver)
        m_pFile->Release();
    m_pFile = nullptr;
    m_bTakeOver = false;
}

bool CZR_FileBufferArchive::AttachFile(IZR_StreamWrite* stream, bool takeOver)
{
    if (!stream)
        return false;
    if (stream == m_pFile) {
        m_bTakeOver = takeOver;
        return true;
    }
    ReleaseStream();
    m_pFile = stream;
    m_bTakeOver = takeOver;
    return true;
}

bool CZR_FileBufferArchive::TakeOver(IZR_StreamWrite* stream)
{
    ReleaseStream();
    return stream && AttachFile(stream, true);
}

bool CZR_FileBufferArchive::AttachFile(const wchar_t* path) { return TakeOver(ZR_CreateFileWrite(path, m_pAllocator)); }

bool CZR_FileBufferArchive::AttachFile(const char* path) { return TakeOver(ZR_CreateFileWrite(path, m_pAllocator)); }

bool CZR_FileBufferArchive::DoWork(const void* data, size_t size)
{
    if (!m_pFile)
        return false;
    if (!data || size == 0)
        return true;
    return m_pFile->WriteBlock(data, size);
}

bool CZR_FileBufferArchive::Flush() { return IZR_BufferArchive::Flush() && m_pFile->Flush(); }

void CZR_FileBufferArchive::Clear()
{
    ReleaseStream();
    IZR_BufferArchive::Clear();
}
