#include "AllocationCounter.h"

#include "memory/CZRMEM_PyMgr.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory_resource>
#include <vector>

namespace {

// One operation: allocate a batch of 64 blocks of mixed small sizes, touch them, free them.
constexpr int kBatch = 64;

size_t sizeAt(int i) { return size_t(16 + (i * 37) % 497); }

void BM_SmallObject_PyMgr(benchmark::State& state)
{
    CZR_MemoryMgr* mgr = ZRMEM_CreatePyMgr();
    void* blocks[kBatch];
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i) {
            blocks[i] = mgr->Alloc(sizeAt(i), 0);
            *static_cast<char*>(blocks[i]) = char(i);
        }
        for (int i = 0; i < kBatch; ++i)
            mgr->Free(blocks[i], 0);
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}

// The allocator without the manager's mutex, on a private state.
void BM_SmallObject_State(benchmark::State& state)
{
    ZR_PyAllocState allocState{};
    allocState.allocLarge = malloc;
    allocState.freeLarge = [](void* block) {
        free(block);
        return 1;
    };
    allocState.reallocLarge = realloc;
    void* blocks[kBatch];
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i) {
            blocks[i] = _PyObject_Malloc(&allocState, sizeAt(i));
            *static_cast<char*>(blocks[i]) = char(i);
        }
        for (int i = 0; i < kBatch; ++i)
            _PyObject_Free(&allocState, blocks[i]);
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
    _PyObject_Discard(&allocState);
}

void BM_SmallObject_malloc(benchmark::State& state)
{
    void* blocks[kBatch];
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i) {
            blocks[i] = malloc(sizeAt(i));
            *static_cast<char*>(blocks[i]) = char(i);
        }
        for (int i = 0; i < kBatch; ++i)
            free(blocks[i]);
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}

void BM_SmallObject_pmrPool(benchmark::State& state)
{
    std::pmr::unsynchronized_pool_resource pool;
    void* blocks[kBatch];
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i) {
            blocks[i] = pool.allocate(sizeAt(i));
            *static_cast<char*>(blocks[i]) = char(i);
        }
        for (int i = 0; i < kBatch; ++i)
            pool.deallocate(blocks[i], sizeAt(i));
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}

} // namespace

BENCHMARK(BM_SmallObject_PyMgr);
BENCHMARK(BM_SmallObject_State);
BENCHMARK(BM_SmallObject_malloc);
BENCHMARK(BM_SmallObject_pmrPool);
