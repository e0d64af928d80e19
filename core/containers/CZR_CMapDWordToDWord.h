#pragma once

#include "strings/CZR_BinaryBuf.h"

#include <cstdint>

// 32-bit keys to 32-bit values, kept as pairs sorted by key.
class CZR_CMapDWordToDWord
{
public:
    explicit CZR_CMapDWordToDWord(_IZR_Allocator* allocator = nullptr) : m_Buffer(allocator) {}

    // The index of the pair, or -1 when the buffer could not grow.
    int SetAt(uint32_t key, uint32_t value);
    bool Lookup(uint32_t key, uint32_t& value) const;
    void* GetStartPosition() const { return reinterpret_cast<void*>(intptr_t(Count() > 0 ? 1 : 0)); }
    void GetNextAssoc(void*& position, uint32_t& key, uint32_t& value) const;
    bool EstimateSize(uint32_t size, uint32_t grow);

private:
    struct Pair
    {
        uint32_t key;
        uint32_t value;
    };

    int Count() const { return m_Buffer.GetSize() / int(sizeof(Pair)); }
    Pair* Pairs() const { return reinterpret_cast<Pair*>(m_Buffer.GetBuffer()); }
    int LowerBound(uint32_t key) const;

    CZR_BinaryBuf m_Buffer;
};
