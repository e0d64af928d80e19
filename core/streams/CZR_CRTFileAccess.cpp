#include "streams/CZR_CRTFileAccess.h"

#include "streams/CZR_CRTFileStream.h"

#include <new>

void CZR_CRTFileAccess::Release()
{
    if (--m_nRefCount > 0)
        return;
    _IZR_Allocator* allocator = m_pAllocator;
    if (!allocator) {
        delete this;
        return;
    }
    this->~CZR_CRTFileAccess();
    allocator->Free(allocator, this);
}

IZR_FileAccess* CZR_CRTFileAccess::Retain()
{
    ++m_nRefCount;
    return this;
}

IZR_FileStream* CZR_CRTFileAccess::CreateFileStream(uint32_t flags)
{
    return ZR_CreateFileStream(m_Path.c_str(), flags, m_pAllocator);
}

bool CZR_CRTFileAccess::Init(const CZR_WideStringC& path, _IZR_Allocator* allocator)
{
    m_Path = path;
    m_pAllocator = allocator;
    m_nRefCount = 1;
    return true;
}

IZR_FileAccess* ZR_CreateDefaultFileAccess(const CZR_WideStringC& path, _IZR_Allocator* allocator)
{
    if (path.IsEmpty())
        return nullptr;
    void* block = allocator ? allocator->Alloc(allocator, sizeof(CZR_CRTFileAccess))
                            : CZR_Object::operator new(sizeof(CZR_CRTFileAccess));
    if (!block)
        return nullptr;
    auto* access = ::new (block) CZR_CRTFileAccess();
    access->Init(path, allocator);
    return access;
}
