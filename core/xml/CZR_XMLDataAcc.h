#pragma once

#include "memory/CZR_Object.h"
#include "streams/IZR_Streams.h"

// The parser's block readers. Both live in memory from their allocator (plain new without one).

// The whole memory buffer is the one block.
class CZR_XMLDataBufAcc : public IZR_BufferRead, public CZR_Object
{
public:
    static CZR_XMLDataBufAcc* Create(const uint8_t* buffer, size_t size, _IZR_Allocator* allocator);

    void Release() override;
    bool IsEOF() override { return m_nOffset >= m_nSize; }
    int64_t GetPosition() override { return int64_t(m_nOffset); }
    size_t ReadBlock(void*, size_t) override { return 0; }
    int64_t SetPosition(int64_t position) override;
    bool ReadNextBlock(bool restart) override;
    const uint8_t* GetBlockBuffer() override { return m_pBuffer; }
    size_t GetBlockSize() override { return m_nSize; }
    int64_t GetBlockOffset() override { return 0; }

    CZR_XMLDataBufAcc(const uint8_t* buffer, size_t size, _IZR_Allocator* allocator)
        : m_pAllocator(allocator), m_pBuffer(buffer), m_nSize(size), m_nOffset(0)
    {
    }

    _IZR_Allocator* m_pAllocator;
    const uint8_t* m_pBuffer;
    size_t m_nSize;
    size_t m_nOffset;
};

// Blocks of a file read one after another into one owned buffer.
class CZR_XMLDataStmAcc : public IZR_BufferRead, public CZR_Object
{
public:
    static constexpr size_t kBlockSize = 32768;

    // The block size is a seam for tests; the parser always reads 32 KiB blocks.
    static CZR_XMLDataStmAcc* Create(IZR_FileRead* file, _IZR_Allocator* allocator, size_t blockSize = kBlockSize);

    void Release() override;
    bool IsEOF() override { return m_nBlockOffset + int64_t(m_nBlockSize) >= m_pFile->GetSize(); }
    int64_t GetPosition() override { return m_nBlockOffset + int64_t(m_nBlockSize); }
    size_t ReadBlock(void*, size_t) override { return 0; }
    int64_t SetPosition(int64_t) override { return -1; }
    bool ReadNextBlock(bool restart) override;
    const uint8_t* GetBlockBuffer() override { return m_pBlock; }
    size_t GetBlockSize() override { return m_nBlockSize; }
    int64_t GetBlockOffset() override { return m_nBlockOffset; }

    CZR_XMLDataStmAcc(IZR_FileRead* file, _IZR_Allocator* allocator, size_t blockSize)
        : m_pAllocator(allocator), m_pFile(file), m_pBlock(nullptr), m_nBlockOffset(0), m_nBlockSize(0),
          m_nCapacity(0), m_nMaxBlock(blockSize ? blockSize : kBlockSize)
    {
    }
    ~CZR_XMLDataStmAcc();

private:
    _IZR_Allocator* m_pAllocator;
    IZR_FileRead* m_pFile;
    uint8_t* m_pBlock;
    int64_t m_nBlockOffset;
    size_t m_nBlockSize;
    size_t m_nCapacity;
    size_t m_nMaxBlock;
};
