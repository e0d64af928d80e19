#pragma once

#include "containers/CZR_BasicArray.h"

// Base of data handed to a private data list as an object: the list deletes it when it lets go.
class CZR_DestructObject
{
public:
    virtual ~CZR_DestructObject() = default;
};

// One entry of a private data list.
struct ZR_PRIVATEDATA
{
    void* m_pModuleId;
    void* m_pData;
    void (*m_pCallback)(void* data);
    bool m_bObject;

    // Releases the data: deletes an object, hands plain data to its callback (when there is one).
    void FreeData();
};

// Data that independent modules hang on a shared object under keys of their own (usually the
// address of something the module owns), released together with the list. Entries keep their
// insertion order; keys compare by pointer value.
class CZR_PrivateData : public CZR_BasicArray
{
public:
    CZR_PrivateData() : CZR_BasicArray(sizeof(ZR_PRIVATEDATA), nullptr) {}
    ~CZR_PrivateData();
    CZR_PrivateData(const CZR_PrivateData&) = delete;
    CZR_PrivateData& operator=(const CZR_PrivateData&) = delete;

    // A null key does nothing. An existing entry releases its present data first, unless it is
    // handed the very data it already holds. False when the list cannot grow for a new key: the
    // data then stays the caller's to release.
    bool SetPrivateData(void* moduleId, void* data, void (*callback)(void* data));
    bool SetPrivateObj(void* moduleId, CZR_DestructObject* object);
    void* GetPrivateData(void* moduleId) const;
    // Takes the entry out without releasing its data; true when it was there.
    bool RemovePrivateData(void* moduleId);
    void ClearAll();

private:
    ZR_PRIVATEDATA* Entry(int index) const { return reinterpret_cast<ZR_PRIVATEDATA*>(GetDataPtr(index)); }
    int Find(void* moduleId) const;
    bool Store(void* moduleId, void* data, void (*callback)(void*), bool object);
};
