#include "ItemDataStore.h"

int ItemDataStore::Add(const AUILib::any& value, int subKey)
{
    const int id = m_nextId++;
    m_records.emplace(id, ItemRecord{{subKey, value}});
    return id;
}

AUILib::any ItemDataStore::Get(int id, int subKey) const
{
    const auto record = m_records.find(id);
    if (record == m_records.end())
        return {};
    const auto entry = record->second.find(subKey);
    return entry == record->second.end() ? AUILib::any() : entry->second;
}

int ItemDataStore::Set(int id, int subKey, const AUILib::any& value)
{
    const auto record = m_records.find(id);
    if (record == m_records.end())
        return Add(value, subKey);
    record->second[subKey] = value;
    return id;
}
