#pragma once

#include "memory/CZR_GrowOnlyPool.h"
#include "memory/ZRMemoryMgr.h"

#include <cstdint>
#include <cstring>
#include <new>

// The chained hash table shared by the pointer map and the byte-string map: associations come
// from pooled blocks and are recycled through a free list; the table doubles while the count
// reaches the bucket count, up to the first size above 10000 buckets.
// KeyTraits gives: Key (stored), KeyArg (taken), Hash(KeyArg), Equal(const Key&, KeyArg),
// Store(Key&, KeyArg) (constructs in place; false when the copy failed), Destroy(Key&), View(const Key&).
template <class KeyTraits> class CZR_ChainedHashMap
{
public:
    using Key = typename KeyTraits::Key;
    using KeyArg = typename KeyTraits::KeyArg;

    struct CAssoc
    {
        CAssoc* pNext;
        uint32_t nHashBucket;
        Key key;
        void* value;
    };

    CZR_ChainedHashMap(int blockSize, _IZR_Allocator* allocator)
        : m_pAllocator(allocator), m_pHashTable(nullptr), m_nHashTableSize(16), m_nCount(0), m_pFreeList(nullptr),
          m_pBlocks(nullptr), m_nBlockSize(blockSize > 0 ? blockSize : 10)
    {
    }
    ~CZR_ChainedHashMap() { RemoveAll(); }
    CZR_ChainedHashMap(const CZR_ChainedHashMap&) = delete;
    CZR_ChainedHashMap& operator=(const CZR_ChainedHashMap&) = delete;

    int GetCount() const { return m_nCount; }
    uint32_t GetHashTableSize() const { return m_nHashTableSize; }
    uint32_t HashKey(KeyArg key) const { return KeyTraits::Hash(key); }

    // The value slot for the key, inserted with a null value when missing; null when memory ran out.
    void** operator[](KeyArg key)
    {
        uint32_t bucket = 0;
        if (CAssoc* assoc = GetAssocAt(key, bucket))
            return &assoc->value;
        if (!m_pHashTable && !AllocTable(m_nHashTableSize))
            return nullptr;
        CAssoc* assoc = NewAssoc();
        if (!assoc)
            return nullptr;
        if (!KeyTraits::Store(assoc->key, key)) {
            assoc->pNext = m_pFreeList;
            m_pFreeList = assoc;
            return nullptr;
        }
        assoc->value = nullptr;
        assoc->nHashBucket = bucket;
        assoc->pNext = m_pHashTable[bucket];
        m_pHashTable[bucket] = assoc;
        ++m_nCount;
        Grow();
        return &assoc->value;
    }

    bool Lookup(KeyArg key, void*& value) const
    {
        uint32_t bucket = 0;
        CAssoc* assoc = GetAssocAt(key, bucket);
        if (assoc)
            value = assoc->value;
        return assoc;
    }

    CAssoc* GetAssocAt(KeyArg key, uint32_t& bucket) const
    {
        bucket = HashKey(key) % m_nHashTableSize;
        if (!m_pHashTable)
            return nullptr;
        for (CAssoc* assoc = m_pHashTable[bucket]; assoc; assoc = assoc->pNext) {
            if (KeyTraits::Equal(assoc->key, key))
                return assoc;
        }
        return nullptr;
    }

    bool RemoveKey(KeyArg key)
    {
        if (!m_pHashTable)
            return false;
        CAssoc** link = &m_pHashTable[HashKey(key) % m_nHashTableSize];
        for (; *link; link = &(*link)->pNext) {
            if (!KeyTraits::Equal((*link)->key, key))
                continue;
            CAssoc* found = *link;
            *link = found->pNext;
            FreeAssoc(found);
            if (m_nCount == 0)
                RemoveAll();
            return true;
        }
        return false;
    }

    void RemoveAll()
    {
        if (m_pHashTable) {
            for (uint32_t i = 0; i < m_nHashTableSize; ++i) {
                for (CAssoc* assoc = m_pHashTable[i]; assoc; assoc = assoc->pNext)
                    KeyTraits::Destroy(assoc->key);
            }
            ZRMEM_AllocatorFree(m_pAllocator, m_pHashTable);
        }
        m_pHashTable = nullptr;
        m_nCount = 0;
        m_pFreeList = nullptr;
        if (m_pBlocks)
            m_pBlocks->FreeDataChain(m_pAllocator);
        m_pBlocks = nullptr;
    }

    // Sets the bucket count, and makes the table now when asked. Meant for an empty map; what a
    // map still holds is released first rather than lost with the old table.
    void InitHashTable(unsigned size, bool allocNow)
    {
        if (size == 0)
            return;
        RemoveAll();
        m_nHashTableSize = size;
        if (allocNow)
            AllocTable(size);
    }

    // Iteration: the start is "before the first" (all bits set), or null for an empty map.
    void* GetStartPosition() const { return m_nCount ? reinterpret_cast<void*>(~uintptr_t(0)) : nullptr; }

    CAssoc* GetCurrentAssoc(void*& position) const
    {
        if (!position || !m_pHashTable)
            return nullptr;
        CAssoc* assoc = position == GetBeforeStart() ? FirstFrom(0) : static_cast<CAssoc*>(position);
        if (!assoc) {
            position = nullptr;
            return nullptr;
        }
        position = assoc->pNext ? assoc->pNext : FirstFrom(assoc->nHashBucket + 1);
        return assoc;
    }

    CAssoc* NewAssoc()
    {
        if (!m_pFreeList) {
            CZR_Plex* block = CZR_Plex::Create(m_pAllocator, m_pBlocks, size_t(m_nBlockSize), sizeof(CAssoc));
            if (!block)
                return nullptr;
            auto* assocs = static_cast<CAssoc*>(block->data());
            for (int i = m_nBlockSize - 1; i >= 0; --i) {
                assocs[i].pNext = m_pFreeList;
                m_pFreeList = &assocs[i];
            }
        }
        CAssoc* assoc = m_pFreeList;
        m_pFreeList = assoc->pNext;
        return assoc;
    }

    void FreeAssoc(CAssoc* assoc)
    {
        KeyTraits::Destroy(assoc->key);
        assoc->pNext = m_pFreeList;
        m_pFreeList = assoc;
        --m_nCount;
    }

protected:
    void Grow()
    {
        if (m_nHashTableSize > 10000 || uint32_t(m_nCount) < m_nHashTableSize)
            return;
        uint32_t newSize = m_nHashTableSize * 2;
        auto** table = static_cast<CAssoc**>(ZRMEM_AllocatorAlloc(m_pAllocator, sizeof(CAssoc*) * newSize));
        if (!table)
            return;
        memset(table, 0, sizeof(CAssoc*) * newSize);
        for (uint32_t i = 0; i < m_nHashTableSize; ++i) {
            CAssoc* assoc = m_pHashTable[i];
            while (assoc) {
                CAssoc* next = assoc->pNext;
                uint32_t bucket = HashKey(KeyTraits::View(assoc->key)) % newSize;
                assoc->nHashBucket = bucket;
                assoc->pNext = table[bucket];
                table[bucket] = assoc;
                assoc = next;
            }
        }
        ZRMEM_AllocatorFree(m_pAllocator, m_pHashTable);
        m_pHashTable = table;
        m_nHashTableSize = newSize;
    }

private:
    static void* GetBeforeStart() { return reinterpret_cast<void*>(~uintptr_t(0)); }

    bool AllocTable(uint32_t size)
    {
        m_pHashTable = static_cast<CAssoc**>(ZRMEM_AllocatorAlloc(m_pAllocator, sizeof(CAssoc*) * size));
        if (m_pHashTable)
            memset(m_pHashTable, 0, sizeof(CAssoc*) * size);
        return m_pHashTable;
    }

    CAssoc* FirstFrom(uint32_t bucket) const
    {
        for (; bucket < m_nHashTableSize; ++bucket) {
            if (m_pHashTable[bucket])
                return m_pHashTable[bucket];
        }
        return nullptr;
    }

    _IZR_Allocator* m_pAllocator;
    CAssoc** m_pHashTable;
    uint32_t m_nHashTableSize;
    int m_nCount;
    CAssoc* m_pFreeList;
    CZR_Plex* m_pBlocks;
    int m_nBlockSize;
};
