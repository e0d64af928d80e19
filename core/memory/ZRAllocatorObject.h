#pragma once

#include "memory/CZR_Object.h"

#include <new>
#include <utility>

// Objects whose storage comes from an allocator when one is given, from the default manager
// otherwise, and goes back to the same place.
template <class T, class... Args> T* ZR_NewWithAllocator(_IZR_Allocator* allocator, Args&&... args)
{
    void* block = allocator ? allocator->Alloc(allocator, sizeof(T)) : CZR_Object::operator new(sizeof(T));
    return block ? ::new (block) T(std::forward<Args>(args)...) : nullptr;
}

template <class T> void ZR_DeleteWithAllocator(T* object, _IZR_Allocator* allocator)
{
    if (!allocator) {
        delete object;
        return;
    }
    object->~T();
    allocator->Free(allocator, object);
}
