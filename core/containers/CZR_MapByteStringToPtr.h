#pragma once

#include "containers/CZR_ChainedHashMap.h"
#include "strings/CZR_ByteString.h"

struct ZR_ByteStringKeyTraits
{
    using Key = CZR_ByteString;
    using KeyArg = const CZR_ByteStringC&;
    static uint32_t Hash(const CZR_ByteStringC& key)
    {
        uint32_t h = 0;
        for (int i = 0; i < key.GetLength(); ++i)
            h = h * 31 + uint8_t(key[i]);
        return h;
    }
    static bool Equal(const CZR_ByteString& stored, const CZR_ByteStringC& key) { return stored.Equal(key); }
    static bool Store(CZR_ByteString& stored, const CZR_ByteStringC& key)
    {
        new (&stored) CZR_ByteString(key);
        if (stored.GetLength() == key.GetLength())
            return true;
        stored.~CZR_ByteString();
        return false;
    }
    static void Destroy(CZR_ByteString& stored) { stored.~CZR_ByteString(); }
    static CZR_ByteStringC View(const CZR_ByteString& stored) { return stored; }
};

// Byte-string keys (copied) to pointer values.
class CZR_MapByteStringToPtr : public CZR_ChainedHashMap<ZR_ByteStringKeyTraits>
{
public:
    explicit CZR_MapByteStringToPtr(int blockSize = 10, _IZR_Allocator* allocator = nullptr)
        : CZR_ChainedHashMap(blockSize, allocator)
    {
    }

    void GetNextAssoc(void*& position, CZR_ByteString& key, void*& value) const
    {
        if (CAssoc* assoc = GetCurrentAssoc(position)) {
            key = assoc->key;
            value = assoc->value;
        }
    }

    void* GetNextValue(void*& position) const
    {
        CAssoc* assoc = GetCurrentAssoc(position);
        return assoc ? assoc->value : nullptr;
    }

    void ExpendHashTable() { Grow(); }
};
