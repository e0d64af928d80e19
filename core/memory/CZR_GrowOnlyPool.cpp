#include "memory/CZR_GrowOnlyPool.h"

#include "system/ZRMutex.h"

CZR_GrowOnlyPool::CZR_GrowOnlyPool(_IZR_Allocator* backing, size_t trunkSize)
    : _IZR_Allocator{CarveDebug, Carve, NoReallocDebug, NoRealloc, NoFree, nullptr},
      m_trunkSize(trunkSize),
      m_head(nullptr),
      m_backing(backing ? backing : ZRMEM_GetDefAllocator())
{
    ZR_Mutex_Initialize(&m_mutex);
}

CZR_GrowOnlyPool::~CZR_GrowOnlyPool()
{
    FreeAll();
    ZR_Mutex_Destroy(&m_mutex);
}

CZR_GrowOnlyPool* CZR_GrowOnlyPool::Of(_IZR_Allocator* allocator)
{
    return allocator && allocator->Alloc == Carve ? self(allocator) : nullptr;
}

void* CZR_GrowOnlyPool::Alloc(size_t size) { return Take(size, false); }

void* CZR_GrowOnlyPool::AllocQuietly(size_t size) { return Take(size, true); }

void* CZR_GrowOnlyPool::Take(size_t size, bool quietly)
{
    constexpr size_t step = alignof(std::max_align_t);
    if (size > SIZE_MAX - sizeof(Trunk) - (step - 1))
        return nullptr;
    size_t rounded = (size + step - 1) & ~(step - 1);
    CZR_MutexLocker lock(&m_mutex);
    for (Trunk* trunk = m_head; trunk; trunk = trunk->next) {
        if (trunk->capacity - trunk->used >= rounded) {
            void* block = reinterpret_cast<char*>(trunk + 1) + trunk->used;
            trunk->used += rounded;
            return block;
        }
    }
    size_t capacity = rounded > m_trunkSize ? rounded : m_trunkSize;
    if (capacity > SIZE_MAX - sizeof(Trunk))
        return nullptr;
    size_t bytes = sizeof(Trunk) + capacity;
    auto* trunk = static_cast<Trunk*>(quietly ? ZRMEM_AllocatorAllocQuietly(m_backing, bytes)
                                              : m_backing->Alloc(m_backing, bytes));
    if (!trunk)
        return nullptr;
    trunk->capacity = capacity;
    trunk->used = rounded;
    trunk->next = m_head;
    m_head = trunk;
    return trunk + 1;
}

void CZR_GrowOnlyPool::FreeAll()
{
    CZR_MutexLocker lock(&m_mutex);
    while (m_head) {
        Trunk* next = m_head->next;
        m_backing->Free(m_backing, m_head);
        m_head = next;
    }
}

void CZR_GrowOnlyPool::SetAllocator(_IZR_Allocator* backing)
{
    CZR_MutexLocker lock(&m_mutex);
    m_backing = backing ? backing : ZRMEM_GetDefAllocator();
}

void* CZR_GrowOnlyPool::CarveDebug(_IZR_Allocator* allocator, size_t size, const char*, int)
{
    return self(allocator)->Alloc(size);
}

void* CZR_GrowOnlyPool::Carve(_IZR_Allocator* allocator, size_t size) { return self(allocator)->Alloc(size); }

void* CZR_GrowOnlyPool::NoReallocDebug(_IZR_Allocator*, void*, size_t, const char*, int) { return nullptr; }
void* CZR_GrowOnlyPool::NoRealloc(_IZR_Allocator*, void*, size_t) { return nullptr; }
void CZR_GrowOnlyPool::NoFree(_IZR_Allocator*, void*) {}

CZR_Plex* CZR_Plex::Create(_IZR_Allocator* allocator, CZR_Plex*& head, size_t count, size_t unit)
{
    if (unit && count > (ZRMEM_COUNTED_LIMIT - sizeof(CZR_Plex)) / unit)
        return nullptr;
    size_t size = count * unit + sizeof(CZR_Plex);
    auto* block = static_cast<CZR_Plex*>(allocator ? allocator->Alloc(allocator, size)
                                                   : ZRMEM_DefaultAlloc2(size, 1, 0));
    if (!block)
        return nullptr;
    block->pNext = head;
    head = block;
    return block;
}

void CZR_Plex::FreeDataChain(_IZR_Allocator* allocator)
{
    CZR_Plex* block = this;
    while (block) {
        CZR_Plex* next = block->pNext;
        ZRMEM_AllocatorFree(allocator, block);
        block = next;
    }
}
