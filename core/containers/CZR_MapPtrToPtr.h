#pragma once

#include "containers/CZR_ChainedHashMap.h"

struct ZR_PointerKeyTraits
{
    using Key = void*;
    using KeyArg = void*;
    static uint32_t Hash(void* key)
    {
        uint64_t bits = reinterpret_cast<uintptr_t>(key);
        uint32_t h = uint32_t(bits & 0xFFFF);
        h = h * 1313 + uint32_t((bits >> 16) & 0xFFFF);
        h = h * 1313 + uint32_t((bits >> 32) & 0xFFFF);
        return h * 1313 + uint32_t((bits >> 48) & 0xFFFF);
    }
    static bool Equal(void* stored, void* key) { return stored == key; }
    static bool Store(void*& stored, void* key)
    {
        stored = key;
        return true;
    }
    static void Destroy(void*&) {}
    static void* View(void* stored) { return stored; }
};

// Pointer keys to pointer values; the map never owns what either points to.
class CZR_MapPtrToPtr : public CZR_ChainedHashMap<ZR_PointerKeyTraits>
{
public:
    explicit CZR_MapPtrToPtr(int blockSize = 10, _IZR_Allocator* allocator = nullptr)
        : CZR_ChainedHashMap(blockSize, allocator)
    {
    }

    void* GetValueAt(void* key) const
    {
        void* value = nullptr;
        Lookup(key, value);
        return value;
    }

    void GetNextAssoc(void*& position, void*& key, void*& value) const
    {
        if (CAssoc* assoc = GetCurrentAssoc(position)) {
            key = assoc->key;
            value = assoc->value;
        }
    }

    void ExpandHashTable() { Grow(); }
};
