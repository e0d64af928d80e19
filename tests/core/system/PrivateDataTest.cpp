#include "../FailingManager.h"

#include "containers/CZR_PrivateData.h"

#include <gtest/gtest.h>

namespace {

struct ReleaseCounter
{
    static void Release(void* data) { ++*static_cast<int*>(data); }
};

class CountedObject : public CZR_DestructObject
{
public:
    explicit CountedObject(int& deleted) : m_deleted(deleted) {}
    ~CountedObject() override { ++m_deleted; }

private:
    int& m_deleted;
};

int g_keyA, g_keyB;

TEST(PrivateDataTest, SettingAKeyAgainReleasesTheOldDataOnceAndKeepsTheNew)
{
    int first = 0, second = 0;
    {
        CZR_PrivateData list;
        list.SetPrivateData(&g_keyA, &first, ReleaseCounter::Release);
        list.SetPrivateData(&g_keyA, &second, ReleaseCounter::Release);
        EXPECT_EQ(first, 1);
        EXPECT_EQ(second, 0);
        EXPECT_EQ(list.GetPrivateData(&g_keyA), &second);
        EXPECT_EQ(list.GetSize(), 1);
    }
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
}

TEST(PrivateDataTest, SettingAKeyAgainWithItsOwnDataKeepsThatDataAlive)
{
    int deleted = 0;
    auto* object = new CountedObject(deleted);
    CZR_PrivateData list;
    list.SetPrivateObj(&g_keyA, object);
    list.SetPrivateObj(&g_keyA, object);
    EXPECT_EQ(deleted, 0);
    EXPECT_EQ(list.GetPrivateData(&g_keyA), object);
    list.ClearAll();
    EXPECT_EQ(deleted, 1);
    EXPECT_EQ(list.GetSize(), 0);
}

TEST(PrivateDataTest, RemovingLeavesTheDataAliveAndUnknownKeysAreRefused)
{
    int released = 0;
    int deleted = 0;
    CountedObject object(deleted);
    CZR_PrivateData list;
    list.SetPrivateData(&g_keyA, &released, ReleaseCounter::Release);
    list.SetPrivateData(&g_keyB, nullptr, ReleaseCounter::Release);
    list.SetPrivateData(nullptr, &released, ReleaseCounter::Release);
    EXPECT_EQ(list.GetSize(), 2);
    EXPECT_EQ(list.GetPrivateData(nullptr), nullptr);
    EXPECT_TRUE(list.RemovePrivateData(&g_keyA));
    EXPECT_FALSE(list.RemovePrivateData(&g_keyA));
    EXPECT_FALSE(list.RemovePrivateData(nullptr));
    EXPECT_EQ(list.GetPrivateData(&g_keyA), nullptr);
    list.ClearAll();
    list.ClearAll();
    EXPECT_EQ(released, 0);
    EXPECT_EQ(list.GetSize(), 0);
}

TEST(PrivateDataTest, AKeyThatCannotBeAddedLeavesTheDataToTheCaller)
{
    int released = 0;
    {
        CZR_PrivateData list;
        FailingManager failing(0);
        EXPECT_FALSE(list.SetPrivateData(&g_keyA, &released, ReleaseCounter::Release));
        EXPECT_EQ(list.GetPrivateData(&g_keyA), nullptr);
    }
    EXPECT_EQ(released, 0);
}

TEST(PrivateDataTest, AnObjectReplacedByPlainDataIsDeleted)
{
    int deleted = 0, released = 0;
    CZR_PrivateData list;
    list.SetPrivateObj(&g_keyA, new CountedObject(deleted));
    list.SetPrivateData(&g_keyA, &released, ReleaseCounter::Release);
    EXPECT_EQ(deleted, 1);
    list.ClearAll();
    EXPECT_EQ(released, 1);
}

} // namespace
