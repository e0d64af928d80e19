#pragma once

#include "containers/CZR_BasicArray.h"
#include "strings/CZR_StringL.h"

struct CZR_XMLAttrItem
{
    CZR_ByteStringL prefix;
    CZR_ByteStringL name;
    CZR_WideStringL value;
};

// The first item that answers to the prefix and name by the lookup rule, or -1.
int ZR_XML_FindAttr(const CZR_XMLAttrItem* items, int count, const CZR_ByteStringC& prefix, const CZR_ByteStringC& name);

// The attributes of one element in insertion order. The array exists only while there are
// attributes; memory comes from the allocator each call is given (the element's).
class CZR_XMLAttrMap
{
public:
    CZR_XMLAttrMap() : m_pMap(nullptr) {}
    CZR_XMLAttrMap(const CZR_XMLAttrMap&) = delete;
    CZR_XMLAttrMap& operator=(const CZR_XMLAttrMap&) = delete;

    int GetSize() const { return m_pMap ? m_pMap->GetSize() : 0; }
    CZR_XMLAttrItem* GetAt(int index) const
    {
        return m_pMap ? reinterpret_cast<CZR_XMLAttrItem*>(m_pMap->GetDataPtr(index)) : nullptr;
    }
    int FindIndex(const CZR_ByteStringC& prefix, const CZR_ByteStringC& name) const;
    const CZR_WideStringL* Lookup(const CZR_ByteStringC& prefix, const CZR_ByteStringC& name) const;
    bool SetAt(const CZR_ByteStringC& prefix, const CZR_ByteStringC& name, const CZR_WideStringC& value,
               _IZR_Allocator* allocator);
    bool Append(const CZR_ByteStringC& prefix, const CZR_ByteStringC& name, const CZR_WideStringC& value,
                _IZR_Allocator* allocator);
    void RemoveAt(const CZR_ByteStringC& prefix, const CZR_ByteStringC& name, _IZR_Allocator* allocator);
    void RemoveAll(_IZR_Allocator* allocator);
    // Takes over `count` items (their strings included) into an empty map in one allocation;
    // false, with nothing taken, when that fails.
    bool Adopt(const CZR_XMLAttrItem* items, int count, _IZR_Allocator* allocator);

private:
    void FreeMapIfEmpty(_IZR_Allocator* allocator);

    CZR_BasicArray* m_pMap;
};
