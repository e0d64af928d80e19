#pragma once

#include "memory/ZRMemoryMgr.h"

#include <cstddef>

// Base of classes that allocate themselves through the default manager at the time of each call.
class CZR_Object
{
public:
    static void* operator new(size_t size) noexcept;
    static void* operator new[](size_t size) noexcept;
    static void* operator new(size_t size, const char* file, int line) noexcept;
    static void* operator new[](size_t size, const char* file, int line) noexcept;
    static void operator delete(void* block) noexcept;
    static void operator delete[](void* block) noexcept;
    static void operator delete(void* block, const char* file, int line) noexcept;
    static void operator delete[](void* block, const char* file, int line) noexcept;
};

// Base of classes that remember the allocator they were created with, in their first data member
// (right after the virtual table pointer). Derived classes keep it as their primary base.
class CZR_AllocObject
{
public:
    // Leaves the allocator member alone: operator new has written it already.
    CZR_AllocObject() {}
    virtual ~CZR_AllocObject() = default;
    CZR_AllocObject(const CZR_AllocObject&) = delete;
    CZR_AllocObject& operator=(const CZR_AllocObject&) = delete;

    static void* operator new(size_t size, _IZR_Allocator* allocator, const char* file, int line) noexcept;
    static void* operator new(size_t size, _IZR_Allocator* allocator) noexcept;
    static void operator delete(void* block, _IZR_Allocator* allocator, const char* file, int line) noexcept;
    static void operator delete(void* block, _IZR_Allocator* allocator) noexcept;
    static void operator delete(void* block) noexcept;

    _IZR_Allocator* GetAllocator() const { return m_pAllocator; }

protected:
    _IZR_Allocator* m_pAllocator;
};
