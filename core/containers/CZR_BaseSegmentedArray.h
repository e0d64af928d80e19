#pragma once

#include "memory/ZRMemoryMgr.h"

#include <cstdint>

// A grow-only sequence of fixed-size units kept in equal segments under an index tree, so that
// units never move once added. Segments are not zero-filled.
class CZR_BaseSegmentedArray
{
public:
    typedef bool (*IterateCallback)(void* parameter, void* unit);

    CZR_BaseSegmentedArray(int unitSize, int segmentUnits, int indexSize, _IZR_Allocator* allocator);
    ~CZR_BaseSegmentedArray();
    CZR_BaseSegmentedArray(const CZR_BaseSegmentedArray&) = delete;
    CZR_BaseSegmentedArray& operator=(const CZR_BaseSegmentedArray&) = delete;

    // Refused (false) while the array holds units: their addresses depend on the shape.
    bool SetUnitSize(int unitSize, int segmentUnits, int indexSize);
    void* Add();
    void* GetAt(int index) const;
    void** GetIndex(int segment) const;
    void* Iterate(IterateCallback callback, void* parameter) const;
    void Delete(int index, int count);
    void RemoveAll();

    int GetSize() const { return m_DataCount; }
    int GetUnitSize() const { return m_UnitSize; }
    int GetIndexLevels() const { return m_IndexLevels; }

private:
    int64_t SegmentsPerSlot(int level) const;
    int SegmentCount(int64_t units) const { return int((units + m_SegmentUnits - 1) / m_SegmentUnits); }
    void* NewSegment();
    void** NewIndex();
    void** SlotOf(int segment, bool create);
    uint8_t* SegmentAt(int segment) const;
    bool AttachSegment(int segment, void* fresh);
    void* IterateIndex(void** node, int level, int64_t& remaining, IterateCallback callback, void* parameter) const;
    void* IterateSegment(uint8_t* segment, int64_t& remaining, IterateCallback callback, void* parameter) const;
    void FreeTree(void* node, int level);

    _IZR_Allocator* m_pAllocator;
    int32_t m_UnitSize;
    int16_t m_SegmentUnits;
    uint8_t m_IndexSize;
    uint8_t m_IndexLevels;
    int32_t m_DataCount;
    void* m_pRoot;
};
