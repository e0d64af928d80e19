#include "memory/CZR_Object.h"

#include <cstdlib>

namespace {

// Where the allocator member lies in every object: right after the virtual table pointer.
_IZR_Allocator** allocatorSlot(void* block) { return reinterpret_cast<_IZR_Allocator**>(static_cast<char*>(block) + sizeof(void*)); }

void* storeAllocator(void* block, _IZR_Allocator* allocator)
{
    if (block)
        *allocatorSlot(block) = allocator;
    return block;
}

// The default manager has already told its debugger and its out-of-memory handler.
void* endProcessOnFailure(void* block)
{
    if (!block)
        abort();
    return block;
}

} // namespace

void* CZR_Object::operator new(size_t size) noexcept { return ZRMEM_DefaultAlloc(size, 0); }
void* CZR_Object::operator new[](size_t size) noexcept { return ZRMEM_DefaultAlloc(size, 0); }

void* CZR_Object::operator new(size_t size, const char* file, int line) noexcept
{
    return ZRMEM_DefaultAllocDebug(size, 0, file, line);
}

void* CZR_Object::operator new[](size_t size, const char* file, int line) noexcept
{
    return ZRMEM_DefaultAllocDebug(size, 0, file, line);
}

void CZR_Object::operator delete(void* block) noexcept { ZRMEM_DefaultFree(block, 0); }
void CZR_Object::operator delete[](void* block) noexcept { ZRMEM_DefaultFree(block, 0); }
void CZR_Object::operator delete(void* block, const char*, int) noexcept { ZRMEM_DefaultFree(block, 0); }
void CZR_Object::operator delete[](void* block, const char*, int) noexcept { ZRMEM_DefaultFree(block, 0); }

void* CZR_AllocObject::operator new(size_t size, _IZR_Allocator* allocator, const char* file, int line) noexcept
{
    if (!allocator)
        return storeAllocator(endProcessOnFailure(ZRMEM_DefaultAllocDebug(size, 0, file, line)), nullptr);
    return storeAllocator(allocator->AllocDebug(allocator, size, file, line), allocator);
}

void* CZR_AllocObject::operator new(size_t size, _IZR_Allocator* allocator) noexcept
{
    if (!allocator)
        return storeAllocator(endProcessOnFailure(ZRMEM_DefaultAlloc(size, 0)), nullptr);
    return storeAllocator(allocator->Alloc(allocator, size), allocator);
}

void CZR_AllocObject::operator delete(void* block, _IZR_Allocator* allocator, const char*, int) noexcept
{
    if (block)
        ZRMEM_AllocatorFree(allocator, block);
}

void CZR_AllocObject::operator delete(void* block, _IZR_Allocator* allocator) noexcept
{
    if (block)
        ZRMEM_AllocatorFree(allocator, block);
}

void CZR_AllocObject::operator delete(void* block) noexcept
{
    if (block)
        ZRMEM_AllocatorFree(*allocatorSlot(block), block);
}
