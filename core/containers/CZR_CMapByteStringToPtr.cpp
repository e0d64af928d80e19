#include "containers/CZR_CMapByteStringToPtr.h"

#include "system/ZRSYS_Runtime.h"

#include <cstring>

namespace {

constexpr uint8_t kFree = 254;
constexpr uint8_t kOutside = 255;
constexpr int kInlineLimit = 11;
constexpr int kKeyLimit = 0x10000;

uint32_t recordHash(const uint8_t* record)
{
    uint32_t hash;
    memcpy(&hash, record, 4);
    return hash;
}

void setHash(uint8_t* record, uint32_t hash) { memcpy(record, &hash, 4); }

CZR_ByteStringC recordKey(const uint8_t* record)
{
    if (record[4] == kOutside) {
        const char* copy;
        memcpy(&copy, record + 8, sizeof copy);
        return CZR_ByteStringC(copy, (record[5] << 8) | record[6]);
    }
    return CZR_ByteStringC(reinterpret_cast<const char*>(record + 5), record[4]);
}

void** recordValue(uint8_t* record) { return reinterpret_cast<void**>(record + 16); }

} // namespace

CZR_CMapByteStringToPtr::CZR_CMapByteStringToPtr(_IZR_Allocator* allocator)
    : m_pAllocator(allocator), m_Records(24, 16, 4, allocator)
{
}

CZR_CMapByteStringToPtr::~CZR_CMapByteStringToPtr() { RemoveAll(); }

uint32_t CZR_CMapByteStringToPtr::KeyHash(const CZR_ByteStringC& key)
{
    if (key.GetLength() == 0)
        return 0;
    uint32_t rs = 0, a = 63689;
    for (int i = 0; i < key.GetLength(); ++i) {
        rs = rs * a + uint32_t(int32_t(int8_t(key[i])));
        a *= 378551;
    }
    uint32_t low = ZR_HashCode_String_GetA(key.GetPtr(), key.GetLength(), false);
    return (rs & 0x7FFF0000) | (low & 0xFFFF);
}

int CZR_CMapByteStringToPtr::FindRecord(const CZR_ByteStringC& key) const
{
    uint32_t hash = KeyHash(key);
    for (int i = 0; i < m_Records.GetSize(); ++i) {
        const uint8_t* record = Record(i);
        if (record[4] != kFree && recordHash(record) == hash && recordKey(record) == key)
            return i;
    }
    return -1;
}

bool CZR_CMapByteStringToPtr::Fill(uint8_t* record, const CZR_ByteStringC& key, void* value)
{
    int length = key.GetLength();
    memset(record, 0, 24);
    if (length <= kInlineLimit) {
        record[4] = uint8_t(length);
        if (length)
            memcpy(record + 5, key.GetPtr(), size_t(length));
    } else {
        void* copy = ZRMEM_AllocatorAlloc(m_pAllocator, size_t(length));
        if (!copy) {
            record[4] = kFree;
            setHash(record, 0xFFFFFFFF);
            return false;
        }
        memcpy(copy, key.GetPtr(), size_t(length));
        record[4] = kOutside;
        record[5] = uint8_t(length >> 8);
        record[6] = uint8_t(length);
        memcpy(record + 8, &copy, sizeof copy);
    }
    setHash(record, KeyHash(key));
    *recordValue(record) = value;
    return true;
}

void CZR_CMapByteStringToPtr::FreeKey(uint8_t* record)
{
    if (record[4] == kOutside) {
        void* copy;
        memcpy(&copy, record + 8, sizeof copy);
        ZRMEM_AllocatorFree(m_pAllocator, copy);
    }
    record[4] = kFree;
    setHash(record, 0xFFFFFFFF);
}

bool CZR_CMapByteStringToPtr::SetAt(const CZR_ByteStringC& key, void* value)
{
    if (key.GetLength() >= kKeyLimit)
        return false;
    int found = FindRecord(key);
    if (found >= 0) {
        *recordValue(Record(found)) = value;
        return true;
    }
    for (int i = 0; i < m_Records.GetSize(); ++i) {
        if (Record(i)[4] == kFree)
            return Fill(Record(i), key, value);
    }
    return AddValue(key, value);
}

bool CZR_CMapByteStringToPtr::AddValue(const CZR_ByteStringC& key, void* value)
{
    if (key.GetLength() >= kKeyLimit)
        return false;
    auto* record = static_cast<uint8_t*>(m_Records.Add());
    return record && Fill(record, key, value);
}

bool CZR_CMapByteStringToPtr::Lookup(const CZR_ByteStringC& key, void*& value) const
{
    int found = FindRecord(key);
    if (found < 0)
        return false;
    value = *recordValue(Record(found));
    return true;
}

bool CZR_CMapByteStringToPtr::RemoveKey(const CZR_ByteStringC& key)
{
    int found = FindRecord(key);
    if (found < 0)
        return false;
    FreeKey(Record(found));
    return true;
}

int CZR_CMapByteStringToPtr::NextInUse(int from) const
{
    for (int i = from; i < m_Records.GetSize(); ++i) {
        if (Record(i)[4] != kFree)
            return i;
    }
    return -1;
}

void* CZR_CMapByteStringToPtr::GetStartPosition() const
{
    return reinterpret_cast<void*>(intptr_t(NextInUse(0) + 1));
}

void CZR_CMapByteStringToPtr::GetNextAssoc(void*& position, CZR_ByteString& key, void*& value) const
{
    int index = int(reinterpret_cast<intptr_t>(position)) - 1;
    uint8_t* record = Record(index);
    if (!record)
        return;
    key = record[4] == kFree ? CZR_ByteStringC() : recordKey(record);
    value = *recordValue(record);
    position = reinterpret_cast<void*>(intptr_t(NextInUse(index + 1) + 1));
}

void* CZR_CMapByteStringToPtr::GetNextValue(void*& position) const
{
    int index = int(reinterpret_cast<intptr_t>(position)) - 1;
    uint8_t* record = Record(index);
    if (!record)
        return nullptr;
    position = reinterpret_cast<void*>(intptr_t(NextInUse(index + 1) + 1));
    return *recordValue(record);
}

int CZR_CMapByteStringToPtr::GetCount() const
{
    int count = 0;
    for (int i = 0; i < m_Records.GetSize(); ++i)
        count += Record(i)[4] != kFree;
    return count;
}

void CZR_CMapByteStringToPtr::RemoveAll()
{
    for (int i = 0; i < m_Records.GetSize(); ++i)
        FreeKey(Record(i));
    m_Records.RemoveAll();
}
