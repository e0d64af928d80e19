#include "xml/CZR_XMLDataAcc.h"

#include <new>

namespace {

template <class Reader, class... Args> Reader* createReader(_IZR_Allocator* allocator, Args&&... args)
{
    if (!allocator)
        return new Reader(args...);
    void* block = allocator->Alloc(allocator, sizeof(Reader));
    return block ? ::new (block) Reader(args...) : nullptr;
}

template <class Reader> void releaseReader(Reader* reader, _IZR_Allocator* allocator)
{
    if (!allocator) {
        delete reader;
        return;
    }
    reader->~Reader();
    allocator->Free(allocator, reader);
}

} // namespace

CZR_XMLDataBufAcc* CZR_XMLDataBufAcc::Create(const uint8_t* buffer, size_t size, _IZR_Allocator* allocator)
{
    return createReader<CZR_XMLDataBufAcc>(allocator, buffer, size, allocator);
}

void CZR_XMLDataBufAcc::Release() { releaseReader(this, m_pAllocator); }

int64_t CZR_XMLDataBufAcc::SetPosition(int64_t position)
{
    if (position < 0 || uint64_t(position) > m_nSize)
        return -1;
    m_nOffset = size_t(position);
    return position;
}

bool CZR_XMLDataBufAcc::ReadNextBlock(bool restart)
{
    if (restart)
        m_nOffset = 0;
    if (m_nOffset >= m_nSize)
        return false;
    m_nOffset = m_nSize;
    return true;
}

CZR_XMLDataStmAcc* CZR_XMLDataStmAcc::Create(IZR_FileRead* file, _IZR_Allocator* allocator, size_t blockSize)
{
    if (!file)
        return nullptr;
    return createReader<CZR_XMLDataStmAcc>(allocator, file, allocator, blockSize);
}

CZR_XMLDataStmAcc::~CZR_XMLDataStmAcc()
{
    if (m_pBlock)
        ZRMEM_AllocatorFree(m_pAllocator, m_pBlock);
}

void CZR_XMLDataStmAcc::Release() { releaseReader(this, m_pAllocator); }

bool CZR_XMLDataStmAcc::ReadNextBlock(bool restart)
{
    int64_t offset = restart ? 0 : m_nBlockOffset + int64_t(m_nBlockSize);
    int64_t rest = m_pFile->GetSize() - offset;
    if (rest <= 0)
        return false;
    size_t size = uint64_t(rest) < m_nMaxBlock ? size_t(rest) : m_nMaxBlock;
    if (!m_pBlock) {
        m_pBlock = static_cast<uint8_t*>(ZRMEM_AllocatorAlloc(m_pAllocator, size));
        if (!m_pBlock)
            return false;
        m_nCapacity = size;
    }
    // A file that grew after the first block still fits the buffer made for it.
    if (size > m_nCapacity)
        size = m_nCapacity;
    // A block that could not be read is not taken: the reader stays short of its end.
    if (!m_pFile->ReadBlock(m_pBlock, offset, size))
        return false;
    m_nBlockOffset = offset;
    m_nBlockSize = size;
    return true;
}
