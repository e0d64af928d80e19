#pragma once

#include "memory/CZR_Object.h"
#include "strings/CZR_WideString.h"

#include <cstdint>

class IZR_FileStream;

// A file named by a path that opens streams on demand; reference counted.
class IZR_FileAccess
{
public:
    virtual void Release() = 0;
    virtual IZR_FileAccess* Retain() = 0;
    virtual void GetPath(CZR_WideString& path) = 0;
    virtual IZR_FileStream* CreateFileStream(uint32_t flags) = 0;
    virtual ~IZR_FileAccess() = default;
    virtual bool Init(const CZR_WideStringC& path, _IZR_Allocator* allocator) = 0;
};

class CZR_CRTFileAccess : public IZR_FileAccess, public CZR_Object
{
public:
    void Release() override;
    IZR_FileAccess* Retain() override;
    void GetPath(CZR_WideString& path) override { path = m_Path; }
    IZR_FileStream* CreateFileStream(uint32_t flags) override;
    bool Init(const CZR_WideStringC& path, _IZR_Allocator* allocator) override;

private:
    CZR_WideString m_Path;
    _IZR_Allocator* m_pAllocator = nullptr;
    uint32_t m_nRefCount = 0;
};

IZR_FileAccess* ZR_CreateDefaultFileAccess(const CZR_WideStringC& path, _IZR_Allocator* allocator);
