#include "streams/CZR_CRTFileStream.h"

#include "system/ZRMutex.h"

#include <new>

CZR_CRTFileStream::CZR_CRTFileStream(IZRCRT_FileAccess* access, _IZR_Allocator* allocator)
    : m_pAllocator(allocator), m_pAccess(access), m_nRefCount(1), m_bUseRange(false), m_nRangeOffset(0),
      m_nRangeSize(0)
{
    ZRCRT_Mutex_Initialize(&m_Mutex);
}

CZR_CRTFileStream::~CZR_CRTFileStream()
{
    m_pAccess->Release(m_pAllocator);
    ZRCRT_Mutex_Destroy(&m_Mutex);
}

void CZR_CRTFileStream::Release()
{
    uint32_t before;
    {
        CZR_MutexLocker lock(&m_Mutex);
        before = m_nRefCount--;
    }
    if (before != 1)
        return;
    _IZR_Allocator* allocator = m_pAllocator;
    if (!allocator) {
        delete this;
        return;
    }
    this->~CZR_CRTFileStream();
    allocator->Free(allocator, this);
}

IZR_FileStream* CZR_CRTFileStream::Retain()
{
    CZR_MutexLocker lock(&m_Mutex);
    ++m_nRefCount;
    return this;
}

int64_t CZR_CRTFileStream::GetSize()
{
    CZR_MutexLocker lock(&m_Mutex);
    return m_bUseRange ? m_nRangeSize : m_pAccess->GetSize();
}

int64_t CZR_CRTFileStream::GetPosition()
{
    CZR_MutexLocker lock(&m_Mutex);
    int64_t position = m_pAccess->GetPosition();
    return m_bUseRange && position >= 0 ? position - m_nRangeOffset : position;
}

bool CZR_CRTFileStream::IsEOF()
{
    CZR_MutexLocker lock(&m_Mutex);
    return GetPosition() >= GetSize();
}

int64_t CZR_CRTFileStream::SetPosition(int64_t position)
{
    CZR_MutexLocker lock(&m_Mutex);
    if (position < 0 || position > GetSize())
        return -1;
    int64_t target = m_bUseRange ? position + m_nRangeOffset : position;
    return m_pAccess->SetPosition(target) < 0 ? -1 : position;
}

size_t CZR_CRTFileStream::ReadBlock(void* buffer, size_t size)
{
    CZR_MutexLocker lock(&m_Mutex);
    if (m_bUseRange) {
        int64_t left = m_nRangeOffset + m_nRangeSize - m_pAccess->GetPosition();
        if (left <= 0)
            return 0;
        if (uint64_t(left) < size)
            size = size_t(left);
    }
    return m_pAccess->Read(buffer, size);
}

bool CZR_CRTFileStream::SetRange(int64_t offset, int64_t size)
{
    CZR_MutexLocker lock(&m_Mutex);
    if (offset < 0 || size < 0 || offset > m_pAccess->GetSize() - size)
        return false;
    m_nRangeOffset = offset;
    m_nRangeSize = size;
    m_bUseRange = true;
    m_pAccess->SetPosition(offset);
    return true;
}

void CZR_CRTFileStream::ClearRange()
{
    CZR_MutexLocker lock(&m_Mutex);
    m_bUseRange = false;
}

bool CZR_CRTFileStream::ReadBlock(void* buffer, int64_t offset, size_t size)
{
    CZR_MutexLocker lock(&m_Mutex);
    if (offset < 0)
        return false;
    if (m_bUseRange) {
        if (uint64_t(offset) + size > uint64_t(m_nRangeSize))
            return false;
        offset += m_nRangeOffset;
    }
    return m_pAccess->ReadPos(buffer, size, offset) == size;
}

bool CZR_CRTFileStream::WriteBlock(const void* buffer, int64_t offset, size_t size)
{
    CZR_MutexLocker lock(&m_Mutex);
    if (offset < 0)
        return false;
    if (m_bUseRange)
        offset += m_nRangeOffset;
    return m_pAccess->WritePos(buffer, size, offset) == size;
}

bool CZR_CRTFileStream::WriteBlock(const void* buffer, size_t size)
{
    CZR_MutexLocker lock(&m_Mutex);
    return WriteBlock(buffer, GetSize(), size);
}

bool CZR_CRTFileStream::Flush()
{
    CZR_MutexLocker lock(&m_Mutex);
    return m_pAccess->Flush();
}

namespace {

template <class Path> IZR_FileStream* createStream(const Path& path, uint32_t flags, _IZR_Allocator* allocator)
{
    IZRCRT_FileAccess* access = ZRCRT_FileAccess_Open(path, flags, allocator);
    if (!access)
        return nullptr;
    void* block = allocator ? allocator->Alloc(allocator, sizeof(CZR_CRTFileStream))
                            : CZR_Object::operator new(sizeof(CZR_CRTFileStream));
    if (!block) {
        access->Release(allocator);
        return nullptr;
    }
    return ::new (block) CZR_CRTFileStream(access, allocator);
}

IZR_FileWrite* writeFace(IZR_FileStream* stream) { return stream ? static_cast<IZR_FileWrite*>(stream) : nullptr; }

} // namespace

IZR_FileStream* ZR_CreateFileStream(const char* path, uint32_t flags, _IZR_Allocator* allocator)
{
    return createStream(CZR_ByteStringC(path), flags, allocator);
}

IZR_FileStream* ZR_CreateFileStream(const wchar_t* path, uint32_t flags, _IZR_Allocator* allocator)
{
    return createStream(CZR_WideStringC(path), flags, allocator);
}

IZR_FileRead* ZR_CreateFileRead(const char* path, _IZR_Allocator* allocator)
{
    return ZR_CreateFileStream(path, ZR_FILE_READONLY, allocator);
}

IZR_FileRead* ZR_CreateFileRead(const wchar_t* path, _IZR_Allocator* allocator)
{
    return ZR_CreateFileStream(path, ZR_FILE_READONLY, allocator);
}

IZR_FileWrite* ZR_CreateFileWrite(const char* path, _IZR_Allocator* allocator)
{
    return writeFace(ZR_CreateFileStream(path, ZR_FILE_TRUNCATE, allocator));
}

IZR_FileWrite* ZR_CreateFileWrite(const wchar_t* path, _IZR_Allocator* allocator)
{
    return writeFace(ZR_CreateFileStream(path, ZR_FILE_TRUNCATE, allocator));
}
