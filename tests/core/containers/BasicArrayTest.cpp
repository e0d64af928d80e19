#include "../FailingManager.h"

#include "containers/CZR_BaseSegmentedArray.h"
#include "containers/CZR_BasicArray.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

int32_t at(const CZR_BasicArray& array, int index) { return *reinterpret_cast<int32_t*>(array.GetDataPtr(index)); }

void fill(CZR_BasicArray& array, int count)
{
    ASSERT_TRUE(array.SetSize(count, -1));
    for (int i = 0; i < count; ++i)
        *reinterpret_cast<int32_t*>(array.GetDataPtr(i)) = i + 1;
}

TEST(BasicArray, GrowsByHalfAndKeepsNewUnitsZero)
{
    CZR_BasicArray array(4, nullptr);
    ASSERT_TRUE(array.SetSize(10, 0));
    ASSERT_TRUE(array.SetSize(11, 0));
    EXPECT_EQ(array.GetMaxSize(), 15);
    for (int i = 0; i < array.GetMaxSize(); ++i)
        EXPECT_EQ(reinterpret_cast<int32_t*>(array.GetData())[i], 0);

    CZR_BasicArray small(4, nullptr);
    ASSERT_TRUE(small.SetSize(1, 0));
    ASSERT_TRUE(small.SetSize(2, 0));
    EXPECT_EQ(small.GetMaxSize(), 2);

    CZR_BasicArray odd(0x20000000, nullptr);
    EXPECT_EQ(odd.GetUnitSize(), 4);
    CZR_BasicArray negative(-3, nullptr);
    EXPECT_EQ(negative.GetUnitSize(), 4);
}

TEST(BasicArray, SizeCapRefusesButNegativeEmpties)
{
    CZR_BasicArray array(16, nullptr);
    fill(array, 3);
    EXPECT_FALSE(array.SetSize(0x10000000 / 16 + 1, -1));
    EXPECT_EQ(array.GetSize(), 3);
    EXPECT_EQ(at(array, 2), 3);
    EXPECT_FALSE(array.InsertSpaceAt(0x7FFFFFF0, 0x7FFFFFF0));
    EXPECT_FALSE(array.InsertSpaceAt(1, 0x7FFFFFFF));
    EXPECT_EQ(array.GetSize(), 3);
    EXPECT_FALSE(array.SetSize(-1, -1));
    EXPECT_EQ(array.GetSize(), 0);
    EXPECT_EQ(array.GetData(), nullptr);
}

TEST(BasicArray, InsertRemoveAndAppendWithinBounds)
{
    CZR_BasicArray array(4, nullptr);
    fill(array, 3);
    uint8_t* gap = array.InsertSpaceAt(5, 2);
    ASSERT_TRUE(gap);
    EXPECT_EQ(array.GetSize(), 7);
    for (int i = 3; i < 7; ++i)
        EXPECT_EQ(at(array, i), 0);
    ASSERT_TRUE(array.InsertSpaceAt(1, 2));
    EXPECT_EQ(at(array, 0), 1);
    EXPECT_EQ(at(array, 1), 0);
    EXPECT_EQ(at(array, 3), 2);
    EXPECT_FALSE(array.InsertSpaceAt(-1, 1));
    EXPECT_FALSE(array.InsertSpaceAt(0, 0));

    EXPECT_FALSE(array.RemoveAt(8, 2));
    EXPECT_FALSE(array.RemoveAt(1, 0x7FFFFFFF));
    EXPECT_FALSE(array.RemoveAt(-1, 1));
    ASSERT_TRUE(array.RemoveAt(1, 2));
    EXPECT_EQ(array.GetSize(), 7);
    EXPECT_EQ(at(array, 1), 2);

    CZR_BasicArray other(4, nullptr);
    fill(other, 2);
    ASSERT_TRUE(array.Append(other));
    EXPECT_EQ(at(array, 8), 2);
    EXPECT_FALSE(array.InsertAt(0, nullptr));
    ASSERT_TRUE(array.InsertAt(0, &array));
    EXPECT_EQ(array.GetSize(), 18);
    EXPECT_EQ(at(array, 9), 1);
    EXPECT_EQ(array.GetDataPtr(18), nullptr);

    CZR_BasicArray copy(array, nullptr);
    EXPECT_EQ(copy.GetSize(), 18);
    EXPECT_EQ(at(copy, 17), 2);
}

TEST(BasicArray, FailedGrowthKeepsTheContent)
{
    FailingManager manager(1);
    CZR_BasicArray array(4, nullptr);
    fill(array, 4);
    EXPECT_FALSE(array.SetSize(100, -1));
    EXPECT_EQ(manager.outOfMemoryReports(), 1) << "one failure, one report";
    EXPECT_EQ(array.GetSize(), 4);
    EXPECT_EQ(at(array, 3), 4);
    EXPECT_FALSE(array.InsertSpaceAt(0, 10));
    EXPECT_EQ(at(array, 0), 1);
    array.SetSize(0, -1);
    EXPECT_EQ(manager.liveBlocks(), 0);
}

std::vector<int> collect(const CZR_BaseSegmentedArray& array)
{
    std::vector<int> values;
    array.Iterate(
        [](void* out, void* unit) {
            static_cast<std::vector<int>*>(out)->push_back(*static_cast<int*>(unit));
            return true;
        },
        &values);
    return values;
}

TEST(SegmentedArray, IndexLevelsGrowAndUnitsStayPut)
{
    CZR_BaseSegmentedArray array(sizeof(int), 4, 2, nullptr);
    std::vector<int*> addresses;
    for (int i = 0; i < 40; ++i) {
        auto* unit = static_cast<int*>(array.Add());
        ASSERT_TRUE(unit);
        *unit = i;
        addresses.push_back(unit);
        if (i == 3) {
            EXPECT_EQ(array.GetIndexLevels(), 0);
        } else if (i == 4) {
            EXPECT_EQ(array.GetIndexLevels(), 1);
        } else if (i == 8) {
            EXPECT_EQ(array.GetIndexLevels(), 2);
        }
    }
    EXPECT_EQ(array.GetAt(8), array.GetIndex(2)[0]);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(array.GetAt(i), addresses[size_t(i)]);
    EXPECT_EQ(array.GetAt(40), nullptr);
    EXPECT_EQ(array.GetAt(-1), nullptr);
    std::vector<int> values = collect(array);
    ASSERT_EQ(values.size(), 40u);
    EXPECT_EQ(values[39], 39);

    void* stop = array.Iterate([](void*, void* unit) { return *static_cast<int*>(unit) != 17; }, nullptr);
    EXPECT_EQ(stop, array.GetAt(17));
    EXPECT_FALSE(array.SetUnitSize(8, 4, 2));
}

TEST(SegmentedArray, DeleteShiftsAndFreesSegments)
{
    FailingManager manager(1000);
    {
        CZR_BaseSegmentedArray array(sizeof(int), 4, 2, nullptr);
        for (int i = 0; i < 10; ++i)
            *static_cast<int*>(array.Add()) = i;
        array.Delete(2, 3);
        EXPECT_EQ(collect(array), (std::vector<int>{0, 1, 5, 6, 7, 8, 9}));
        array.Delete(5, 0x7FFFFFFF);
        array.Delete(-1, 1);
        EXPECT_EQ(array.GetSize(), 7);
        int before = manager.liveBlocks();
        array.Delete(0, 7);
        EXPECT_EQ(array.GetSize(), 0);
        EXPECT_EQ(manager.liveBlocks(), before - 2);
        EXPECT_GE(array.GetIndexLevels(), 1);
        *static_cast<int*>(array.Add()) = 42;
        EXPECT_EQ(collect(array), std::vector<int>{42});
    }
    EXPECT_EQ(manager.liveBlocks(), 0);
}

TEST(SegmentedArray, FailedAddKeepsWhatWasThere)
{
    for (int successes = 0; successes < 12; ++successes) {
        FailingManager manager(successes);
        {
            CZR_BaseSegmentedArray array(sizeof(int), 2, 2, nullptr);
            int added = 0;
            while (added < 20) {
                auto* unit = static_cast<int*>(array.Add());
                if (!unit)
                    break;
                *unit = added++;
            }
            EXPECT_EQ(array.GetSize(), added);
            std::vector<int> values = collect(array);
            ASSERT_EQ(int(values.size()), added);
            for (int i = 0; i < added; ++i)
                EXPECT_EQ(values[size_t(i)], i);
        }
        EXPECT_EQ(manager.liveBlocks(), 0);
    }
}

} // namespace
