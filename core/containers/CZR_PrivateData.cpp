#include "containers/CZR_PrivateData.h"

static_assert(sizeof(ZR_PRIVATEDATA) == 32, "entries keep their 32-byte unit");

void ZR_PRIVATEDATA::FreeData()
{
    if (!m_pData)
        return;
    if (m_bObject)
        delete static_cast<CZR_DestructObject*>(m_pData);
    else if (m_pCallback)
        m_pCallback(m_pData);
}

CZR_PrivateData::~CZR_PrivateData() { ClearAll(); }

int CZR_PrivateData::Find(void* moduleId) const
{
    for (int i = 0; i < GetSize(); ++i) {
        if (Entry(i)->m_pModuleId == moduleId)
            return i;
    }
    return -1;
}

bool CZR_PrivateData::Store(void* moduleId, void* data, void (*callback)(void*), bool object)
{
    if (!moduleId)
        return false;
    int index = Find(moduleId);
    ZR_PRIVATEDATA* entry;
    if (index >= 0) {
        entry = Entry(index);
        if (entry->m_pData != data)
            entry->FreeData();
    } else {
        entry = reinterpret_cast<ZR_PRIVATEDATA*>(InsertSpaceAt(GetSize(), 1));
        if (!entry)
            return false;
        entry->m_pModuleId = moduleId;
    }
    entry->m_pData = data;
    entry->m_pCallback = callback;
    entry->m_bObject = object;
    return true;
}

bool CZR_PrivateData::SetPrivateData(void* moduleId, void* data, void (*callback)(void* data))
{
    return Store(moduleId, data, callback, false);
}

bool CZR_PrivateData::SetPrivateObj(void* moduleId, CZR_DestructObject* object)
{
    return Store(moduleId, object, nullptr, true);
}

void* CZR_PrivateData::GetPrivateData(void* moduleId) const
{
    if (!moduleId)
        return nullptr;
    int index = Find(moduleId);
    return index < 0 ? nullptr : Entry(index)->m_pData;
}

bool CZR_PrivateData::RemovePrivateData(void* moduleId)
{
    int index = moduleId ? Find(moduleId) : -1;
    return index >= 0 && RemoveAt(index, 1);
}

void CZR_PrivateData::ClearAll()
{
    for (int i = 0; i < GetSize(); ++i)
        Entry(i)->FreeData();
    SetSize(0, -1);
}
