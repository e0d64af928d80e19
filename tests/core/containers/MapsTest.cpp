#include "../FailingManager.h"

#include "containers/CZR_CMapByteStringToPtr.h"
#include "containers/CZR_CMapDWordToDWord.h"
#include "containers/CZR_MapByteStringToPtr.h"
#include "containers/CZR_MapPtrToPtr.h"

#include <gtest/gtest.h>

#include <random>
#include <unordered_map>
#include <set>
#include <vector>
#include <string>

namespace {

void* ptr(uintptr_t n) { return reinterpret_cast<void*>(n); }

TEST(MapPtrToPtr, GrowsToThirtyTwoAtSixteenAndStopsAtTheCap)
{
    CZR_MapPtrToPtr map(10, nullptr);
    for (uintptr_t i = 1; i <= 15; ++i)
        *map[ptr(i * 8)] = ptr(i);
    EXPECT_EQ(map.GetHashTableSize(), 16u);
    *map[ptr(16 * 8)] = ptr(16);
    EXPECT_EQ(map.GetHashTableSize(), 32u);
    for (uintptr_t i = 17; i <= 40000; ++i)
        *map[ptr(i * 8)] = ptr(i);
    EXPECT_EQ(map.GetHashTableSize(), 16384u);
    EXPECT_EQ(map.GetCount(), 40000);
    EXPECT_EQ(map.GetValueAt(ptr(777 * 8)), ptr(777));
    EXPECT_EQ(map.GetValueAt(ptr(3)), nullptr);
    for (uintptr_t i = 1; i <= 40000; ++i)
        ASSERT_TRUE(map.RemoveKey(ptr(i * 8)));
    EXPECT_EQ(map.GetCount(), 0);
    EXPECT_FALSE(map.RemoveKey(ptr(8)));
    EXPECT_EQ(map.GetStartPosition(), nullptr);
    *map[ptr(8)] = ptr(1);
    EXPECT_EQ(map.GetHashTableSize(), 16384u);
}

TEST(MapPtrToPtr, HashSplitsThePointerInSixteenBitParts)
{
    uintptr_t key = 0x0004000300020001ull;
    EXPECT_EQ(ZR_PointerKeyTraits::Hash(ptr(key)), ((1u * 1313 + 2) * 1313 + 3) * 1313 + 4);
}

TEST(MapByteStringToPtr, IteratesBucketByBucketAndEndsWithNull)
{
    CZR_MapByteStringToPtr map(4, nullptr);
    *map["one"] = ptr(1);
    void* position = map.GetStartPosition();
    CZR_ByteString key;
    void* value = nullptr;
    map.GetNextAssoc(position, key, value);
    EXPECT_EQ(key, "one");
    EXPECT_EQ(value, ptr(1));
    EXPECT_EQ(position, nullptr);

    std::set<std::string> keys;
    for (int i = 0; i < 100; ++i)
        *map[CZR_ByteStringC(std::to_string(i).c_str())] = ptr(uintptr_t(i));
    uint32_t lastBucket = 0;
    position = map.GetStartPosition();
    while (position) {
        auto* assoc = map.GetCurrentAssoc(position);
        ASSERT_TRUE(assoc);
        EXPECT_GE(assoc->nHashBucket, lastBucket);
        lastBucket = assoc->nHashBucket;
        keys.insert(assoc->key.c_str());
    }
    EXPECT_EQ(keys.size(), 101u);
    void* found = nullptr;
    EXPECT_TRUE(map.Lookup("42", found));
    EXPECT_EQ(found, ptr(42));

    map.InitHashTable(64, true);
    EXPECT_EQ(map.GetCount(), 0);
    EXPECT_EQ(map.GetHashTableSize(), 64u);
    EXPECT_FALSE(map.Lookup("42", found));
    *map["again"] = ptr(7);
    EXPECT_EQ(map.GetCount(), 1);
}

TEST(MapByteStringToPtr, FailedInsertionLeavesTheMapAsItWas)
{
    FailingManager manager(3);
    {
        CZR_MapByteStringToPtr map(4, nullptr);
        ASSERT_TRUE(map["a"]);
        EXPECT_EQ(map["some longer key"], nullptr);
        EXPECT_EQ(map.GetCount(), 1);
        void* value = ptr(9);
        EXPECT_FALSE(map.Lookup("some longer key", value));
    }
    EXPECT_EQ(manager.liveBlocks(), 0);
}

TEST(CMapByteStringToPtr, InlineAndOutsideKeysAndHashCollisions)
{
    CZR_CMapByteStringToPtr map(nullptr);
    EXPECT_TRUE(map.SetAt("elevenbytes", ptr(11)));
    EXPECT_TRUE(map.SetAt("twelve bytes", ptr(12)));
    EXPECT_TRUE(map.SetAt("", ptr(99)));
    void* value = nullptr;
    EXPECT_TRUE(map.Lookup("twelve bytes", value));
    EXPECT_EQ(value, ptr(12));

    // Two different keys with one 31-bit hash, found among random ones by the birthday bound.
    std::string first, second;
    std::mt19937 random(7);
    std::unordered_map<uint32_t, std::string> seen;
    for (int a = 0; a < 400000 && second.empty(); ++a) {
        std::string key(8, 'a');
        for (char& c : key)
            c = char('a' + random() % 26);
        uint32_t hash = CZR_CMapByteStringToPtr::KeyHash(CZR_ByteStringC(key.c_str()));
        auto it = seen.find(hash);
        if (it != seen.end() && it->second != key) {
            first = it->second;
            second = key;
        }
        seen[hash] = key;
    }
    ASSERT_FALSE(second.empty());
    EXPECT_TRUE(map.SetAt(CZR_ByteStringC(first.c_str()), ptr(1)));
    EXPECT_TRUE(map.SetAt(CZR_ByteStringC(second.c_str()), ptr(2)));
    EXPECT_EQ(map.GetCount(), 5);
    EXPECT_TRUE(map.Lookup(CZR_ByteStringC(first.c_str()), value));
    EXPECT_EQ(value, ptr(1));
    EXPECT_TRUE(map.RemoveKey(CZR_ByteStringC(second.c_str())));
    EXPECT_TRUE(map.Lookup(CZR_ByteStringC(first.c_str()), value));
    EXPECT_FALSE(map.Lookup(CZR_ByteStringC(second.c_str()), value));

    std::string huge(0x10000, 'x');
    EXPECT_FALSE(map.SetAt(CZR_ByteStringC(huge.c_str(), int(huge.size())), ptr(3)));
    huge.resize(0xFFFF);
    EXPECT_TRUE(map.SetAt(CZR_ByteStringC(huge.c_str(), int(huge.size())), ptr(3)));
    EXPECT_TRUE(map.Lookup(CZR_ByteStringC(huge.c_str(), int(huge.size())), value));

    int visited = 0;
    for (void* position = map.GetStartPosition(); position;) {
        CZR_ByteString key;
        map.GetNextAssoc(position, key, value);
        ++visited;
    }
    EXPECT_EQ(visited, map.GetCount());
}

TEST(CMapByteStringToPtr, HashTreatsHighBytesAsNegative)
{
    const char key[] = "\x80\xFF";
    uint32_t rs = 0, a = 63689;
    for (int c : {-128, -1}) {
        rs = rs * a + uint32_t(c);
        a *= 378551;
    }
    uint32_t low = uint32_t(-128 * 31 - 1) & 0xFFFF;
    EXPECT_EQ(CZR_CMapByteStringToPtr::KeyHash(CZR_ByteStringC(key, 2)), (rs & 0x7FFF0000) | low);
}

TEST(CMapDWordToDWord, SortedUnsignedKeys)
{
    CZR_CMapDWordToDWord map;
    EXPECT_EQ(map.GetStartPosition(), nullptr);
    map.SetAt(0x80000001, 2);
    map.SetAt(1, 1);
    map.SetAt(5, 5);
    EXPECT_EQ(map.SetAt(5, 6), 1);
    uint32_t value = 0;
    EXPECT_TRUE(map.Lookup(1, value));
    EXPECT_EQ(value, 1u);
    EXPECT_TRUE(map.Lookup(0x80000001, value));
    EXPECT_EQ(value, 2u);
    EXPECT_FALSE(map.Lookup(4, value));
    std::vector<uint32_t> keys;
    for (void* position = map.GetStartPosition(); position;) {
        uint32_t key = 0;
        map.GetNextAssoc(position, key, value);
        keys.push_back(key);
    }
    EXPECT_EQ(keys, (std::vector<uint32_t>{1, 5, 0x80000001}));
    EXPECT_TRUE(map.EstimateSize(100, 10));
}

} // namespace
