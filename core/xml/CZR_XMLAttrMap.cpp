#include "xml/CZR_XMLAttrMap.h"

#include "xml/ZRXMLNames.h"

#include <cstring>
#include <new>

namespace {

void releaseItem(CZR_XMLAttrItem* item, _IZR_Allocator* allocator)
{
    item->value.Empty(allocator);
    item->name.Empty(allocator);
    item->prefix.Empty(allocator);
}

} // namespace

// The name-matching rule, with the length compared first: most names differ in length already.
int ZR_XML_FindAttr(const CZR_XMLAttrItem* items, int count, const CZR_ByteStringC& prefix, const CZR_ByteStringC& name)
{
    int length = name.GetLength();
    for (int i = 0; i < count; ++i) {
        const CZR_XMLAttrItem& item = items[i];
        if (item.name.GetLength() != length || (length && (item.name.GetPtr()[0] != name[0] ||
                                                           memcmp(item.name.GetPtr(), name.GetPtr(), size_t(length)))))
            continue;
        if (prefix.IsEmpty() || prefix == CZR_ByteStringC(item.prefix))
            return i;
    }
    return -1;
}

int CZR_XMLAttrMap::FindIndex(const CZR_ByteStringC& prefix, const CZR_ByteStringC& name) const
{
    return m_pMap ? ZR_XML_FindAttr(GetAt(0), GetSize(), prefix, name) : -1;
}

const CZR_WideStringL* CZR_XMLAttrMap::Lookup(const CZR_ByteStringC& prefix, const CZR_ByteStringC& name) const
{
    int index = FindIndex(prefix, name);
    return index < 0 ? nullptr : &GetAt(index)->value;
}

bool CZR_XMLAttrMap::SetAt(const CZR_ByteStringC& prefix, const CZR_ByteStringC& name, const CZR_WideStringC& value,
                           _IZR_Allocator* allocator)
{
    int index = FindIndex(prefix, name);
    if (index < 0)
        return Append(prefix, name, value, allocator);
    // The new value is copied first, so that a failed copy leaves the old one in place.
    CZR_WideStringL copy;
    if (!copy.Set(value, allocator))
        return false;
    CZR_WideStringL& stored = GetAt(index)->value;
    stored.Empty(allocator);
    stored = copy;
    return true;
}

bool CZR_XMLAttrMap::Adopt(const CZR_XMLAttrItem* items, int count, _IZR_Allocator* allocator)
{
    if (m_pMap || count < 1)
        return count == 0;
    void* block = ZRMEM_AllocatorAlloc(allocator, sizeof(CZR_BasicArray));
    if (!block)
        return false;
    m_pMap = new (block) CZR_BasicArray(sizeof(CZR_XMLAttrItem), allocator);
    if (!m_pMap->SetSize(count, -1)) {
        FreeMapIfEmpty(allocator);
        return false;
    }
    memcpy(m_pMap->GetData(), items, sizeof(CZR_XMLAttrItem) * size_t(count));
    return true;
}

bool CZR_XMLAttrMap::Append(const CZR_ByteStringC& prefix, const CZR_ByteStringC& name, const CZR_WideStringC& value,
                            _IZR_Allocator* allocator)
{
    if (!m_pMap) {
        void* block = ZRMEM_AllocatorAlloc(allocator, sizeof(CZR_BasicArray));
        if (!block)
            return false;
        m_pMap = new (block) CZR_BasicArray(sizeof(CZR_XMLAttrItem), allocator);
    }
    auto* item = reinterpret_cast<CZR_XMLAttrItem*>(m_pMap->InsertSpaceAt(m_pMap->GetSize(), 1));
    if (!item) {
        FreeMapIfEmpty(allocator);
        return false;
    }
    if (item->prefix.Set(prefix, allocator) && item->name.Set(name, allocator) && item->value.Set(value, allocator))
        return true;
    releaseItem(item, allocator);
    m_pMap->RemoveAt(m_pMap->GetSize() - 1, 1);
    FreeMapIfEmpty(allocator);
    return false;
}

void CZR_XMLAttrMap::RemoveAt(const CZR_ByteStringC& prefix, const CZR_ByteStringC& name, _IZR_Allocator* allocator)
{
    int index = FindIndex(prefix, name);
    if (index < 0)
        return;
    releaseItem(GetAt(index), allocator);
    m_pMap->RemoveAt(index, 1);
    FreeMapIfEmpty(allocator);
}

// Last item first, as the element releases its tree.
void CZR_XMLAttrMap::RemoveAll(_IZR_Allocator* allocator)
{
    for (int i = GetSize(); i-- > 0;)
        releaseItem(GetAt(i), allocator);
    if (m_pMap)
        m_pMap->SetSize(0, -1);
    FreeMapIfEmpty(allocator);
}

void CZR_XMLAttrMap::FreeMapIfEmpty(_IZR_Allocator* allocator)
{
    if (!m_pMap || m_pMap->GetSize() > 0)
        return;
    m_pMap->~CZR_BasicArray();
    ZRMEM_AllocatorFree(allocator, m_pMap);
    m_pMap = nullptr;
}
