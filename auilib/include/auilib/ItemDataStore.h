#pragma once

#include "AUILibAny.h"

#include <map>
#include <unordered_map>

// One item's values, by a sub-key its control chooses.
using ItemRecord = std::unordered_map<int, AUILib::any>;

// The values that list-like controls attach to their items. A Qt item keeps only the ID this store
// hands out; IDs start at 1 and are never handed out twice, so 0 (an item without an ID) names nothing.
class ItemDataStore
{
public:
    using Records = std::map<int, ItemRecord>;

    // Stores a copy of `value` under `subKey` in a new record and returns the record's ID.
    int Add(const AUILib::any& value, int subKey);
    // A copy of the stored value; empty when the ID or the sub-key is unknown.
    AUILib::any Get(int id, int subKey) const;
    // Replaces the value under `subKey` of record `id` and returns `id`; for an unknown ID, Add.
    int Set(int id, int subKey, const AUILib::any& value);

    Records::iterator Find(int id) { return m_records.find(id); }
    Records::iterator End() { return m_records.end(); }
    // Destroys the record's values; returns the record after it.
    Records::iterator Erase(Records::iterator record) { return m_records.erase(record); }
    // Destroys every record; IDs handed out stay used.
    void Clear() { m_records.clear(); }

private:
    int m_nextId = 1;
    Records m_records;
};
