#include "memory/ZR_PyObjectAlloc.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t kAlignmentShift = 4;
constexpr size_t kSizeClasses = 64;
constexpr size_t kSmallRequestLimit = 1024;
constexpr size_t kPoolSize = 4096;
constexpr uintptr_t kPoolMask = kPoolSize - 1;
constexpr size_t kArenaSize = 0x40000;
constexpr uint32_t kPoolOverhead = 48;
constexpr uint32_t kInitialArenaRecords = 16;
constexpr uint32_t kUnusedSizeClass = 0xFFFF;

static_assert(sizeof(ZR_PoolHeader) == kPoolOverhead, "pool header layout");

uint32_t blockSizeOf(uint32_t sizeClass) { return (sizeClass + 1) << kAlignmentShift; }

// The used-pool lists are shared by every state: one circular list per size class. Constant
// initialisation sets them up before any code runs, so the hot paths need no start-up guard.
struct UsedPoolHeads
{
    ZR_PoolHeader head[kSizeClasses];
    constexpr UsedPoolHeads() : head{}
    {
        for (auto& h : head)
            h.nextPool = h.prevPool = &h;
    }
};

UsedPoolHeads s_usedPools;

ZR_PoolHeader* usedPoolHead(uint32_t sizeClass) { return &s_usedPools.head[sizeClass]; }

ZR_PoolHeader* poolOf(const void* block)
{
    return reinterpret_cast<ZR_PoolHeader*>(reinterpret_cast<uintptr_t>(block) & ~kPoolMask);
}

// The membership test reads the arena index from the page start below any block, ours or not. For
// a foreign block those bytes belong to somebody else (often inside an AddressSanitizer redzone, or
// a block the thread sanitizer saw freed), but they lie in the same page as the block and are
// therefore mapped; whatever they hold, the range check against our arena records decides.
__attribute__((no_sanitize("address", "thread"))) uint32_t readArenaIndex(const ZR_PoolHeader* pool)
{
    uint32_t index;
    memcpy(&index, reinterpret_cast<const uint8_t*>(pool) + offsetof(ZR_PoolHeader, arenaIndex), sizeof(index));
    return index;
}

bool addressInRange(const ZR_PyAllocState* state, const void* block)
{
    uint32_t index = readArenaIndex(poolOf(block));
    if (index >= state->arenaCount)
        return false;
    const uint8_t* base = state->arenas[index].address;
    return base && reinterpret_cast<uintptr_t>(block) - reinterpret_cast<uintptr_t>(base) < kArenaSize;
}

void unlinkPool(ZR_PoolHeader* pool)
{
    pool->nextPool->prevPool = pool->prevPool;
    pool->prevPool->nextPool = pool->nextPool;
}

void pushFrontPool(ZR_PoolHeader* head, ZR_PoolHeader* pool)
{
    pool->nextPool = head->nextPool;
    pool->prevPool = head;
    head->nextPool->prevPool = pool;
    head->nextPool = pool;
}

bool growArenaTable(ZR_PyAllocState* state)
{
    uint32_t wanted = state->arenaCount ? state->arenaCount << 1 : kInitialArenaRecords;
    if (wanted <= state->arenaCount || wanted > SIZE_MAX / sizeof(ZR_ArenaObject))
        return false;
    auto* table = static_cast<ZR_ArenaObject*>(realloc(state->arenas, wanted * sizeof(ZR_ArenaObject)));
    if (!table)
        return false;
    state->arenas = table;
    for (uint32_t i = state->arenaCount; i < wanted; ++i) {
        table[i].address = nullptr;
        table[i].nextArena = i + 1 < wanted ? &table[i + 1] : nullptr;
    }
    state->idleArenas = &table[state->arenaCount];
    state->arenaCount = wanted;
    return true;
}

ZR_ArenaObject* newArena(ZR_PyAllocState* state)
{
    if (!state->idleArenas && !growArenaTable(state))
        return nullptr;
    ZR_ArenaObject* arena = state->idleArenas;
    auto* memory = static_cast<uint8_t*>(malloc(kArenaSize));
    if (!memory)
        return nullptr;
    state->idleArenas = arena->nextArena;
    arena->address = memory;
    ++state->arenasAllocated;
    arena->freePoolList = nullptr;
    arena->poolAddress = memory;
    arena->freePools = ZR_PYALLOC_MAX_POOLS_IN_ARENA;
    uintptr_t excess = reinterpret_cast<uintptr_t>(memory) & kPoolMask;
    if (excess) {
        --arena->freePools;
        arena->poolAddress += kPoolSize - excess;
    }
    arena->totalPools = arena->freePools;
    return arena;
}

void releaseArenaMemory(ZR_PyAllocState* state, ZR_ArenaObject* arena)
{
    free(arena->address);
    arena->address = nullptr;
    --state->arenasAllocated;
}

void dropExhaustedArena(ZR_PyAllocState* state)
{
    ZR_ArenaObject* arena = state->usableArenas;
    if (arena->freePools)
        return;
    state->usableArenas = arena->nextArena;
    if (state->usableArenas)
        state->usableArenas->prevArena = nullptr;
}

ZR_PoolHeader* takePool(ZR_PyAllocState* state)
{
    if (!state->usableArenas) {
        ZR_ArenaObject* arena = newArena(state);
        if (!arena)
            return nullptr;
        arena->nextArena = arena->prevArena = nullptr;
        state->usableArenas = arena;
        state->lastArenaWithFreePools[arena->freePools] = arena;
    }
    ZR_ArenaObject* arena = state->usableArenas;
    if (state->lastArenaWithFreePools[arena->freePools] == arena)
        state->lastArenaWithFreePools[arena->freePools] = nullptr;
    if (arena->freePools > 1)
        state->lastArenaWithFreePools[arena->freePools - 1] = arena;

    ZR_PoolHeader* pool = arena->freePoolList;
    if (pool) {
        arena->freePoolList = pool->nextPool;
    } else {
        pool = reinterpret_cast<ZR_PoolHeader*>(arena->poolAddress);
        pool->arenaIndex = static_cast<uint32_t>(arena - state->arenas);
        pool->sizeIndex = kUnusedSizeClass;
        arena->poolAddress += kPoolSize;
    }
    --arena->freePools;
    dropExhaustedArena(state);
    return pool;
}

__attribute__((noinline)) void* allocateFromNewPool(ZR_PyAllocState* state, uint32_t sizeClass)
{
    ZR_PoolHeader* pool = takePool(state);
    if (!pool)
        return nullptr;
    pushFrontPool(usedPoolHead(sizeClass), pool);
    pool->count = 1;
    if (pool->sizeIndex == sizeClass) {
        uint8_t* block = pool->freeBlock;
        pool->freeBlock = *reinterpret_cast<uint8_t**>(block);
        return block;
    }
    uint32_t blockSize = blockSizeOf(sizeClass);
    pool->sizeIndex = sizeClass;
    uint8_t* block = reinterpret_cast<uint8_t*>(pool) + kPoolOverhead;
    pool->nextOffset = kPoolOverhead + 2 * blockSize;
    pool->maxNextOffset = kPoolSize - blockSize;
    pool->freeBlock = block + blockSize;
    *reinterpret_cast<uint8_t**>(pool->freeBlock) = nullptr;
    return block;
}

// The rare paths of smallAlloc (this one and allocateFromNewPool) stay out of line, so that taking a
// block from a pool's free chain, the common case, needs no stack frame.
__attribute__((noinline)) void refillFreeChain(ZR_PoolHeader* pool, uint32_t sizeClass)
{
    if (pool->nextOffset <= pool->maxNextOffset) {
        pool->freeBlock = reinterpret_cast<uint8_t*>(pool) + pool->nextOffset;
        pool->nextOffset += blockSizeOf(sizeClass);
        *reinterpret_cast<uint8_t**>(pool->freeBlock) = nullptr;
        return;
    }
    unlinkPool(pool);
}

inline void* smallAlloc(ZR_PyAllocState* state, size_t size)
{
    if (size - 1 >= kSmallRequestLimit)
        return nullptr;
    auto sizeClass = static_cast<uint32_t>((size - 1) >> kAlignmentShift);
    ZR_PoolHeader* head = usedPoolHead(sizeClass);
    ZR_PoolHeader* pool = head->nextPool;
    if (pool == head)
        return allocateFromNewPool(state, sizeClass);

    ++pool->count;
    uint8_t* block = pool->freeBlock;
    pool->freeBlock = *reinterpret_cast<uint8_t**>(block);
    if (!pool->freeBlock)
        refillFreeChain(pool, sizeClass);
    return block;
}

void moveArenaAfter(ZR_PyAllocState* state, ZR_ArenaObject* arena, ZR_ArenaObject* anchor)
{
    if (arena->prevArena)
        arena->prevArena->nextArena = arena->nextArena;
    else
        state->usableArenas = arena->nextArena;
    arena->nextArena->prevArena = arena->prevArena;

    arena->prevArena = anchor;
    arena->nextArena = anchor->nextArena;
    if (arena->nextArena)
        arena->nextArena->prevArena = arena;
    anchor->nextArena = arena;
}

void returnEmptyPool(ZR_PyAllocState* state, ZR_PoolHeader* pool)
{
    unlinkPool(pool);
    ZR_ArenaObject* arena = &state->arenas[pool->arenaIndex];
    pool->nextPool = arena->freePoolList;
    arena->freePoolList = pool;

    uint32_t freePools = arena->freePools;
    ZR_ArenaObject* lastWithSameCount = state->lastArenaWithFreePools[freePools];
    if (lastWithSameCount == arena) {
        ZR_ArenaObject* previous = arena->prevArena;
        state->lastArenaWithFreePools[freePools] =
            previous && previous->freePools == freePools ? previous : nullptr;
    }
    arena->freePools = ++freePools;

    if (freePools == arena->totalPools && arena->nextArena) {
        if (arena->prevArena)
            arena->prevArena->nextArena = arena->nextArena;
        else
            state->usableArenas = arena->nextArena;
        arena->nextArena->prevArena = arena->prevArena;
        arena->nextArena = state->idleArenas;
        state->idleArenas = arena;
        releaseArenaMemory(state, arena);
        return;
    }
    if (freePools == 1) {
        arena->nextArena = state->usableArenas;
        arena->prevArena = nullptr;
        if (state->usableArenas)
            state->usableArenas->prevArena = arena;
        state->usableArenas = arena;
        if (!state->lastArenaWithFreePools[1])
            state->lastArenaWithFreePools[1] = arena;
        return;
    }
    if (!state->lastArenaWithFreePools[freePools])
        state->lastArenaWithFreePools[freePools] = arena;
    if (arena != lastWithSameCount)
        moveArenaAfter(state, arena, lastWithSameCount);
}

void smallFree(ZR_PyAllocState* state, void* block)
{
    ZR_PoolHeader* pool = poolOf(block);
    uint8_t* lastFree = pool->freeBlock;
    *reinterpret_cast<uint8_t**>(block) = lastFree;
    pool->freeBlock = static_cast<uint8_t*>(block);
    --pool->count;
    if (!lastFree) {
        pushFrontPool(usedPoolHead(pool->sizeIndex), pool);
        return;
    }
    if (pool->count == 0)
        returnEmptyPool(state, pool);
}

void* allocLarge(ZR_PyAllocState* state, size_t size)
{
    return state->allocLarge ? state->allocLarge(size) : nullptr;
}

// Gives the memory back when a single, wholly free arena is all that is left.
void releaseLastFreeArena(ZR_PyAllocState* state)
{
    if (state->arenasAllocated != 1)
        return;
    for (uint32_t i = 0; i < state->arenaCount; ++i) {
        ZR_ArenaObject& arena = state->arenas[i];
        if (!arena.address)
            continue;
        if (arena.freePools != arena.totalPools)
            return;
        releaseArenaMemory(state, &arena);
        break;
    }
    free(state->arenas);
    state->arenas = nullptr;
    state->arenaCount = 0;
    state->idleArenas = nullptr;
    state->usableArenas = nullptr;
    memset(state->lastArenaWithFreePools, 0, sizeof(state->lastArenaWithFreePools));
    state->mode = ZR_PYALLOC_DISCARDED;
}

} // namespace

void* _PyObject_Malloc(ZR_PyAllocState* state, size_t size)
{
    if (state->mode == ZR_PYALLOC_ACTIVE) {
        if (void* block = smallAlloc(state, size))
            return block;
    }
    return allocLarge(state, size);
}

int _PyObject_Free(ZR_PyAllocState* state, void* block)
{
    if (!block)
        return 0;
    if (state->mode != ZR_PYALLOC_DISCARDED && addressInRange(state, block))
        smallFree(state, block);
    else if (state->freeLarge)
        state->freeLarge(block);
    return 1;
}

void* _PyObject_Realloc(ZR_PyAllocState* state, void* block, size_t size)
{
    if (!block)
        return _PyObject_Malloc(state, size);
    if (state->mode == ZR_PYALLOC_DISCARDED || !addressInRange(state, block))
        return state->reallocLarge ? state->reallocLarge(block, size) : nullptr;

    size_t oldSize = blockSizeOf(poolOf(block)->sizeIndex);
    void* moved = nullptr;
    if (state->mode == ZR_PYALLOC_ACTIVE) {
        if (size <= oldSize && 4 * size > 3 * oldSize)
            return block;
        moved = smallAlloc(state, size);
    }
    if (!moved)
        moved = allocLarge(state, size);
    if (!moved)
        return nullptr;
    memcpy(moved, block, size < oldSize ? size : oldSize);
    smallFree(state, block);
    return moved;
}

void _PyObject_Discard(ZR_PyAllocState* state)
{
    if (state->mode != ZR_PYALLOC_ACTIVE)
        return;
    state->mode = ZR_PYALLOC_DISCARDING;
    releaseLastFreeArena(state);
}

void _PyObject_TryPurge(ZR_PyAllocState* state)
{
    if (state->mode == ZR_PYALLOC_DISCARDING)
        releaseLastFreeArena(state);
}
