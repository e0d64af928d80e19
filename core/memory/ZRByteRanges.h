#pragma once

#include "memory/ZRMemoryMgr.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

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

// Hands `use` a copy of the `size` bytes at p, for bytes in storage that the use is about to move,
// free or unmap; false, without calling it, when the copy cannot be had. The use cannot go on
// without the copy, so the out-of-memory handler hears of it.
template <class Use> bool ZR_UseCopyOf(const void* p, size_t size, Use use)
{
    void* copy = ZRMEM_DefaultAlloc(size, 0);
    if (!copy)
        return false;
    memcpy(copy, p, size);
    bool done = use(static_cast<const void*>(copy));
    ZRMEM_DefaultFree(copy, 0);
    return done;
}
