#pragma once

#include "memory/ZRMemoryMgr.h"

#include <cstddef>
#include <pthread.h>

// A carving allocator: blocks come from large trunks and are only given back all at once.
// It is itself an allocator interface whose reallocations fail and whose frees do nothing.
// Every block is aligned for any object, as malloc's are, provided the backing allocator's are.
class CZR_GrowOnlyPool : public _IZR_Allocator
{
public:
    CZR_GrowOnlyPool(_IZR_Allocator* backing, size_t trunkSize);
    ~CZR_GrowOnlyPool();
    CZR_GrowOnlyPool(const CZR_GrowOnlyPool&) = delete;
    CZR_GrowOnlyPool& operator=(const CZR_GrowOnlyPool&) = delete;

    // The pool behind an allocator interface, or null when it is not one.
    static CZR_GrowOnlyPool* Of(_IZR_Allocator* allocator);

    void* Alloc(size_t size);
    // The same, with a trunk asked of the backing allocator as ZRMEM_AllocatorAllocQuietly asks.
    void* AllocQuietly(size_t size);
    void FreeAll();
    void SetAllocator(_IZR_Allocator* backing);

private:
    // Aligned so that the data after the header starts on an object boundary.
    struct alignas(std::max_align_t) Trunk
    {
        size_t capacity;
        size_t used;
        Trunk* next;
    };

    void* Take(size_t size, bool quietly);
    static CZR_GrowOnlyPool* self(_IZR_Allocator* allocator) { return static_cast<CZR_GrowOnlyPool*>(allocator); }
    static void* CarveDebug(_IZR_Allocator* allocator, size_t size, const char* file, int line);
    static void* Carve(_IZR_Allocator* allocator, size_t size);
    static void* NoReallocDebug(_IZR_Allocator* allocator, void* block, size_t size, const char* file, int line);
    static void* NoRealloc(_IZR_Allocator* allocator, void* block, size_t size);
    static void NoFree(_IZR_Allocator* allocator, void* block);

    size_t m_trunkSize;
    Trunk* m_head;
    _IZR_Allocator* m_backing;
    pthread_mutex_t m_mutex;
};

// One block of a singly linked chain of node blocks.
struct CZR_Plex
{
    CZR_Plex* pNext;

    void* data() { return this + 1; }
    static CZR_Plex* Create(_IZR_Allocator* allocator, CZR_Plex*& head, size_t count, size_t unit);
    void FreeDataChain(_IZR_Allocator* allocator);
};
