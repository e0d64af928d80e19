#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>

struct CZR_MemoryMgr;
class CZR_ProcessContext;

// Allocation flag: the request may fail quietly (no out-of-memory handler).
constexpr int ZRMEM_FLAG_MAYFAIL = 1;

// Largest byte count a counted allocation (count x unit) may ask for.
constexpr uint64_t ZRMEM_COUNTED_LIMIT = 0x7FFFFFFF;

extern const int64_t ZR_ALLOC_GRANULARITY;

// The system allocation callbacks behind a manager.
struct _ZRMEM_SystemMgr
{
    void* (*Alloc)(_ZRMEM_SystemMgr* system, size_t size, int flags);
    void* (*AllocDebug)(_ZRMEM_SystemMgr* system, size_t size, int flags, const char* file, int line);
    void* (*Realloc)(_ZRMEM_SystemMgr* system, void* block, size_t size, int flags);
    void* (*ReallocDebug)(_ZRMEM_SystemMgr* system, void* block, size_t size, int flags, const char* file,
                          int line);
    void (*Reserved4)();
    void (*Reserved5)();
    void (*Free)(_ZRMEM_SystemMgr* system, void* block, int flags);
    void (*Purge)(_ZRMEM_SystemMgr* system);
    void (*CollectAll)(_ZRMEM_SystemMgr* system);
    void* userData;
};

// The allocator interface that classes take as a constructor argument; null means the default manager.
struct _IZR_Allocator
{
    void* (*AllocDebug)(_IZR_Allocator* allocator, size_t size, const char* file, int line);
    void* (*Alloc)(_IZR_Allocator* allocator, size_t size);
    void* (*ReallocDebug)(_IZR_Allocator* allocator, void* block, size_t size, const char* file, int line);
    void* (*Realloc)(_IZR_Allocator* allocator, void* block, size_t size);
    void (*Free)(_IZR_Allocator* allocator, void* block);
    void* owner;
};

// Observer of a manager's requests, called after the system manager has answered.
struct _ZRMEM_Debugger
{
    void (*OnAlloc)(CZR_MemoryMgr* mgr, void* result, size_t size, int flags);
    void (*OnAllocDebug)(CZR_MemoryMgr* mgr, void* result, size_t size, int flags, const char* file, int line);
    void (*OnRealloc)(CZR_MemoryMgr* mgr, void* oldBlock, void* result, size_t size, int flags);
    void (*OnReallocDebug)(CZR_MemoryMgr* mgr, void* oldBlock, void* result, size_t size, int flags,
                           const char* file, int line);
    void (*OnFree)(CZR_MemoryMgr* mgr, void* block, int flags);
    void (*OutputDebugTag)(CZR_MemoryMgr* mgr, const char* format, va_list args);
};

typedef void (*ZRMEM_OOMHandler)(CZR_MemoryMgr* mgr, void* parameter);

struct CZR_MemoryMgr
{
    enum Type
    {
        TypeStaticDefault = 0,
        TypePy = 1,
        TypeCreated = 2,
    };

    int type;
    _ZRMEM_SystemMgr* systemMgr;
    _ZRMEM_Debugger* debugger;
    ZRMEM_OOMHandler oomHandler;
    void* oomParameter;
    _IZR_Allocator allocator;
    int allocatedBySystemMgr;
    CZR_ProcessContext* processContext;

    void Init(_ZRMEM_SystemMgr* system, Type managerType);
    void* Alloc(size_t size, int flags);
    void* AllocDebug(size_t size, int flags, const char* file, int line);
    void* Realloc(void* block, size_t size, int flags);
    void* ReallocDebug(void* block, size_t size, int flags, const char* file, int line);
    void Free(void* block, int flags);
    void ReportOOM();
    void SetOOMHandler(ZRMEM_OOMHandler handler, void* parameter);
    void UseDebugger(_ZRMEM_Debugger* observer);
    void OutputDebugTagV(const char* format, va_list args);
    void CollectAll();
    void PurgeMgr();

private:
    void* Checked(void* result, int flags);
};

extern CZR_MemoryMgr* g_pDefKelvrinMgr;

CZR_MemoryMgr* ZRMEM_CreateKelvrinMgr(_ZRMEM_SystemMgr* system);
void ZRMEM_DestroyKelvrinMgr(CZR_MemoryMgr* mgr);
void* ZRMEM_Alloc(CZR_MemoryMgr* mgr, size_t size, int flags);
void* ZRMEM_AllocDebug(CZR_MemoryMgr* mgr, size_t size, int flags, const char* file, int line);
void* ZRMEM_Realloc(CZR_MemoryMgr* mgr, void* block, size_t size, int flags);
void* ZRMEM_ReallocDebug(CZR_MemoryMgr* mgr, void* block, size_t size, int flags, const char* file, int line);
void ZRMEM_Free(CZR_MemoryMgr* mgr, void* block, int flags);
void ZRMEM_ReportOOM(CZR_MemoryMgr* mgr);
void ZRMEM_SetOOMHandler(CZR_MemoryMgr* mgr, ZRMEM_OOMHandler handler, void* parameter);
void ZRMEM_UseDebugger(CZR_MemoryMgr* mgr, _ZRMEM_Debugger* debugger);
void ZRMEM_OutputDebugTag(CZR_MemoryMgr* mgr, const char* format, ...);
void ZRMEM_CollectAll(CZR_MemoryMgr* mgr);
void ZRMEM_PurgeMgr(CZR_MemoryMgr* mgr);

// The statically initialised manager over malloc, realloc and free.
CZR_MemoryMgr* ZRMEM_GetStaticMgr();
void ZRMEM_ResetSystemMgr();
void ZRMEM_SetDefaultMgr(CZR_MemoryMgr* mgr);
CZR_MemoryMgr* ZRMEM_GetDefaultMgr();

void* ZRMEM_DefaultAlloc(size_t size, int flags);
void* ZRMEM_DefaultAlloc2(size_t count, size_t unit, int flags);
void* ZRMEM_DefaultRealloc(void* block, size_t size, int flags);
void* ZRMEM_DefaultRealloc2(void* block, size_t count, size_t unit, int flags);
void* ZRMEM_DefaultAllocDebug(size_t size, int flags, const char* file, int line);
void* ZRMEM_DefaultAllocDebug2(size_t count, size_t unit, int flags, const char* file, int line);
void* ZRMEM_DefaultReallocDebug(void* block, size_t size, int flags, const char* file, int line);
void* ZRMEM_DefaultReallocDebug2(void* block, size_t count, size_t unit, int flags, const char* file, int line);
void ZRMEM_DefaultFree(void* block, int flags);
_IZR_Allocator* ZRMEM_GetDefAllocator();

// Allocation through an allocator interface, or the default manager when it is null.
void* ZRMEM_AllocatorAlloc(_IZR_Allocator* allocator, size_t size);
void* ZRMEM_AllocatorRealloc(_IZR_Allocator* allocator, void* block, size_t size);
void ZRMEM_AllocatorFree(_IZR_Allocator* allocator, void* block);
// An allocation whose failure the out-of-memory handler does not hear of, for room that is only
// worth having. A manager, and a pool over one, are asked quietly; another allocator has no quiet
// way to be asked.
void* ZRMEM_AllocatorAllocQuietly(_IZR_Allocator* allocator, size_t size);
// The one way a block of the core grows: `block` resized to `size` bytes keeping its first `used`
// bytes, reallocated where the allocator can, otherwise moved to a new block of the same allocator
// (a grow-only pool never reallocates). Null, with the block untouched, when memory runs out; the
// out-of-memory handler hears of it once.
// A block that has to move is given twice the size, up to `limit`, where that can be had, and
// `size` becomes the size it was given: a pool keeps every block it handed out, so growing by fixed
// steps would otherwise cost the square of the data.
void* ZRMEM_AllocatorGrow(_IZR_Allocator* allocator, void* block, size_t used, size_t& size, size_t limit);
// The same for a block that must have exactly `size` bytes.
inline void* ZRMEM_AllocatorGrow(_IZR_Allocator* allocator, void* block, size_t used, size_t size)
{
    return ZRMEM_AllocatorGrow(allocator, block, used, size, size);
}
