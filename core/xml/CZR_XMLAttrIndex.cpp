#include "xml/CZR_XMLAttrIndex.h"

namespace {

// Below this many attributes a linear scan is cheaper than keeping tables.
constexpr int kHashFrom = 16;

uint32_t hashBytes(uint32_t hash, const CZR_ByteStringC& bytes)
{
    for (int i = 0; i < bytes.GetLength(); ++i)
        hash = (hash ^ uint8_t(bytes[i])) * 16777619u;
    return hash;
}

uint32_t hashOf(const CZR_ByteStringC* prefix, const CZR_ByteStringC& name)
{
    uint32_t hash = hashBytes(2166136261u, name);
    return prefix ? hashBytes(hash * 31 + 1, *prefix) : hash;
}

bool itemMatches(const CZR_XMLAttrItem* item, const CZR_ByteStringC* prefix, const CZR_ByteStringC& name)
{
    return CZR_ByteStringC(item->name) == name && (!prefix || CZR_ByteStringC(item->prefix) == *prefix);
}

int32_t* slots(CZR_BasicArray& table) { return reinterpret_cast<int32_t*>(table.GetData()); }

} // namespace

void CZR_XMLAttrIndex::Reset()
{
    m_State = Linear;
    m_nEntries = 0;
}

int CZR_XMLAttrIndex::Probe(CZR_BasicArray& table, const CZR_XMLAttrItem* items, const CZR_ByteStringC* prefix,
                            const CZR_ByteStringC& name) const
{
    uint32_t mask = uint32_t(table.GetSize() - 1);
    for (uint32_t at = hashOf(prefix, name) & mask;; at = (at + 1) & mask) {
        int32_t stored = slots(table)[at];
        if (stored == 0)
            return -1;
        if (itemMatches(&items[stored - 1], prefix, name))
            return stored - 1;
    }
}

void CZR_XMLAttrIndex::Insert(const CZR_XMLAttrItem* items, int index)
{
    const CZR_XMLAttrItem* item = &items[index];
    CZR_ByteStringC prefix(item->prefix), name(item->name);
    CZR_BasicArray* tables[2] = {&m_ByName, &m_ByQualifiedName};
    const CZR_ByteStringC* prefixes[2] = {nullptr, &prefix};
    for (int t = 0; t < 2; ++t) {
        CZR_BasicArray& table = *tables[t];
        if (Probe(table, items, prefixes[t], name) >= 0)
            continue;
        uint32_t mask = uint32_t(table.GetSize() - 1);
        uint32_t at = hashOf(prefixes[t], name) & mask;
        while (slots(table)[at] != 0)
            at = (at + 1) & mask;
        slots(table)[at] = index + 1;
    }
    ++m_nEntries;
}

bool CZR_XMLAttrIndex::Rehash(const CZR_XMLAttrItem* items, int count, int slotCount)
{
    m_ByName.SetSize(0, -1);
    m_ByQualifiedName.SetSize(0, -1);
    if (!m_ByName.SetSize(slotCount, -1) || !m_ByQualifiedName.SetSize(slotCount, -1))
        return false;
    m_nEntries = 0;
    for (int i = 0; i < count; ++i)
        Insert(items, i);
    return true;
}

bool CZR_XMLAttrIndex::Build(const CZR_XMLAttrItem* items, int count)
{
    int slotCount = 64;
    while (slotCount < count * 2)
        slotCount *= 2;
    return Rehash(items, count, slotCount);
}

int CZR_XMLAttrIndex::Find(const CZR_XMLAttrItem* items, int count, const CZR_ByteStringC& prefix,
                           const CZR_ByteStringC& name)
{
    if (m_State == Linear && count >= kHashFrom)
        m_State = Build(items, count) ? Hashed : Failed;
    if (m_State != Hashed)
        return ZR_XML_FindAttr(items, count, prefix, name);
    return prefix.IsEmpty() ? Probe(m_ByName, items, nullptr, name) : Probe(m_ByQualifiedName, items, &prefix, name);
}

void CZR_XMLAttrIndex::Added(const CZR_XMLAttrItem* items, int count, int index)
{
    if (m_State != Hashed)
        return;
    if ((m_nEntries + 1) * 2 > m_ByName.GetSize() && !Rehash(items, count, m_ByName.GetSize() * 2)) {
        m_State = Failed;
        return;
    }
    if (index >= m_nEntries)
        Insert(items, index);
}
