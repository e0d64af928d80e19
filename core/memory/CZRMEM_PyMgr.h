#pragma once

#include "memory/ZRMemoryMgr.h"
#include "memory/ZR_PyObjectAlloc.h"
#include "system/CZR_RecursiveLock.h"

// A manager whose system callbacks serve requests from the small-object allocator, each under one
// recursive lock; large blocks and arenas' overflow go to the static default manager.
class CZRMEM_PyMgr
{
public:
    CZRMEM_PyMgr();
    CZRMEM_PyMgr(const CZRMEM_PyMgr&) = delete;
    CZRMEM_PyMgr& operator=(const CZRMEM_PyMgr&) = delete;

    _ZRMEM_SystemMgr* GetSystemMgr() { return &m_systemMgr; }
    void Discard();

private:
    static CZRMEM_PyMgr* self(_ZRMEM_SystemMgr* system);
    static void* Alloc(_ZRMEM_SystemMgr* system, size_t size, int flags);
    static void* AllocDebug(_ZRMEM_SystemMgr* system, size_t size, int flags, const char* file, int line);
    static void* Realloc(_ZRMEM_SystemMgr* system, void* block, size_t size, int flags);
    static void* ReallocDebug(_ZRMEM_SystemMgr* system, void* block, size_t size, int flags, const char* file,
                              int line);
    static void Free(_ZRMEM_SystemMgr* system, void* block, int flags);

    _ZRMEM_SystemMgr m_systemMgr;
    ZR_PyAllocState m_state;
    CZR_RecursiveLock m_lock;
};

// The process-wide manager over the small-object allocator; later calls return the same record.
CZR_MemoryMgr* ZRMEM_CreatePyMgr();
int ZRMEM_SetPyConfig();
