#include "containers/CZR_BaseSegmentedArray.h"

#include <cstring>

CZR_BaseSegmentedArray::CZR_BaseSegmentedArray(int unitSize, int segmentUnits, int indexSize, _IZR_Allocator* allocator)
    : m_pAllocator(allocator), m_UnitSize(4), m_SegmentUnits(16), m_IndexSize(4), m_IndexLevels(0), m_DataCount(0),
      m_pRoot(nullptr)
{
    SetUnitSize(unitSize, segmentUnits, indexSize);
}

CZR_BaseSegmentedArray::~CZR_BaseSegmentedArray() { RemoveAll(); }

bool CZR_BaseSegmentedArray::SetUnitSize(int unitSize, int segmentUnits, int indexSize)
{
    if (m_pRoot || unitSize < 1 || segmentUnits < 1 || segmentUnits > INT16_MAX || indexSize < 2 || indexSize > 255 ||
        int64_t(unitSize) * segmentUnits > INT32_MAX)
        return false;
    m_UnitSize = unitSize;
    m_SegmentUnits = int16_t(segmentUnits);
    m_IndexSize = uint8_t(indexSize);
    return true;
}

int64_t CZR_BaseSegmentedArray::SegmentsPerSlot(int level) const
{
    int64_t segments = 1;
    for (int i = 1; i < level; ++i)
        segments *= m_IndexSize;
    return segments;
}

void* CZR_BaseSegmentedArray::NewSegment()
{
    return ZRMEM_AllocatorAlloc(m_pAllocator, size_t(m_UnitSize) * size_t(m_SegmentUnits));
}

void** CZR_BaseSegmentedArray::NewIndex()
{
    auto** node = static_cast<void**>(ZRMEM_AllocatorAlloc(m_pAllocator, sizeof(void*) * m_IndexSize));
    if (node)
        memset(node, 0, sizeof(void*) * m_IndexSize);
    return node;
}

// The slot that holds the pointer to the segment, walking down from the root; with `create`,
// missing index nodes on the way are made. Null when a node is missing or cannot be made.
void** CZR_BaseSegmentedArray::SlotOf(int segment, bool create)
{
    auto** node = static_cast<void**>(m_pRoot);
    for (int level = m_IndexLevels; level > 1; --level) {
        void*& slot = node[(segment / SegmentsPerSlot(level)) % m_IndexSize];
        if (!slot && (!create || !(slot = NewIndex())))
            return nullptr;
        node = static_cast<void**>(slot);
    }
    return &node[segment % m_IndexSize];
}

void** CZR_BaseSegmentedArray::GetIndex(int segment) const
{
    auto** node = static_cast<void**>(m_pRoot);
    if (m_IndexLevels == 0)
        return node;
    for (int level = m_IndexLevels; level > 1 && node; --level)
        node = static_cast<void**>(node[(segment / SegmentsPerSlot(level)) % m_IndexSize]);
    return node;
}

uint8_t* CZR_BaseSegmentedArray::SegmentAt(int segment) const
{
    if (m_IndexLevels == 0)
        return static_cast<uint8_t*>(m_pRoot);
    void** node = GetIndex(segment);
    return node ? static_cast<uint8_t*>(node[segment % m_IndexSize]) : nullptr;
}

// A failed allocation gives back only what this call made; the units already held stay.
void* CZR_BaseSegmentedArray::Add()
{
    if (m_DataCount == INT32_MAX)
        return nullptr;
    int segment = m_DataCount / m_SegmentUnits;
    int within = m_DataCount % m_SegmentUnits;
    if (within != 0) {
        ++m_DataCount;
        return SegmentAt(segment) + size_t(within) * m_UnitSize;
    }
    void* fresh = NewSegment();
    if (!fresh)
        return nullptr;
    if (!AttachSegment(segment, fresh)) {
        ZRMEM_AllocatorFree(m_pAllocator, fresh);
        return nullptr;
    }
    ++m_DataCount;
    return fresh;
}

bool CZR_BaseSegmentedArray::AttachSegment(int segment, void* fresh)
{
    if (!m_pRoot) {
        m_pRoot = fresh;
        m_IndexLevels = 0;
        return true;
    }
    if (m_IndexLevels == 0) {
        // Only reached with the root segment in use: segment 0 is the root.
        void** node = NewIndex();
        if (!node)
            return false;
        node[0] = m_pRoot;
        m_pRoot = node;
        m_IndexLevels = 1;
    } else if (segment == SegmentsPerSlot(m_IndexLevels) * m_IndexSize) {
        if (m_IndexLevels == UINT8_MAX)
            return false;
        void** node = NewIndex();
        if (!node)
            return false;
        node[0] = m_pRoot;
        m_pRoot = node;
        ++m_IndexLevels;
    }
    void** slot = SlotOf(segment, true);
    if (!slot)
        return false;
    *slot = fresh;
    return true;
}

void* CZR_BaseSegmentedArray::GetAt(int index) const
{
    if (index < 0 || index >= m_DataCount)
        return nullptr;
    return SegmentAt(index / m_SegmentUnits) + size_t(index % m_SegmentUnits) * m_UnitSize;
}

void* CZR_BaseSegmentedArray::IterateSegment(uint8_t* segment, int64_t& remaining, IterateCallback callback,
                                             void* parameter) const
{
    for (int i = 0; i < m_SegmentUnits && remaining > 0; ++i, --remaining) {
        void* unit = segment + size_t(i) * m_UnitSize;
        if (!callback(parameter, unit))
            return unit;
    }
    return nullptr;
}

void* CZR_BaseSegmentedArray::IterateIndex(void** node, int level, int64_t& remaining, IterateCallback callback,
                                           void* parameter) const
{
    for (int i = 0; i < m_IndexSize && remaining > 0; ++i) {
        if (!node[i])
            return nullptr;
        void* stop = level == 1 ? IterateSegment(static_cast<uint8_t*>(node[i]), remaining, callback, parameter)
                                : IterateIndex(static_cast<void**>(node[i]), level - 1, remaining, callback, parameter);
        if (stop)
            return stop;
    }
    return nullptr;
}

void* CZR_BaseSegmentedArray::Iterate(IterateCallback callback, void* parameter) const
{
    if (!m_pRoot || !callback)
        return nullptr;
    int64_t remaining = m_DataCount;
    if (m_IndexLevels == 0)
        return IterateSegment(static_cast<uint8_t*>(m_pRoot), remaining, callback, parameter);
    return IterateIndex(static_cast<void**>(m_pRoot), m_IndexLevels, remaining, callback, parameter);
}

void CZR_BaseSegmentedArray::Delete(int index, int count)
{
    if (index < 0 || count < 1 || int64_t(index) + count > m_DataCount)
        return;
    int newCount = m_DataCount - count;
    for (int i = index; i < newCount; ++i)
        memcpy(GetAt(i), GetAt(i + count), size_t(m_UnitSize));
    int needed = SegmentCount(newCount);
    int used = SegmentCount(m_DataCount);
    if (m_IndexLevels == 0) {
        if (needed == 0 && m_pRoot) {
            ZRMEM_AllocatorFree(m_pAllocator, m_pRoot);
            m_pRoot = nullptr;
        }
    } else {
        for (int segment = needed; segment < used; ++segment) {
            void** slot = SlotOf(segment, false);
            if (slot && *slot) {
                ZRMEM_AllocatorFree(m_pAllocator, *slot);
                *slot = nullptr;
            }
        }
    }
    m_DataCount = newCount;
}

void CZR_BaseSegmentedArray::FreeTree(void* node, int level)
{
    if (!node)
        return;
    if (level > 0) {
        for (int i = 0; i < m_IndexSize; ++i)
            FreeTree(static_cast<void**>(node)[i], level - 1);
    }
    ZRMEM_AllocatorFree(m_pAllocator, node);
}

void CZR_BaseSegmentedArray::RemoveAll()
{
    FreeTree(m_pRoot, m_IndexLevels);
    m_pRoot = nullptr;
    m_DataCount = 0;
    m_IndexLevels = 0;
}
