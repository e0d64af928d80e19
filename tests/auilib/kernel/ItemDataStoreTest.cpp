#include "ItemDataStore.h"

#include <gtest/gtest.h>

#include <string>

using AUILib::any;
using AUILib::any_cast;

namespace {

// Counts its live copies, so that a test sees every value destroyed exactly once.
struct Counted
{
    static inline int live = 0;
    explicit Counted(int value)
        : value(value)
    {
        ++live;
    }
    Counted(const Counted& other)
        : value(other.value)
    {
        ++live;
    }
    ~Counted() { --live; }
    Counted& operator=(const Counted&) = default;
    int value;
};

int ValueOf(const any& value)
{
    const Counted* held = any_cast<Counted>(&value);
    return held ? held->value : -1;
}

} // namespace

TEST(AnyTest, CopiesAreIndependentAndEachIsDestroyedOnce)
{
    Counted::live = 0;
    {
        any first = Counted(7);
        ASSERT_EQ(Counted::live, 1);
        any second = first;
        EXPECT_EQ(Counted::live, 2);
        any_cast<Counted>(&second)->value = 8;
        EXPECT_EQ(ValueOf(first), 7);
        EXPECT_EQ(ValueOf(second), 8);

        any moved = std::move(second);
        EXPECT_EQ(Counted::live, 2);
        EXPECT_TRUE(second.empty());
        first = moved;
        EXPECT_EQ(Counted::live, 2) << "the old value goes when a new one is assigned";
        EXPECT_EQ(ValueOf(first), 8);
    }
    EXPECT_EQ(Counted::live, 0);
}

TEST(AnyTest, HoldsOneExactType)
{
    const any number = 5L;
    EXPECT_EQ(number.type(), typeid(long));
    ASSERT_NE(any_cast<long>(&number), nullptr);
    EXPECT_EQ(*any_cast<long>(&number), 5L);
    EXPECT_EQ(any_cast<int>(&number), nullptr);
    EXPECT_EQ(any_cast<std::string>(&number), nullptr);

    const any empty;
    EXPECT_TRUE(empty.empty());
    EXPECT_EQ(empty.type(), typeid(void));
    EXPECT_EQ(any_cast<long>(&empty), nullptr);
    EXPECT_TRUE(any(empty).empty());
}

TEST(ItemDataStoreTest, IdsOnlyGrow)
{
    ItemDataStore store;
    EXPECT_EQ(store.Add(1L, 0), 1);
    EXPECT_EQ(store.Add(any(), 0), 2) << "an empty value still takes an ID";
    EXPECT_TRUE(store.Get(2, 0).empty());
    store.Clear();
    EXPECT_TRUE(store.Get(1, 0).empty());
    EXPECT_EQ(store.Add(3L, 0), 3);
    EXPECT_EQ(store.Set(99, 0, 4L), 4) << "an unknown ID is a new record";
    EXPECT_TRUE(store.Get(99, 0).empty());
}

TEST(ItemDataStoreTest, GetHandsOutCopiesAndNeverInserts)
{
    Counted::live = 0;
    {
        ItemDataStore store;
        const int id = store.Add(Counted(10), 0);
        EXPECT_EQ(Counted::live, 1);

        any copy = store.Get(id, 0);
        any_cast<Counted>(&copy)->value = 11;
        EXPECT_EQ(ValueOf(store.Get(id, 0)), 10);

        for (const auto& [askedId, subKey] : {std::pair{0, 0}, {id, 1}, {id + 1, 0}, {-1, 0}})
            EXPECT_TRUE(store.Get(askedId, subKey).empty()) << askedId << "/" << subKey;
        EXPECT_EQ(Counted::live, 2) << "only the stored value and the copy";

        EXPECT_EQ(store.Set(id, 1, Counted(20)), id);
        EXPECT_EQ(store.Set(id, 0, Counted(12)), id);
        EXPECT_EQ(ValueOf(store.Get(id, 0)), 12);
        EXPECT_EQ(ValueOf(store.Get(id, 1)), 20);
        EXPECT_EQ(Counted::live, 3) << "the replaced value is destroyed";
    }
    EXPECT_EQ(Counted::live, 0) << "the store destroys what it holds";
}

TEST(ItemDataStoreTest, ErasingARecordDestroysItsValuesOnce)
{
    Counted::live = 0;
    ItemDataStore store;
    const int first = store.Add(Counted(1), 0);
    store.Set(first, 5, Counted(2));
    const int second = store.Add(Counted(3), 0);
    ASSERT_EQ(Counted::live, 3);

    auto erase = [&store](int id) {
        const auto record = store.Find(id);
        if (record == store.End())
            return false;
        store.Erase(record);
        return true;
    };
    EXPECT_TRUE(erase(first));
    EXPECT_EQ(Counted::live, 1);
    EXPECT_FALSE(erase(first));
    EXPECT_EQ(Counted::live, 1);
    EXPECT_TRUE(store.Get(first, 0).empty());
    EXPECT_EQ(ValueOf(store.Get(second, 0)), 3);
}
