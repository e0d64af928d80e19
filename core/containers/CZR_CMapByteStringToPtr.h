#pragma once

#include "containers/CZR_BaseSegmentedArray.h"
#include "strings/CZR_ByteString.h"

// A compact map of byte-string keys in 24-byte records: keys up to 11 bytes inline, longer ones
// in a copy of their own. A 32-bit hash finds candidates; the key bytes decide. Keys of 64 KiB
// or more are refused.
class CZR_CMapByteStringToPtr
{
public:
    explicit CZR_CMapByteStringToPtr(_IZR_Allocator* allocator = nullptr);
    ~CZR_CMapByteStringToPtr();
    CZR_CMapByteStringToPtr(const CZR_CMapByteStringToPtr&) = delete;
    CZR_CMapByteStringToPtr& operator=(const CZR_CMapByteStringToPtr&) = delete;

    bool SetAt(const CZR_ByteStringC& key, void* value);
    bool AddValue(const CZR_ByteStringC& key, void* value);
    bool Lookup(const CZR_ByteStringC& key, void*& value) const;
    bool RemoveKey(const CZR_ByteStringC& key);
    void* GetStartPosition() const;
    void GetNextAssoc(void*& position, CZR_ByteString& key, void*& value) const;
    void* GetNextValue(void*& position) const;
    int GetCount() const;
    void RemoveAll();

    static uint32_t KeyHash(const CZR_ByteStringC& key);

private:
    uint8_t* Record(int index) const { return static_cast<uint8_t*>(m_Records.GetAt(index)); }
    int FindRecord(const CZR_ByteStringC& key) const;
    int NextInUse(int from) const;
    bool Fill(uint8_t* record, const CZR_ByteStringC& key, void* value);
    void FreeKey(uint8_t* record);

    _IZR_Allocator* m_pAllocator;
    mutable CZR_BaseSegmentedArray m_Records;
};
