#include "memory/CZRMEM_PyMgr.h"

#include <cstring>
#include <new>

namespace {

void* allocLarge(size_t size) { return ZRMEM_GetStaticMgr()->Alloc(size, 0); }

void* reallocLarge(void* block, size_t size) { return ZRMEM_GetStaticMgr()->Realloc(block, size, 0); }

int freeLarge(void* block)
{
    ZRMEM_GetStaticMgr()->Free(block, 0);
    return 1;
}

} // namespace

CZRMEM_PyMgr::CZRMEM_PyMgr()
{
    m_systemMgr = {Alloc, AllocDebug, Realloc, ReallocDebug, nullptr, nullptr, Free, nullptr, nullptr, this};
    memset(&m_state, 0, sizeof(m_state));
    m_state.allocLarge = allocLarge;
    m_state.freeLarge = freeLarge;
    m_state.reallocLarge = reallocLarge;
}

void CZRMEM_PyMgr::Discard()
{
    CZR_RecursiveLocker lock(m_lock);
    _PyObject_Discard(&m_state);
}

CZRMEM_PyMgr* CZRMEM_PyMgr::self(_ZRMEM_SystemMgr* system) { return static_cast<CZRMEM_PyMgr*>(system->userData); }

void* CZRMEM_PyMgr::Alloc(_ZRMEM_SystemMgr* system, size_t size, int)
{
    CZRMEM_PyMgr* mgr = self(system);
    CZR_RecursiveLocker lock(mgr->m_lock);
    return _PyObject_Malloc(&mgr->m_state, size);
}

void* CZRMEM_PyMgr::AllocDebug(_ZRMEM_SystemMgr* system, size_t size, int flags, const char*, int)
{
    return Alloc(system, size, flags);
}

void* CZRMEM_PyMgr::Realloc(_ZRMEM_SystemMgr* system, void* block, size_t size, int)
{
    CZRMEM_PyMgr* mgr = self(system);
    CZR_RecursiveLocker lock(mgr->m_lock);
    return _PyObject_Realloc(&mgr->m_state, block, size);
}

void* CZRMEM_PyMgr::ReallocDebug(_ZRMEM_SystemMgr* system, void* block, size_t size, int flags, const char*, int)
{
    return Realloc(system, block, size, flags);
}

void CZRMEM_PyMgr::Free(_ZRMEM_SystemMgr* system, void* block, int)
{
    CZRMEM_PyMgr* mgr = self(system);
    CZR_RecursiveLocker lock(mgr->m_lock);
    _PyObject_Free(&mgr->m_state, block);
}

CZR_MemoryMgr* ZRMEM_CreatePyMgr()
{
    // Built once in static storage and never destroyed: blocks it handed out may be freed as late
    // as the exit-time destructors of other objects.
    static CZR_MemoryMgr* record = [] {
        alignas(CZRMEM_PyMgr) static unsigned char storage[sizeof(CZRMEM_PyMgr)];
        auto* pyMgr = new (storage) CZRMEM_PyMgr;
        static CZR_MemoryMgr mgr;
        mgr.Init(pyMgr->GetSystemMgr(), CZR_MemoryMgr::TypePy);
        return &mgr;
    }();
    return record;
}

int ZRMEM_SetPyConfig() { return 0; }
