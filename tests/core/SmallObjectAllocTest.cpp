#include "memory/CZRMEM_PyMgr.h"
#include "memory/ZR_PyObjectAlloc.h"
#include "system/ZRMutex.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

namespace {

int g_largeAllocs = 0;

// A private state whose large blocks come from malloc and are counted.
class SmallObjectState : public testing::Test
{
protected:
    SmallObjectState()
    {
        memset(&state, 0, sizeof(state));
        g_largeAllocs = 0;
        state.allocLarge = [](size_t size) {
            ++g_largeAllocs;
            return malloc(size ? size : 1);
        };
        state.freeLarge = [](void* block) {
            free(block);
            return 1;
        };
        state.reallocLarge = [](void* block, size_t size) { return realloc(block, size); };
    }
    ~SmallObjectState() override
    {
        if (state.mode == ZR_PYALLOC_ACTIVE)
            _PyObject_Discard(&state);
        EXPECT_EQ(state.mode, ZR_PYALLOC_DISCARDED) << "a test left blocks behind";
    }

    ZR_PyAllocState state;
};

size_t classOf(void* block)
{
    auto* pool = reinterpret_cast<ZR_PoolHeader*>(reinterpret_cast<uintptr_t>(block) & ~uintptr_t(4095));
    return pool->sizeIndex;
}

} // namespace

TEST_F(SmallObjectState, SizeClassesAndTheSmallLimit)
{
    struct Case
    {
        size_t size;
        bool small;
        uint32_t sizeClass;
    };
    const Case cases[] = {{0, false, 0}, {1, true, 0}, {16, true, 0}, {17, true, 1}, {1024, true, 63}, {1025, false, 0}};
    for (const Case& c : cases) {
        int before = g_largeAllocs;
        void* block = _PyObject_Malloc(&state, c.size);
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(g_largeAllocs == before, c.small) << c.size;
        if (c.small) {
            EXPECT_EQ(classOf(block), c.sizeClass) << c.size;
            memset(block, 0xAB, c.size);
        }
        EXPECT_EQ(_PyObject_Free(&state, block), 1);
    }
    EXPECT_EQ(_PyObject_Free(&state, nullptr), 0);
}

TEST_F(SmallObjectState, ReallocationKeepsSmallShrinksAndMovesLargerOnes)
{
    auto* block = static_cast<char*>(_PyObject_Malloc(&state, 64));
    memcpy(block, "0123456789", 10);
    EXPECT_EQ(_PyObject_Realloc(&state, block, 50), block) << "4 x 50 > 3 x 64";
    auto* moved = static_cast<char*>(_PyObject_Realloc(&state, block, 40));
    ASSERT_NE(moved, block);
    EXPECT_EQ(classOf(moved), 2u) << "a 48-byte block";
    EXPECT_EQ(memcmp(moved, "0123456789", 10), 0);

    int before = g_largeAllocs;
    auto* large = static_cast<char*>(_PyObject_Realloc(&state, moved, 5000));
    EXPECT_EQ(g_largeAllocs, before + 1);
    EXPECT_EQ(memcmp(large, "0123456789", 10), 0);
    large = static_cast<char*>(_PyObject_Realloc(&state, large, 6000));
    _PyObject_Free(&state, large);
    void* fresh = _PyObject_Realloc(&state, nullptr, 8);
    _PyObject_Free(&state, fresh);
}

TEST_F(SmallObjectState, EmptyArenasAreReleasedExceptTheLastUsableOne)
{
    // Enough 1 KiB blocks to fill more than two arenas.
    std::vector<void*> blocks;
    for (int i = 0; i < 3 * 64 * 3; ++i)
        blocks.push_back(_PyObject_Malloc(&state, 1000));
    EXPECT_GE(state.arenasAllocated, 3u);
    for (void* block : blocks)
        _PyObject_Free(&state, block);
    EXPECT_EQ(state.arenasAllocated, 1u);
    EXPECT_EQ(g_largeAllocs, 0);

    void* again = _PyObject_Malloc(&state, 1000);
    EXPECT_EQ(state.arenasAllocated, 1u);
    _PyObject_Free(&state, again);
}

TEST_F(SmallObjectState, DiscardingRoutesNewBlocksToTheCallbacks)
{
    void* early = _PyObject_Malloc(&state, 32);
    _PyObject_Discard(&state);
    EXPECT_EQ(state.mode, ZR_PYALLOC_DISCARDING) << "a block is still out";

    void* late = _PyObject_Malloc(&state, 8);
    EXPECT_EQ(g_largeAllocs, 1);
    void* grown = _PyObject_Realloc(&state, early, 16);
    EXPECT_EQ(g_largeAllocs, 2) << "no small block is handed out while discarding";
    _PyObject_Free(&state, late);
    _PyObject_Free(&state, grown);

    _PyObject_TryPurge(&state);
    EXPECT_EQ(state.mode, ZR_PYALLOC_DISCARDED);
    EXPECT_EQ(state.arenas, nullptr);
    void* afterwards = _PyObject_Malloc(&state, 8);
    _PyObject_Free(&state, afterwards);
}

TEST_F(SmallObjectState, RandomAllocationPatternKeepsContentsIntact)
{
    std::mt19937 random(12345);
    std::vector<std::pair<unsigned char*, size_t>> live;
    for (int step = 0; step < 20000; ++step) {
        if (live.empty() || random() % 3 != 0) {
            size_t size = 1 + random() % 1200;
            auto* block = static_cast<unsigned char*>(_PyObject_Malloc(&state, size));
            memset(block, static_cast<int>(size & 0xFF), size);
            live.emplace_back(block, size);
        } else {
            size_t index = random() % live.size();
            auto [block, size] = live[index];
            for (size_t i = 0; i < size; ++i)
                ASSERT_EQ(block[i], size & 0xFF);
            _PyObject_Free(&state, block);
            live[index] = live.back();
            live.pop_back();
        }
    }
    for (auto& [block, size] : live)
        _PyObject_Free(&state, block);
}

TEST(PyMgrTest, OneProcessWideManagerServesManyThreads)
{
    CZR_MemoryMgr* mgr = ZRMEM_CreatePyMgr();
    ASSERT_NE(mgr, nullptr);
    EXPECT_EQ(ZRMEM_CreatePyMgr(), mgr);
    EXPECT_EQ(mgr->type, CZR_MemoryMgr::TypePy);
    EXPECT_EQ(ZRMEM_SetPyConfig(), 0);

    auto worker = [mgr](unsigned seed) {
        std::mt19937 random(seed);
        std::vector<std::pair<unsigned char*, size_t>> live;
        for (int step = 0; step < 5000; ++step) {
            if (live.size() < 200 && random() % 4 != 0) {
                size_t size = 1 + random() % 2000;
                auto* block = static_cast<unsigned char*>(mgr->Alloc(size, 0));
                memset(block, static_cast<int>(seed), size);
                live.emplace_back(block, size);
            } else if (!live.empty()) {
                size_t index = random() % live.size();
                auto [block, size] = live[index];
                if (block[0] != static_cast<unsigned char>(seed) || block[size - 1] != static_cast<unsigned char>(seed))
                    ADD_FAILURE() << "block overwritten";
                size_t newSize = 1 + random() % 600;
                block = static_cast<unsigned char*>(mgr->Realloc(block, newSize, 0));
                mgr->Free(block, 0);
                live[index] = live.back();
                live.pop_back();
            }
        }
        for (auto& entry : live)
            mgr->Free(entry.first, 0);
    };
    std::vector<std::thread> threads;
    for (unsigned i = 1; i <= 4; ++i)
        threads.emplace_back(worker, i);
    for (auto& thread : threads)
        thread.join();
}

TEST(MutexTest, IsRecursiveAndNullSafe)
{
    pthread_mutex_t mutex;
    ASSERT_TRUE(ZR_Mutex_Initialize(&mutex));
    ZR_Mutex_Lock(&mutex);
    EXPECT_TRUE(ZR_Mutex_TryLock(&mutex));
    bool otherThreadGotIt = true;
    std::thread([&] { otherThreadGotIt = ZR_Mutex_TryLock(&mutex); }).join();
    EXPECT_FALSE(otherThreadGotIt);
    ZR_Mutex_Unlock(&mutex);
    ZR_Mutex_Unlock(&mutex);
    ZR_Mutex_Destroy(&mutex);

    EXPECT_FALSE(ZR_Mutex_Initialize(nullptr));
    EXPECT_FALSE(ZR_Mutex_TryLock(nullptr));
    ZR_Mutex_Lock(nullptr);
    ZR_Mutex_Unlock(nullptr);
    ZR_Mutex_Destroy(nullptr);
}

// A large request leaves the Py manager's lock held while the static manager serves it; an
// observer there that allocates from the Py manager again must get in rather than deadlock.
TEST(PyMgrTest, ObserverOfLargeBlocksMayReenterTheManager)
{
    static CZR_MemoryMgr* pyMgr = ZRMEM_CreatePyMgr();
    static bool inside = false;
    static int reentries = 0;
    _ZRMEM_Debugger observer{};
    observer.OnAlloc = [](CZR_MemoryMgr*, void*, size_t, int) {
        if (inside)
            return;
        inside = true;
        void* nested = pyMgr->Alloc(8, 0);
        EXPECT_NE(nested, nullptr);
        pyMgr->Free(nested, 0);
        ++reentries;
        inside = false;
    };
    ZRMEM_UseDebugger(ZRMEM_GetStaticMgr(), &observer);
    void* large = pyMgr->Alloc(4000, 0);
    ZRMEM_UseDebugger(ZRMEM_GetStaticMgr(), nullptr);
    ASSERT_NE(large, nullptr);
    EXPECT_GE(reentries, 1);
    pyMgr->Free(large, 0);
}

TEST(PyMgrTest, DestroyingDiscardsButKeepsServingRequests)
{
    CZR_MemoryMgr* mgr = ZRMEM_CreatePyMgr();
    void* early = mgr->Alloc(24, 0);
    ZRMEM_DestroyKelvrinMgr(mgr);
    void* late = mgr->Alloc(24, 0);
    ASSERT_NE(late, nullptr);
    memset(late, 1, 24);
    mgr->Free(early, 0);
    mgr->Free(late, 0);
    EXPECT_EQ(ZRMEM_CreatePyMgr(), mgr);
}
