#include "AllocationCounter.h"

#include "memory/ZRMemoryMgr.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<uint64_t> g_allocations{0};

void* countedAlloc(_ZRMEM_SystemMgr*, size_t size, int)
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    return malloc(size);
}
void* countedAllocDebug(_ZRMEM_SystemMgr* system, size_t size, int flags, const char*, int)
{
    return countedAlloc(system, size, flags);
}
void* countedRealloc(_ZRMEM_SystemMgr*, void* block, size_t size, int)
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    return realloc(block, size);
}
void* countedReallocDebug(_ZRMEM_SystemMgr* system, void* block, size_t size, int flags, const char*, int)
{
    return countedRealloc(system, block, size, flags);
}
void plainFree(_ZRMEM_SystemMgr*, void* block, int) { free(block); }

_ZRMEM_SystemMgr s_countingSystem = {countedAlloc, countedAllocDebug, countedRealloc, countedReallocDebug, nullptr,
                                     nullptr,      plainFree,         nullptr,        nullptr,             nullptr};
CZR_MemoryMgr s_countingMgr;

} // namespace

void* operator new(size_t size)
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* block = malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept { free(block); }
void operator delete(void* block, size_t) noexcept { free(block); }

namespace AllocationCounter {

uint64_t count() { return g_allocations.load(std::memory_order_relaxed); }

void installCountingDefaultManager()
{
    s_countingMgr.Init(&s_countingSystem, CZR_MemoryMgr::TypeCreated);
    s_countingMgr.allocatedBySystemMgr = 0;
    ZRMEM_SetDefaultMgr(&s_countingMgr);
}

} // namespace AllocationCounter
