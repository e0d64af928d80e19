#include "containers/CZR_CMapDWordToDWord.h"

int CZR_CMapDWordToDWord::LowerBound(uint32_t key) const
{
    int low = 0, high = Count();
    while (low < high) {
        int middle = low + (high - low) / 2;
        if (Pairs()[middle].key < key)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

int CZR_CMapDWordToDWord::SetAt(uint32_t key, uint32_t value)
{
    Pair pair = {key, value};
    int count = Count();
    if (count == 0 || Pairs()[count - 1].key < key)
        return m_Buffer.AppendBlock(&pair, sizeof pair) ? count : -1;
    int at = LowerBound(key);
    if (Pairs()[at].key == key) {
        Pairs()[at].value = value;
        return at;
    }
    return m_Buffer.InsertBlock(at * int(sizeof(Pair)), &pair, sizeof pair) ? at : -1;
}

bool CZR_CMapDWordToDWord::Lookup(uint32_t key, uint32_t& value) const
{
    int at = LowerBound(key);
    if (at >= Count() || Pairs()[at].key != key)
        return false;
    value = Pairs()[at].value;
    return true;
}

void CZR_CMapDWordToDWord::GetNextAssoc(void*& position, uint32_t& key, uint32_t& value) const
{
    intptr_t index = reinterpret_cast<intptr_t>(position) - 1;
    if (index < 0 || index >= Count())
        return;
    key = Pairs()[index].key;
    value = Pairs()[index].value;
    position = reinterpret_cast<void*>(index + 1 < Count() ? index + 2 : 0);
}

bool CZR_CMapDWordToDWord::EstimateSize(uint32_t size, uint32_t grow)
{
    if (uint64_t(size) * sizeof(Pair) > INT32_MAX || uint64_t(grow) * sizeof(Pair) > INT32_MAX)
        return false;
    return m_Buffer.EstimateSize(int(size * sizeof(Pair)), int(grow * sizeof(Pair)));
}
