#pragma once

#include <cstddef>
#include <cstdint>

// Addresses compared as integers: the ranges may belong to unrelated blocks.

// Where p lies within the `size` bytes at `block`, or -1 when it lies outside them.
inline int64_t ZR_OffsetInRange(const void* block, size_t size, const void* p)
{
    auto address = reinterpret_cast<uintptr_t>(p);
    auto begin = reinterpret_cast<uintptr_t>(block);
    if (!block || !p || address < begin || address - begin >= size)
        return -1;
    return int64_t(address - begin);
}

// Whether the two ranges share a byte.
inline bool ZR_RangesOverlap(const void* a, size_t aSize, const void* b, size_t bSize)
{
    auto first = reinterpret_cast<uintptr_t>(a);
    auto second = reinterpret_cast<uintptr_t>(b);
    return aSize && bSize && first < second + bSize && second < first + aSize;
}
