#pragma once

#include <cstddef>
#include <cstdint>

// Small-object allocator: requests of 1 to 1024 bytes come from 4096-byte pools carved out of
// 256 KiB arenas; everything else goes to the large-block callbacks. Callers serialise all calls.

struct ZR_PoolHeader;

struct ZR_ArenaObject
{
    uint8_t* address;
    uint8_t* poolAddress;
    uint32_t freePools;
    uint32_t totalPools;
    ZR_PoolHeader* freePoolList;
    ZR_ArenaObject* nextArena;
    ZR_ArenaObject* prevArena;
};

struct ZR_PoolHeader
{
    uint32_t count;
    uint8_t* freeBlock;
    ZR_PoolHeader* nextPool;
    ZR_PoolHeader* prevPool;
    uint32_t arenaIndex;
    uint32_t sizeIndex;
    uint32_t nextOffset;
    uint32_t maxNextOffset;
};

enum ZR_PyAllocMode : uint32_t
{
    ZR_PYALLOC_ACTIVE = 0,
    ZR_PYALLOC_DISCARDING = 1,
    ZR_PYALLOC_DISCARDED = 0xFFFFFFFF,
};

constexpr uint32_t ZR_PYALLOC_MAX_POOLS_IN_ARENA = 64;

struct ZR_PyAllocState
{
    ZR_ArenaObject* arenas;
    uint32_t arenaCount;
    ZR_ArenaObject* idleArenas;
    ZR_ArenaObject* usableArenas;
    ZR_ArenaObject* lastArenaWithFreePools[ZR_PYALLOC_MAX_POOLS_IN_ARENA + 1];
    uint64_t arenasAllocated;
    void* (*allocLarge)(size_t size);
    int (*freeLarge)(void* block);
    void* (*reallocLarge)(void* block, size_t size);
    uint32_t mode;
};

void* _PyObject_Malloc(ZR_PyAllocState* state, size_t size);
int _PyObject_Free(ZR_PyAllocState* state, void* block);
void* _PyObject_Realloc(ZR_PyAllocState* state, void* block, size_t size);
void _PyObject_Discard(ZR_PyAllocState* state);
void _PyObject_TryPurge(ZR_PyAllocState* state);
