#pragma once

#include "containers/CZR_BasicArray.h"
#include "xml/CZR_XMLAttrMap.h"

// Finds attributes of the element being parsed by hash once it has many, so that a start tag with
// a huge number of attributes is read in linear time. Answers exactly as ZR_XML_FindAttr.
class CZR_XMLAttrIndex
{
public:
    explicit CZR_XMLAttrIndex(_IZR_Allocator* allocator) : m_ByName(4, allocator), m_ByQualifiedName(4, allocator) {}

    void Reset();
    int Find(const CZR_XMLAttrItem* items, int count, const CZR_ByteStringC& prefix, const CZR_ByteStringC& name);
    void Added(const CZR_XMLAttrItem* items, int count, int index);

private:
    enum State
    {
        Linear,
        Hashed,
        Failed,
    };

    bool Build(const CZR_XMLAttrItem* items, int count);
    bool Rehash(const CZR_XMLAttrItem* items, int count, int slots);
    void Insert(const CZR_XMLAttrItem* items, int index);
    int Probe(CZR_BasicArray& table, const CZR_XMLAttrItem* items, const CZR_ByteStringC* prefix,
              const CZR_ByteStringC& name) const;

    State m_State = Linear;
    int m_nEntries = 0;
    CZR_BasicArray m_ByName;
    CZR_BasicArray m_ByQualifiedName;
};
