#include "memory/ZRMemoryMgr.h"

#include "memory/CZRMEM_PyMgr.h"
#include "memory/CZR_GrowOnlyPool.h"

#include <cstdlib>
#include <cstring>

const int64_t ZR_ALLOC_GRANULARITY = 65536;

namespace {

void* systemAlloc(_ZRMEM_SystemMgr*, size_t size, int) { return malloc(size); }
void* systemAllocDebug(_ZRMEM_SystemMgr*, size_t size, int, const char*, int) { return malloc(size); }
void* systemRealloc(_ZRMEM_SystemMgr*, void* block, size_t size, int) { return realloc(block, size); }
void* systemReallocDebug(_ZRMEM_SystemMgr*, void* block, size_t size, int, const char*, int)
{
    return realloc(block, size);
}
void systemFree(_ZRMEM_SystemMgr*, void* block, int) { free(block); }

CZR_MemoryMgr* ownerOf(_IZR_Allocator* allocator) { return static_cast<CZR_MemoryMgr*>(allocator->owner); }

void* managerAllocDebug(_IZR_Allocator* allocator, size_t size, const char* file, int line)
{
    return ownerOf(allocator)->AllocDebug(size, 0, file, line);
}
void* managerAlloc(_IZR_Allocator* allocator, size_t size) { return ownerOf(allocator)->Alloc(size, 0); }
void* managerReallocDebug(_IZR_Allocator* allocator, void* block, size_t size, const char* file, int line)
{
    return ownerOf(allocator)->ReallocDebug(block, size, 0, file, line);
}
void* managerRealloc(_IZR_Allocator* allocator, void* block, size_t size)
{
    return ownerOf(allocator)->Realloc(block, size, 0);
}
void managerFree(_IZR_Allocator* allocator, void* block) { ownerOf(allocator)->Free(block, 0); }

_ZRMEM_SystemMgr s_staticSystemMgr = {
    systemAlloc, systemAllocDebug, systemRealloc, systemReallocDebug, nullptr, nullptr, systemFree,
    nullptr,     nullptr,          nullptr,
};

CZR_MemoryMgr s_staticMgr = {
    CZR_MemoryMgr::TypeStaticDefault,
    &s_staticSystemMgr,
    nullptr,
    nullptr,
    nullptr,
    {managerAllocDebug, managerAlloc, managerReallocDebug, managerRealloc, managerFree, &s_staticMgr},
    0,
    nullptr,
};

// A counted request above the limit is refused before the system manager is asked.
bool exceedsCountedLimit(size_t count, size_t unit) { return count > ZRMEM_COUNTED_LIMIT / unit; }

void* refuseCounted(int flags)
{
    if (!(flags & ZRMEM_FLAG_MAYFAIL))
        ZRMEM_ReportOOM(g_pDefKelvrinMgr);
    return nullptr;
}

} // namespace

CZR_MemoryMgr* g_pDefKelvrinMgr = &s_staticMgr;

void CZR_MemoryMgr::Init(_ZRMEM_SystemMgr* system, Type managerType)
{
    type = managerType;
    systemMgr = system;
    debugger = nullptr;
    oomHandler = nullptr;
    oomParameter = nullptr;
    allocator = {managerAllocDebug, managerAlloc, managerReallocDebug, managerRealloc, managerFree, this};
    allocatedBySystemMgr = 1;
    processContext = nullptr;
}

void* CZR_MemoryMgr::Checked(void* result, int flags)
{
    if (!result && !(flags & ZRMEM_FLAG_MAYFAIL))
        ReportOOM();
    return result;
}

void* CZR_MemoryMgr::Alloc(size_t size, int flags)
{
    void* result = systemMgr->Alloc(systemMgr, size, flags);
    if (debugger)
        debugger->OnAlloc(this, result, size, flags);
    return Checked(result, flags);
}

void* CZR_MemoryMgr::AllocDebug(size_t size, int flags, const char* file, int line)
{
    void* result = systemMgr->AllocDebug(systemMgr, size, flags, file, line);
    if (debugger)
        debugger->OnAllocDebug(this, result, size, flags, file, line);
    return Checked(result, flags);
}

void* CZR_MemoryMgr::Realloc(void* block, size_t size, int flags)
{
    void* result = systemMgr->Realloc(systemMgr, block, size, flags);
    if (debugger)
        debugger->OnRealloc(this, block, result, size, flags);
    return Checked(result, flags);
}

void* CZR_MemoryMgr::ReallocDebug(void* block, size_t size, int flags, const char* file, int line)
{
    void* result = systemMgr->ReallocDebug(systemMgr, block, size, flags, file, line);
    if (debugger)
        debugger->OnReallocDebug(this, block, result, size, flags, file, line);
    return Checked(result, flags);
}

void CZR_MemoryMgr::Free(void* block, int flags)
{
    if (!block)
        return;
    if (debugger)
        debugger->OnFree(this, block, flags);
    systemMgr->Free(systemMgr, block, flags);
}

void CZR_MemoryMgr::ReportOOM()
{
    if (oomHandler)
        oomHandler(this, oomParameter);
}

void CZR_MemoryMgr::SetOOMHandler(ZRMEM_OOMHandler handler, void* parameter)
{
    oomHandler = handler;
    oomParameter = parameter;
}

void CZR_MemoryMgr::UseDebugger(_ZRMEM_Debugger* observer) { debugger = observer; }

void CZR_MemoryMgr::OutputDebugTagV(const char* format, va_list args)
{
    if (debugger && debugger->OutputDebugTag)
        debugger->OutputDebugTag(this, format, args);
}

void CZR_MemoryMgr::CollectAll()
{
    if (systemMgr->CollectAll)
        systemMgr->CollectAll(systemMgr);
}

void CZR_MemoryMgr::PurgeMgr()
{
    if (systemMgr->Purge)
        systemMgr->Purge(systemMgr);
}

CZR_MemoryMgr* ZRMEM_CreateKelvrinMgr(_ZRMEM_SystemMgr* system)
{
    if (!system)
        return nullptr;
    auto* mgr = static_cast<CZR_MemoryMgr*>(system->Alloc(system, sizeof(CZR_MemoryMgr), 0));
    if (!mgr)
        return nullptr;
    mgr->Init(system, CZR_MemoryMgr::TypeCreated);
    return mgr;
}

void* ZRMEM_Alloc(CZR_MemoryMgr* mgr, size_t size, int flags) { return mgr->Alloc(size, flags); }
void* ZRMEM_AllocDebug(CZR_MemoryMgr* mgr, size_t size, int flags, const char* file, int line)
{
    return mgr->AllocDebug(size, flags, file, line);
}
void* ZRMEM_Realloc(CZR_MemoryMgr* mgr, void* block, size_t size, int flags)
{
    return mgr->Realloc(block, size, flags);
}
void* ZRMEM_ReallocDebug(CZR_MemoryMgr* mgr, void* block, size_t size, int flags, const char* file, int line)
{
    return mgr->ReallocDebug(block, size, flags, file, line);
}
void ZRMEM_Free(CZR_MemoryMgr* mgr, void* block, int flags) { mgr->Free(block, flags); }
void ZRMEM_ReportOOM(CZR_MemoryMgr* mgr) { mgr->ReportOOM(); }
void ZRMEM_SetOOMHandler(CZR_MemoryMgr* mgr, ZRMEM_OOMHandler handler, void* parameter)
{
    mgr->SetOOMHandler(handler, parameter);
}
void ZRMEM_UseDebugger(CZR_MemoryMgr* mgr, _ZRMEM_Debugger* debugger) { mgr->UseDebugger(debugger); }

void ZRMEM_OutputDebugTag(CZR_MemoryMgr* mgr, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    mgr->OutputDebugTagV(format, args);
    va_end(args);
}

void ZRMEM_CollectAll(CZR_MemoryMgr* mgr) { mgr->CollectAll(); }
void ZRMEM_PurgeMgr(CZR_MemoryMgr* mgr) { mgr->PurgeMgr(); }

CZR_MemoryMgr* ZRMEM_GetStaticMgr() { return &s_staticMgr; }
void ZRMEM_ResetSystemMgr() { g_pDefKelvrinMgr = &s_staticMgr; }
void ZRMEM_SetDefaultMgr(CZR_MemoryMgr* mgr) { g_pDefKelvrinMgr = mgr; }
CZR_MemoryMgr* ZRMEM_GetDefaultMgr() { return g_pDefKelvrinMgr; }

void* ZRMEM_DefaultAlloc(size_t size, int flags) { return g_pDefKelvrinMgr->Alloc(size, flags); }

void* ZRMEM_DefaultAlloc2(size_t count, size_t unit, int flags)
{
    if (count == 0 || unit == 0)
        return nullptr;
    if (exceedsCountedLimit(count, unit))
        return refuseCounted(flags);
    return g_pDefKelvrinMgr->Alloc(count * unit, flags);
}

void* ZRMEM_DefaultRealloc(void* block, size_t size, int flags)
{
    if (!block)
        return g_pDefKelvrinMgr->Alloc(size, flags);
    return g_pDefKelvrinMgr->Realloc(block, size, flags);
}

void* ZRMEM_DefaultRealloc2(void* block, size_t count, size_t unit, int flags)
{
    if (!block)
        return ZRMEM_DefaultAlloc2(count, unit, flags);
    if (count == 0 || unit == 0)
        return nullptr;
    if (exceedsCountedLimit(count, unit))
        return refuseCounted(flags);
    return g_pDefKelvrinMgr->Realloc(block, count * unit, flags);
}

void* ZRMEM_DefaultAllocDebug(size_t size, int flags, const char* file, int line)
{
    return g_pDefKelvrinMgr->AllocDebug(size, flags, file, line);
}

void* ZRMEM_DefaultAllocDebug2(size_t count, size_t unit, int flags, const char* file, int line)
{
    if (count == 0 || unit == 0)
        return nullptr;
    if (exceedsCountedLimit(count, unit))
        return refuseCounted(flags);
    return g_pDefKelvrinMgr->AllocDebug(count * unit, flags, file, line);
}

void* ZRMEM_DefaultReallocDebug(void* block, size_t size, int flags, const char* file, int line)
{
    if (!block)
        return g_pDefKelvrinMgr->AllocDebug(size, flags, file, line);
    return g_pDefKelvrinMgr->ReallocDebug(block, size, flags, file, line);
}

void* ZRMEM_DefaultReallocDebug2(void* block, size_t count, size_t unit, int flags, const char* file, int line)
{
    if (!block)
        return ZRMEM_DefaultAllocDebug2(count, unit, flags, file, line);
    if (count == 0 || unit == 0)
        return nullptr;
    if (exceedsCountedLimit(count, unit))
        return refuseCounted(flags);
    return g_pDefKelvrinMgr->ReallocDebug(block, count * unit, flags, file, line);
}

void ZRMEM_DefaultFree(void* block, int flags) { g_pDefKelvrinMgr->Free(block, flags); }

_IZR_Allocator* ZRMEM_GetDefAllocator() { return &g_pDefKelvrinMgr->allocator; }

void* ZRMEM_AllocatorAlloc(_IZR_Allocator* allocator, size_t size)
{
    return allocator ? allocator->Alloc(allocator, size) : ZRMEM_DefaultAlloc2(size, 1, 0);
}

void* ZRMEM_AllocatorRealloc(_IZR_Allocator* allocator, void* block, size_t size)
{
    return allocator ? allocator->Realloc(allocator, block, size) : ZRMEM_DefaultRealloc2(block, size, 1, 0);
}

void ZRMEM_AllocatorFree(_IZR_Allocator* allocator, void* block)
{
    if (allocator)
        allocator->Free(allocator, block);
    else
        ZRMEM_DefaultFree(block, 0);
}

void* ZRMEM_AllocatorAllocQuietly(_IZR_Allocator* allocator, size_t size)
{
    if (!allocator)
        return ZRMEM_DefaultAlloc2(size, 1, ZRMEM_FLAG_MAYFAIL);
    if (allocator->Alloc == managerAlloc)
        return ownerOf(allocator)->Alloc(size, ZRMEM_FLAG_MAYFAIL);
    if (CZR_GrowOnlyPool* pool = CZR_GrowOnlyPool::Of(allocator))
        return pool->AllocQuietly(size);
    return allocator->Alloc(allocator, size);
}

namespace {

// A manager's reallocation is asked not to report: the allocation that follows a refusal reports
// when memory has really run out, so one failure is reported once.
void* reallocQuietly(_IZR_Allocator* allocator, void* block, size_t size)
{
    if (!allocator)
        return ZRMEM_DefaultRealloc2(block, size, 1, ZRMEM_FLAG_MAYFAIL);
    if (allocator->Realloc == managerRealloc)
        return ownerOf(allocator)->Realloc(block, size, ZRMEM_FLAG_MAYFAIL);
    return allocator->Realloc(allocator, block, size);
}

size_t roomierSize(size_t size, size_t limit)
{
    if (size <= limit / 2)
        return size * 2;
    return limit > size ? limit : size;
}

} // namespace

void* ZRMEM_AllocatorGrow(_IZR_Allocator* allocator, void* block, size_t used, size_t& size, size_t limit)
{
    if (!block)
        return ZRMEM_AllocatorAlloc(allocator, size);
    if (void* grown = reallocQuietly(allocator, block, size))
        return grown;
    size_t movedSize = roomierSize(size, limit);
    // Room to spare is only worth having, not worth reporting a shortage for.
    void* moved = movedSize > size ? ZRMEM_AllocatorAllocQuietly(allocator, movedSize) : nullptr;
    if (!moved) {
        movedSize = size;
        moved = ZRMEM_AllocatorAlloc(allocator, size);
    }
    if (!moved)
        return nullptr;
    memcpy(moved, block, used < size ? used : size);
    ZRMEM_AllocatorFree(allocator, block);
    size = movedSize;
    return moved;
}

void ZRMEM_DestroyKelvrinMgr(CZR_MemoryMgr* mgr)
{
    if (!mgr)
        return;
    mgr->CollectAll();
    if (mgr->type == CZR_MemoryMgr::TypePy) {
        static_cast<CZRMEM_PyMgr*>(mgr->systemMgr->userData)->Discard();
        return;
    }
    if (mgr->allocatedBySystemMgr)
        mgr->systemMgr->Free(mgr->systemMgr, mgr, 0);
}
