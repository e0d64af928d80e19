#include "FailingManager.h"
#include "streams/RecordingAllocator.h"

#include "containers/CZR_BasicArray.h"
#include "memory/CZR_GrowOnlyPool.h"
#include "memory/CZR_Object.h"
#include "memory/ZRMemoryMgr.h"
#include "streams/IZR_MemoryStream.h"
#include "strings/CZR_BinaryBuf.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

namespace {

struct Observed
{
    std::vector<int> slots;
    void* lastFreed = nullptr;
};
Observed* g_observed = nullptr;

_ZRMEM_Debugger recordingDebugger()
{
    return {
        [](CZR_MemoryMgr*, void*, size_t, int) { g_observed->slots.push_back(0); },
        [](CZR_MemoryMgr*, void*, size_t, int, const char*, int) { g_observed->slots.push_back(1); },
        [](CZR_MemoryMgr*, void*, void*, size_t, int) { g_observed->slots.push_back(2); },
        [](CZR_MemoryMgr*, void*, void*, size_t, int, const char*, int) { g_observed->slots.push_back(3); },
        [](CZR_MemoryMgr*, void* block, int) {
            g_observed->slots.push_back(4);
            g_observed->lastFreed = block;
        },
        [](CZR_MemoryMgr*, const char*, va_list) { g_observed->slots.push_back(5); },
    };
}

// Something that grows memory through an allocator, and whether it got all it asked for.
struct Grower
{
    const char* name;
    std::function<bool(_IZR_Allocator*)> grow;
};

class MemoryMgrTest : public testing::Test
{
protected:
    MemoryMgrTest() { g_observed = &observed; }
    ~MemoryMgrTest() override { g_observed = nullptr; }
    Observed observed;
};

struct Counted : CZR_Object
{
    Counted() { ++constructed; }
    static int constructed;
};
int Counted::constructed = 0;

struct Remembering : CZR_AllocObject
{
    int payload = 7;
};

} // namespace

TEST_F(MemoryMgrTest, CountedAllocationsRefuseZeroAndOversizedRequests)
{
    FailingManager failing(100);
    EXPECT_EQ(ZRMEM_DefaultAlloc2(0, 8, 0), nullptr);
    EXPECT_EQ(ZRMEM_DefaultAlloc2(8, 0, 0), nullptr);
    EXPECT_EQ(failing.outOfMemoryReports(), 0);

    EXPECT_EQ(ZRMEM_DefaultAlloc2(0x80000000u, 1, 0), nullptr);
    EXPECT_EQ(ZRMEM_DefaultAlloc2(0x40000000u, 2, 0), nullptr);
    EXPECT_EQ(failing.outOfMemoryReports(), 2);
    EXPECT_EQ(ZRMEM_DefaultAllocDebug2(0x80000000u, 1, ZRMEM_FLAG_MAYFAIL, __FILE__, __LINE__), nullptr);
    EXPECT_EQ(failing.outOfMemoryReports(), 2);
    EXPECT_EQ(failing.requests(), 0) << "refused before the system manager is asked";

}

TEST_F(MemoryMgrTest, CountedAllocationExactlyAtTheLimitIsAskedFor)
{
    FailingManager refusing(0);
    EXPECT_EQ(ZRMEM_DefaultAlloc2(0x7FFFFFFF / 8, 8, ZRMEM_FLAG_MAYFAIL), nullptr);
    EXPECT_EQ(refusing.requests(), 1);
    EXPECT_EQ(refusing.outOfMemoryReports(), 0);
}

TEST_F(MemoryMgrTest, CountedReallocationKeepsTheBlockOnZeroSize)
{
    void* block = ZRMEM_DefaultAlloc2(4, 4, 0);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(ZRMEM_DefaultRealloc2(block, 0, 4, 0), nullptr);
    EXPECT_EQ(ZRMEM_DefaultRealloc2(block, 0x80000000u, 1, ZRMEM_FLAG_MAYFAIL), nullptr);
    block = ZRMEM_DefaultRealloc2(block, 8, 4, 0);
    ASSERT_NE(block, nullptr);
    static_cast<char*>(block)[31] = 1;
    ZRMEM_DefaultFree(block, 0);
}

TEST_F(MemoryMgrTest, DebuggerSeesEveryPathAndFailuresCallTheHandlerUnlessMayFail)
{
    FailingManager failing(3);
    _ZRMEM_Debugger debugger = recordingDebugger();
    ZRMEM_UseDebugger(failing.mgr(), &debugger);

    void* a = ZRMEM_DefaultAlloc(16, 0);
    void* b = ZRMEM_DefaultAllocDebug(16, 0, __FILE__, __LINE__);
    a = ZRMEM_DefaultRealloc(a, 32, 0);
    EXPECT_EQ(ZRMEM_DefaultReallocDebug(b, 64, ZRMEM_FLAG_MAYFAIL, __FILE__, __LINE__), nullptr);
    EXPECT_EQ(failing.outOfMemoryReports(), 0);
    EXPECT_EQ(ZRMEM_DefaultAlloc(16, 0), nullptr);
    EXPECT_EQ(failing.outOfMemoryReports(), 1);
    ZRMEM_DefaultFree(nullptr, 0);
    ZRMEM_DefaultFree(a, 0);
    ZRMEM_DefaultFree(b, 0);
    ZRMEM_OutputDebugTag(failing.mgr(), "tag %d", 1);

    EXPECT_EQ(observed.slots, (std::vector<int>{0, 1, 2, 3, 0, 4, 4, 5}));
    EXPECT_EQ(failing.liveBlocks(), 0);
    ZRMEM_UseDebugger(failing.mgr(), nullptr);
}

TEST_F(MemoryMgrTest, ObjectsUseTheDefaultManagerAtTheTimeOfEachCall)
{
    Counted* early = new Counted;
    FailingManager failing(0);
    _ZRMEM_Debugger debugger = recordingDebugger();
    ZRMEM_UseDebugger(failing.mgr(), &debugger);

    int before = Counted::constructed;
    EXPECT_EQ(new Counted, nullptr) << "a failed allocation constructs nothing";
    EXPECT_EQ(Counted::constructed, before);
    EXPECT_EQ(failing.outOfMemoryReports(), 1);

    delete static_cast<Counted*>(nullptr);
    EXPECT_EQ(observed.slots, (std::vector<int>{0}));
    ZRMEM_UseDebugger(failing.mgr(), nullptr);

    // Freed through the failing manager, whose free is plain free().
    delete early;
    EXPECT_EQ(failing.liveBlocks(), -1);
}

TEST_F(MemoryMgrTest, AllocObjectRemembersItsAllocatorAndFailsWithoutStoringIt)
{
    FailingManager failing(1);
    _IZR_Allocator* allocator = &failing.mgr()->allocator;
    ZRMEM_ResetSystemMgr();

    auto* object = new (allocator) Remembering;
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->GetAllocator(), allocator);
    EXPECT_EQ(object->payload, 7);
    EXPECT_EQ(new (allocator) Remembering, nullptr);
    delete object;
    EXPECT_EQ(failing.liveBlocks(), 0);

    auto* onDefault = new (static_cast<_IZR_Allocator*>(nullptr), __FILE__, __LINE__) Remembering;
    EXPECT_EQ(onDefault->GetAllocator(), nullptr);
    delete onDefault;
}

TEST_F(MemoryMgrTest, CreatedManagerLivesInItsSystemManagersMemory)
{
    EXPECT_EQ(ZRMEM_CreateKelvrinMgr(nullptr), nullptr);
    FailingManager failing(1);
    _ZRMEM_SystemMgr* system = failing.mgr()->systemMgr;
    CZR_MemoryMgr* created = ZRMEM_CreateKelvrinMgr(system);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->type, CZR_MemoryMgr::TypeCreated);
    EXPECT_EQ(created->allocator.owner, created);
    EXPECT_EQ(ZRMEM_CreateKelvrinMgr(system), nullptr);
    ZRMEM_DestroyKelvrinMgr(created);
    ZRMEM_DestroyKelvrinMgr(nullptr);
    EXPECT_EQ(failing.liveBlocks(), 0);
}

TEST_F(MemoryMgrTest, GrowOnlyPoolCarvesFromTheFirstTrunkWithRoom)
{
    constexpr size_t step = alignof(std::max_align_t);
    CZR_GrowOnlyPool pool(nullptr, 100);
    auto* first = static_cast<char*>(pool.Alloc(1));
    auto* large = static_cast<char*>(pool.Alloc(200));
    auto* third = static_cast<char*>(pool.Alloc(8));
    ASSERT_TRUE(first && large && third);
    EXPECT_EQ(third, first + step) << "served from the first trunk after the rounded first block";
    large[199] = 1;

    _IZR_Allocator* asAllocator = &pool;
    EXPECT_EQ(asAllocator->Realloc(asAllocator, first, 8), nullptr);
    asAllocator->Free(asAllocator, first);
    EXPECT_EQ(asAllocator->Alloc(asAllocator, 100 - 2 * step - 4), first + 2 * step) << "the rest of the first trunk";
    EXPECT_EQ(pool.Alloc(SIZE_MAX - 2), nullptr);
    pool.FreeAll();
}

TEST_F(MemoryMgrTest, GrowOnlyPoolBlocksSuitAnyObject)
{
    CZR_GrowOnlyPool pool(nullptr, 256);
    for (size_t size : {1, 3, 4, 5, 8, 12, 17, 24, 100, 255, 300, 1000}) {
        void* block = pool.Alloc(size);
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % alignof(std::max_align_t), 0u) << size;
    }
}

TEST_F(MemoryMgrTest, GrowOnlyPoolPassesBackingFailuresOn)
{
    FailingManager failing(0);
    CZR_GrowOnlyPool pool(&failing.mgr()->allocator, 64);
    EXPECT_EQ(pool.Alloc(8), nullptr);
    EXPECT_EQ(failing.outOfMemoryReports(), 1);
}

TEST_F(MemoryMgrTest, GrowingMovesABlockThatCannotBeReallocated)
{
    // Where twice the size does not fit and the size asked does, the growth must not fail for it,
    // nor tell the out-of-memory handler of a shortage that did not stop it.
    FailingManager failing(INT32_MAX);
    failing.refuseAbove(15000);
    failing.refuseReallocations();
    RecordingAllocator roomy;
    CZR_GrowOnlyPool pool(&roomy, 4096);
    RecordingAllocator tight;
    tight.refuseAbove = 15000;
    CZR_GrowOnlyPool tightPool(&tight, 4096);
    const struct
    {
        const char* name;
        _IZR_Allocator* allocator;
        size_t limit;
    } cases[] = {
        {"pool asked for the exact size", &pool, 10000},
        {"pool without room to spare", &tightPool, SIZE_MAX},
        {"manager that cannot reallocate nor spare room", &failing.mgr()->allocator, SIZE_MAX},
    };
    for (const auto& each : cases) {
        auto* block = static_cast<char*>(ZRMEM_AllocatorGrow(each.allocator, nullptr, 0, 16));
        ASSERT_NE(block, nullptr) << each.name;
        memcpy(block, "0123456789abcdef", 16);
        size_t size = 10000;
        auto* grown = static_cast<char*>(ZRMEM_AllocatorGrow(each.allocator, block, 16, size, each.limit));
        ASSERT_NE(grown, nullptr) << each.name;
        EXPECT_NE(grown, block) << each.name;
        EXPECT_EQ(size, 10000u) << each.name;
        EXPECT_EQ(std::string(grown, 16), "0123456789abcdef") << each.name;
        grown[9999] = 1;
        ZRMEM_AllocatorFree(each.allocator, grown);
    }
    EXPECT_EQ(failing.outOfMemoryReports(), 0);
    EXPECT_EQ(failing.liveBlocks(), 0);
}

TEST_F(MemoryMgrTest, FixedStepGrowthThroughAPoolCostsMemoryInProportionToTheData)
{
    // Each growth through a pool leaves the old block behind, so fixed steps would cost the square
    // of the data.
    constexpr int kData = 2 << 20;
    constexpr int kPiece = 4096;
    const std::vector<char> piece(kPiece, 'x');
    const Grower growers[] = {
        {"consecutive memory stream",
         [&](_IZR_Allocator* pool) {
             IZR_MemoryStream* stream = ZR_CreateMemoryStream(true, pool);
             bool written = stream != nullptr;
             for (int done = 0; written && done < kData; done += kPiece)
                 written = stream->WriteBlock(piece.data(), kPiece);
             written = written && stream->GetSize() == kData;
             if (stream)
                 stream->Release();
             return written;
         }},
        {"array with a fixed step",
         [&](_IZR_Allocator* pool) {
             CZR_BasicArray array(4, pool);
             bool grown = true;
             for (int units = kPiece / 4; grown && units <= kData / 4; units += kPiece / 4)
                 grown = array.SetSize(units, 16384);
             return grown && array.GetSize() == kData / 4;
         }},
        {"buffer with an estimated step",
         [&](_IZR_Allocator* pool) {
             CZR_BinaryBuf buffer(pool);
             bool appended = buffer.EstimateSize(kPiece, 16384);
             for (int done = 0; appended && done < kData; done += kPiece)
                 appended = buffer.AppendBlock(piece.data(), kPiece);
             return appended && buffer.GetSize() == kData;
         }},
    };
    for (const Grower& grower : growers) {
        RecordingAllocator backing;
        {
            CZR_GrowOnlyPool pool(&backing, 4096);
            ASSERT_TRUE(grower.grow(&pool)) << grower.name;
        }
        size_t taken = std::accumulate(backing.requests.begin(), backing.requests.end(), size_t(0));
        EXPECT_LT(taken, size_t(5) * kData) << grower.name;
        EXPECT_EQ(backing.live, 0) << grower.name;
    }
}

TEST_F(MemoryMgrTest, OneFailedGrowthIsReportedOnce)
{
    FailingManager failing(100);
    failing.refuseAbove(8);
    for (_IZR_Allocator* allocator : {static_cast<_IZR_Allocator*>(nullptr), &failing.mgr()->allocator}) {
        int reportsBefore = failing.outOfMemoryReports();
        auto* block = static_cast<char*>(ZRMEM_AllocatorAlloc(allocator, 8));
        ASSERT_NE(block, nullptr);
        memcpy(block, "kept", 5);
        EXPECT_EQ(ZRMEM_AllocatorGrow(allocator, block, 5, 64), nullptr);
        EXPECT_EQ(failing.outOfMemoryReports(), reportsBefore + 1);
        EXPECT_STREQ(block, "kept") << "the block is left as it was";
        ZRMEM_AllocatorFree(allocator, block);
    }
    EXPECT_EQ(failing.liveBlocks(), 0);
}

TEST_F(MemoryMgrTest, OnlyAShortageThatStopsAGrowthIsReportedAndOnlyOnce)
{
    // Each grower takes a small block up to about 10000 bytes through a backing that cannot
    // reallocate, so the block moves: twice the room is asked for first, then the size needed.
    const std::vector<char> bytes(10000, 'x');
    const Grower growers[] = {
        {"array",
         [](_IZR_Allocator* allocator) {
             CZR_BasicArray array(1, allocator);
             return array.SetSize(16, 1) && array.SetSize(10000, 1);
         }},
        {"byte buffer",
         [](_IZR_Allocator* allocator) {
             CZR_BinaryBuf buffer(allocator);
             return buffer.EstimateSize(16, 16) && buffer.EstimateSize(10000, 10000);
         }},
        {"consecutive memory stream",
         [&](_IZR_Allocator* allocator) {
             IZR_MemoryStream* stream = ZR_CreateMemoryStream(true, allocator);
             stream->EstimateSize(0, 4096);
             bool written = stream->WriteBlock(bytes.data(), 16) && stream->WriteBlock(bytes.data(), 10000 - 16);
             stream->Release();
             return written;
         }},
        {"fresh block",
         [](_IZR_Allocator* allocator) {
             void* block = ZRMEM_AllocatorGrow(allocator, nullptr, 0, 10000);
             ZRMEM_AllocatorFree(allocator, block);
             return block != nullptr;
         }},
    };
    enum Backing
    {
        Pool,
        PoolOverAPool,
        Manager,
        DefaultManager,
    };
    const char* backingNames[] = {"pool", "pool over a pool", "manager", "default manager"};
    const struct
    {
        const char* name;
        size_t refuseAbove;
        bool grows;
        int reports;
    } shortages[] = {
        {"room for the size asked but not for twice it", 18000, true, 0},
        {"no room for the size asked", 9000, false, 1},
    };
    for (const auto& shortage : shortages) {
        for (Backing backing : {Pool, PoolOverAPool, Manager, DefaultManager}) {
            for (const Grower& grower : growers) {
                FailingManager failing(INT32_MAX);
                failing.refuseAbove(shortage.refuseAbove);
                failing.refuseReallocations();
                {
                    CZR_GrowOnlyPool pool(&failing.mgr()->allocator, 64);
                    CZR_GrowOnlyPool poolOverPool(&pool, 64);
                    _IZR_Allocator* allocators[] = {&pool, &poolOverPool, &failing.mgr()->allocator, nullptr};
                    EXPECT_EQ(grower.grow(allocators[backing]), shortage.grows)
                        << shortage.name << ", " << backingNames[backing] << ", " << grower.name;
                }
                EXPECT_EQ(failing.outOfMemoryReports(), shortage.reports)
                    << shortage.name << ", " << backingNames[backing] << ", " << grower.name;
                EXPECT_EQ(failing.liveBlocks(), 0) << backingNames[backing] << ", " << grower.name;
            }
        }
    }
}

TEST_F(MemoryMgrTest, PlexChainsBlocksAndRefusesOversizedCounts)
{
    CZR_Plex* head = nullptr;
    ASSERT_NE(CZR_Plex::Create(nullptr, head, 10, 8), nullptr);
    CZR_Plex* first = head;
    ASSERT_NE(CZR_Plex::Create(nullptr, head, 4, 4), nullptr);
    EXPECT_EQ(head->pNext, first);
    static_cast<char*>(first->data())[79] = 1;

    CZR_Plex* before = head;
    EXPECT_EQ(CZR_Plex::Create(nullptr, head, 0x10000, 0x10000), nullptr) << "the product does not wrap";
    EXPECT_EQ(CZR_Plex::Create(nullptr, head, 0x7FFFFFFF, 1), nullptr);
    EXPECT_EQ(head, before);
    head->FreeDataChain(nullptr);
}
