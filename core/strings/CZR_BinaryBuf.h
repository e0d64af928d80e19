#pragma once

#include "memory/ZRMemoryMgr.h"
#include "strings/ZRStringViews.h"

class CZR_ByteStringL;

// A growable byte block from a chosen allocator (null: the default manager).
class CZR_BinaryBuf
{
public:
    explicit CZR_BinaryBuf(_IZR_Allocator* allocator = nullptr);
    CZR_BinaryBuf(int size, _IZR_Allocator* allocator);
    ~CZR_BinaryBuf();
    CZR_BinaryBuf(const CZR_BinaryBuf&) = delete;
    CZR_BinaryBuf& operator=(const CZR_BinaryBuf&) = delete;

    unsigned char* GetBuffer() const { return m_pBuffer; }
    int GetSize() const { return m_DataSize; }
    int GetAllocSize() const { return m_AllocSize; }

    void Clear() { m_DataSize = 0; }
    void DetachBuffer();
    void AttachData(void* p, int size);
    void TakeOver(CZR_BinaryBuf& other);
    bool EstimateSize(int size, int step = 0);
    bool ExpandBuf(int add);
    bool CopyData(const void* p, int n);
    bool AppendBlock(const void* p, int n);
    // Both blocks or neither; either may lie inside this buffer.
    bool AppendBlocks(const void* first, int firstSize, const void* second, int secondSize);
    bool InsertBlock(int pos, const void* p, int n);
    bool AppendFill(unsigned char b, int count);
    void Delete(int start, int count);
    CZR_ByteStringC GetByteString() const { return CZR_ByteStringC(m_pBuffer, m_DataSize); }
    bool GetByteStringL(CZR_ByteStringL& out) const;

protected:
    void FreeBlock();
    // Where p lies within the allocated block, or -1 when it lies outside.
    int64_t OffsetInBlock(const void* p) const;
    // Appends bytes the block already has room for.
    void AppendPlaced(const void* p, int n);

    _IZR_Allocator* m_pAllocator;
    int m_AllocStep;
    unsigned char* m_pBuffer;
    int m_DataSize;
    int m_AllocSize;
};
