#pragma once

#include "memory/ZRMemoryMgr.h"

#include <cstdlib>
#include <vector>

// An allocator interface over malloc that records the size of every request and refuses those
// above a limit.
struct RecordingAllocator : _IZR_Allocator
{
    std::vector<size_t> requests;
    size_t refuseAbove = SIZE_MAX;
    int live = 0;

    RecordingAllocator() : _IZR_Allocator{allocDebug, alloc, reallocDebug, reallocate, release, nullptr} {}

    static RecordingAllocator* self(_IZR_Allocator* a) { return static_cast<RecordingAllocator*>(a); }
    bool grant(size_t size)
    {
        requests.push_back(size);
        return size <= refuseAbove;
    }
    static void* alloc(_IZR_Allocator* a, size_t size)
    {
        if (!self(a)->grant(size))
            return nullptr;
        ++self(a)->live;
        return malloc(size);
    }
    static void* allocDebug(_IZR_Allocator* a, size_t size, const char*, int) { return alloc(a, size); }
    static void* reallocate(_IZR_Allocator* a, void* block, size_t size)
    {
        if (!self(a)->grant(size))
            return nullptr;
        if (!block)
            ++self(a)->live;
        return realloc(block, size);
    }
    static void* reallocDebug(_IZR_Allocator* a, void* block, size_t size, const char*, int)
    {
        return reallocate(a, block, size);
    }
    static void release(_IZR_Allocator* a, void* block)
    {
        if (block)
            --self(a)->live;
        free(block);
    }
};
