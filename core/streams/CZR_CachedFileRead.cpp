#include "streams/CZR_CachedFileRead.h"

#include "system/ZRMutex.h"
#include "system/ZRReferenceCount.h"

#include <algorithm>

namespace {

constexpr int32_t kSmallestChunk = 4096;

} // namespace

CZR_CachedFileRead::CZR_CachedFileRead() : m_pState(nullptr), m_nRefCount(1) { ZRCRT_Mutex_Initialize(&m_Mutex); }

CZR_CachedFileRead::~CZR_CachedFileRead()
{
    if (m_pState) {
        ReleaseFile();
        delete m_pState;
    }
    ZRCRT_Mutex_Destroy(&m_Mutex);
}

void CZR_CachedFileRead::ReleaseFile()
{
    if (m_pState->file && m_pState->takeOver)
        m_pState->file->Release();
    m_pState->file = nullptr;
}

bool CZR_CachedFileRead::Init(int32_t chunkSize, int32_t chunkCount, void* buffer, _IZR_Allocator* allocator)
{
    CZR_MutexLocker lock(&m_Mutex);
    if (m_pState)
        return false;
    m_pState = new State(allocator);
    if (!m_pState)
        return false;
    if (chunkSize < kSmallestChunk || m_pState->cache.InitChunk(chunkSize, chunkCount, buffer))
        return true;
    delete m_pState;
    m_pState = nullptr;
    return false;
}

bool CZR_CachedFileRead::AttachFile(IZR_FileRead* file, bool takeOver)
{
    CZR_MutexLocker lock(&m_Mutex);
    if (!m_pState)
        return false;
    ReleaseFile();
    m_pState->file = file;
    m_pState->takeOver = takeOver;
    m_pState->position = 0;
    m_pState->cache.Clear();
    return true;
}

bool CZR_CachedFileRead::PreCache(int64_t offset, int32_t count)
{
    CZR_MutexLocker lock(&m_Mutex);
    return m_pState && m_pState->file && m_pState->cache.PreCache(m_pState->file, offset, count);
}

void CZR_CachedFileRead::Release()
{
    if (ZR_DropReference(&m_Mutex, m_nRefCount))
        delete this;
}

IZR_FileStream* CZR_CachedFileRead::Retain()
{
    ZR_AddReference(&m_Mutex, m_nRefCount);
    return this;
}

int64_t CZR_CachedFileRead::GetSize()
{
    CZR_MutexLocker lock(&m_Mutex);
    return m_pState && m_pState->file ? m_pState->file->GetSize() : 0;
}

int64_t CZR_CachedFileRead::GetPosition()
{
    CZR_MutexLocker lock(&m_Mutex);
    return m_pState ? m_pState->position : 0;
}

bool CZR_CachedFileRead::IsEOF()
{
    CZR_MutexLocker lock(&m_Mutex);
    return !m_pState || !m_pState->file || m_pState->position == m_pState->file->GetSize();
}

bool CZR_CachedFileRead::ReadBlock(void* buffer, int64_t offset, size_t size)
{
    CZR_MutexLocker lock(&m_Mutex);
    if (!m_pState || !m_pState->file || offset < 0 || size == 0)
        return false;
    int64_t fileSize = m_pState->file->GetSize();
    if (offset > fileSize || size > uint64_t(fileSize - offset))
        return false;
    if (!m_pState->cache.ReadBlock(m_pState->file, buffer, offset, size))
        return false;
    m_pState->position = offset + int64_t(size);
    return true;
}

size_t CZR_CachedFileRead::ReadBlock(void* buffer, size_t size)
{
    CZR_MutexLocker lock(&m_Mutex);
    if (!m_pState || !m_pState->file)
        return 0;
    int64_t left = m_pState->file->GetSize() - m_pState->position;
    if (left <= 0)
        return 0;
    size_t piece = size_t(std::min<uint64_t>(size, uint64_t(left)));
    return ReadBlock(buffer, m_pState->position, piece) ? piece : 0;
}

int64_t CZR_CachedFileRead::SetPosition(int64_t) { return -1; }

bool CZR_CachedFileRead::WriteBlock(const void*, int64_t, size_t) { return false; }

bool CZR_CachedFileRead::WriteBlock(const void*, size_t) { return false; }

bool CZR_CachedFileRead::Flush() { return false; }
