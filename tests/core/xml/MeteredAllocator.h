#pragma once

#include "memory/ZRMemoryMgr.h"

#include <cstdlib>
#include <malloc.h>

// An allocator interface over malloc that keeps the bytes it holds and their peak.
struct MeteredAllocator : _IZR_Allocator
{
    size_t current = 0;
    size_t peak = 0;

    MeteredAllocator() : _IZR_Allocator{allocDebug, alloc, reallocDebug, reallocate, release, nullptr} {}

    static MeteredAllocator* self(_IZR_Allocator* a) { return static_cast<MeteredAllocator*>(a); }
    void added(void* block)
    {
        if (!block)
            return;
        current += malloc_usable_size(block);
        if (current > peak)
            peak = current;
    }
    static void* alloc(_IZR_Allocator* a, size_t size)
    {
        void* block = malloc(size);
        self(a)->added(block);
        return block;
    }
    static void* allocDebug(_IZR_Allocator* a, size_t size, const char*, int) { return alloc(a, size); }
    static void* reallocate(_IZR_Allocator* a, void* block, size_t size)
    {
        size_t before = block ? malloc_usable_size(block) : 0;
        void* moved = realloc(block, size);
        if (moved) {
            self(a)->current -= before;
            self(a)->added(moved);
        }
        return moved;
    }
    static void* reallocDebug(_IZR_Allocator* a, void* block, size_t size, const char*, int)
    {
        return reallocate(a, block, size);
    }
    static void release(_IZR_Allocator* a, void* block)
    {
        if (block)
            self(a)->current -= malloc_usable_size(block);
        free(block);
    }
};
