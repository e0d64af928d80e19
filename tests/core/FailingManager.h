#pragma once

#include "memory/ZRMemoryMgr.h"

#include <cstdint>
#include <cstdlib>

// Installs, for its lifetime, a default manager over malloc that refuses every allocation and
// reallocation after the first `successes` (and, when asked, every one above a size, every
// reallocation, or a run of requests counted from 1), and counts what it was asked and what the
// out-of-memory handler saw.
class FailingManager
{
public:
    explicit FailingManager(int successes) : m_remaining(successes)
    {
        m_system = {alloc, allocDebug, reallocate, reallocDebug, nullptr, nullptr, release, nullptr, nullptr, this};
        m_mgr.Init(&m_system, CZR_MemoryMgr::TypeCreated);
        m_mgr.allocatedBySystemMgr = 0;
        m_mgr.SetOOMHandler(onOutOfMemory, this);
        m_previous = ZRMEM_GetDefaultMgr();
        ZRMEM_SetDefaultMgr(&m_mgr);
    }
    ~FailingManager() { ZRMEM_SetDefaultMgr(m_previous); }
    FailingManager(const FailingManager&) = delete;
    FailingManager& operator=(const FailingManager&) = delete;

    CZR_MemoryMgr* mgr() { return &m_mgr; }
    void refuseAbove(size_t bytes) { m_sizeLimit = bytes; }
    void refuseReallocations() { m_reallocates = false; }
    void refuseRequests(int first, int count)
    {
        m_refusedFirst = first;
        m_refusedEnd = first + count;
    }
    int requests() const { return m_requests; }
    int outOfMemoryReports() const { return m_oomReports; }
    int liveBlocks() const { return m_live; }

private:
    static FailingManager* self(_ZRMEM_SystemMgr* system) { return static_cast<FailingManager*>(system->userData); }
    bool grant(size_t size)
    {
        ++m_requests;
        bool refused = m_requests >= m_refusedFirst && m_requests < m_refusedEnd;
        return m_remaining-- > 0 && size <= m_sizeLimit && !refused;
    }
    static void* alloc(_ZRMEM_SystemMgr* system, size_t size, int)
    {
        FailingManager* m = self(system);
        if (!m->grant(size))
            return nullptr;
        ++m->m_live;
        return malloc(size);
    }
    static void* allocDebug(_ZRMEM_SystemMgr* system, size_t size, int flags, const char*, int)
    {
        return alloc(system, size, flags);
    }
    static void* reallocate(_ZRMEM_SystemMgr* system, void* block, size_t size, int)
    {
        FailingManager* m = self(system);
        if (!m->grant(size) || !m->m_reallocates)
            return nullptr;
        if (!block)
            ++m->m_live;
        return realloc(block, size);
    }
    static void* reallocDebug(_ZRMEM_SystemMgr* system, void* block, size_t size, int flags, const char*, int)
    {
        return reallocate(system, block, size, flags);
    }
    static void release(_ZRMEM_SystemMgr* system, void* block, int)
    {
        --self(system)->m_live;
        free(block);
    }
    static void onOutOfMemory(CZR_MemoryMgr*, void* parameter) { ++static_cast<FailingManager*>(parameter)->m_oomReports; }

    _ZRMEM_SystemMgr m_system;
    CZR_MemoryMgr m_mgr;
    CZR_MemoryMgr* m_previous;
    int m_remaining;
    size_t m_sizeLimit = SIZE_MAX;
    bool m_reallocates = true;
    int m_refusedFirst = 0;
    int m_refusedEnd = 0;
    int m_requests = 0;
    int m_oomReports = 0;
    int m_live = 0;
};
