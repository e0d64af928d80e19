#include "../FailingManager.h"

#include "system/ZRAtom.h"
#include "system/ZRRWLock.h"
#include "system/ZRSpinLock.h"
#include "system/ZRThread.h"
#include "system/ZRTime.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <csignal>
#include <ctime>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kThreads = 4;
constexpr int kRounds = 20000;

class ThreadTest : public testing::Test
{
protected:
    void SetUp() override { ZR_Process_Initialize(); }
    void TearDown() override { ZR_Process_Finalize(); }

    template <class Work> static void runOnThreads(Work& work, void* (*body)(void*))
    {
        _ZR_HTHREAD threads[kThreads];
        for (_ZR_HTHREAD& thread : threads) {
            thread = ZR_Thread_Create(0, 0, body, &work);
            ASSERT_NE(thread, _ZR_HTHREAD(0));
        }
        EXPECT_EQ(ZR_Thread_WaitForMultipleThreads(threads, kThreads), 0);
    }

    // Runs `body` on one thread started at `level` and waits for it; the handle the thread had.
    static _ZR_HTHREAD runOnOneThread(int level, void* (*body)(void*), void* work)
    {
        _ZR_HTHREAD thread = ZR_Thread_Create(level, 0, body, work);
        EXPECT_NE(thread, _ZR_HTHREAD(0));
        if (thread) {
            EXPECT_EQ(ZR_Thread_WaitForSingleThread(thread), 0);
        }
        return thread;
    }
};

struct PerThreadWork
{
    std::atomic<int> released{0};
    std::atomic<int> failures{0};
    int key;
};

void releaseCount(void* data) { static_cast<std::atomic<int>*>(data)->fetch_add(1); }

void* perThreadBody(void* argument)
{
    auto* work = static_cast<PerThreadWork*>(argument);
    uint32_t mine = uint32_t(reinterpret_cast<uintptr_t>(&mine));
    bool ok = ZR_Thread_GetLastError() == 0 && ZR_Thread_GetPrivateData(&work->key) == nullptr;
    ZR_Thread_SetLastError(mine);
    ZR_Thread_SetPrivateData(&work->key, &work->released, releaseCount);
    for (int i = 0; i < 100; ++i)
        ZR_Thread_Yield();
    ok = ok && ZR_Thread_GetLastError() == mine && ZR_Thread_GetPrivateData(&work->key) == &work->released
        && ZR_Thread_GetExceptionContext() != nullptr;
    if (!ok)
        work->failures.fetch_add(1);
    return nullptr;
}

TEST_F(ThreadTest, EachThreadHasItsOwnLastErrorAndPrivateDataReleasedAtItsEnd)
{
    PerThreadWork work;
    ZR_Thread_SetLastError(77);
    runOnThreads(work, perThreadBody);
    EXPECT_EQ(work.failures.load(), 0);
    EXPECT_EQ(work.released.load(), kThreads);
    EXPECT_EQ(ZR_Thread_GetLastError(), 77u);
    EXPECT_EQ(ZR_Process_GetContext()->m_Threads.GetCount(), 1);
}

struct ExitWork
{
    std::atomic<int> released{0};
    int key;
};

void* setErrorAndExit(void* argument)
{
    auto* work = static_cast<ExitWork*>(argument);
    ZR_Thread_SetLastError(42);
    ZR_Thread_SetPrivateData(&work->key, &work->released, releaseCount);
    ZR_Thread_Exit();
}

struct PlainThreadView
{
    uint32_t lastError = 0;
    bool hasContext = false;
};

void* readWhatThePlainThreadSees(void* argument)
{
    auto* view = static_cast<PlainThreadView*>(argument);
    view->lastError = ZR_Thread_GetLastError();
    view->hasContext = ZR_Thread_GetContext() != nullptr;
    return nullptr;
}

TEST_F(ThreadTest, AThreadEndingThroughExitLeavesNoContextBehind)
{
    ExitWork work;
    _ZR_HTHREAD thread = runOnOneThread(0, setErrorAndExit, &work);
    ASSERT_NE(thread, _ZR_HTHREAD(0));
    EXPECT_EQ(ZR_Thread_GetContext(&thread), nullptr);
    EXPECT_EQ(work.released.load(), 1);
    EXPECT_EQ(ZR_Process_GetContext()->m_Threads.GetCount(), 1);

    // The next thread usually gets the joined thread's handle; one the library did not start has no
    // context of its own.
    PlainThreadView view;
    pthread_t plain;
    ASSERT_EQ(pthread_create(&plain, nullptr, readWhatThePlainThreadSees, &view), 0);
    ASSERT_EQ(pthread_join(plain, nullptr), 0);
    EXPECT_EQ(view.lastError, 0u);
    EXPECT_FALSE(view.hasContext);
}

std::atomic<int> g_ran;

void* markRan(void*)
{
    g_ran.fetch_add(1);
    return nullptr;
}

TEST(ThreadWithoutProcessTest, AThreadStartedBeforeInitialisationNeverRunsItsFunction)
{
    g_ran = 0;
    _ZR_HTHREAD thread = ZR_Thread_Create(0, 0, markRan, nullptr);
    ASSERT_NE(thread, _ZR_HTHREAD(0));
    EXPECT_EQ(ZR_Thread_WaitForSingleThread(thread), 0);
    EXPECT_EQ(g_ran.load(), 0);
    EXPECT_EQ(ZR_Thread_GetLastError(), 0u);
    EXPECT_EQ(ZR_Thread_GetExceptionContext(), nullptr);
    EXPECT_EQ(ZR_Thread_WaitForMultipleThreads(nullptr, 0), 0);
}

using SetPrivateData = bool (*)(void*, void*, void (*)(void*));

// Data that could not be kept must stay the caller's: neither lost unreleased nor released behind its back.
TEST(PrivateDataWrapperTest, DataThatCannotBeKeptIsRefusedAndLeftToTheCaller)
{
    for (SetPrivateData set : {SetPrivateData(ZR_Process_SetPrivateData), SetPrivateData(ZR_Thread_SetPrivateData)}) {
        std::atomic<int> released{0};
        int key;
        EXPECT_FALSE(set(&key, &released, releaseCount)) << "without a process context";
        {
            FailingManager failing(1000);
            ZR_Process_Initialize();
            failing.refuseAbove(0);
            EXPECT_FALSE(set(&key, &released, releaseCount)) << "when the key cannot be added";
            failing.refuseAbove(SIZE_MAX);
            EXPECT_EQ(ZR_Process_GetPrivateData(&key), nullptr);
            EXPECT_EQ(ZR_Thread_GetPrivateData(&key), nullptr);
            EXPECT_TRUE(set(&key, &released, releaseCount));
            ZR_Process_Finalize();
        }
        EXPECT_EQ(released.load(), 1);
    }
}

TEST(ThreadPriorityTest, LevelsMapThroughTheTable)
{
    const int table[][2] = {{-2, 1}, {-1, 25}, {0, 50}, {1, 75}, {2, 99}, {3, 50}, {-3, 50}};
    for (const auto& row : table) {
        EXPECT_EQ(ZRCRT_Thread_PriorityOfLevel(row[0]), row[1]) << row[0];
        if (row[0] >= -2 && row[0] <= 2) {
            EXPECT_EQ(ZRCRT_Thread_LevelOfPriority(row[1]), row[0]);
        }
    }
}

struct PriorityWork
{
    std::atomic<int> level{-100};
};

void* readOwnPriority(void* argument)
{
    static_cast<PriorityWork*>(argument)->level = ZR_Thread_GetPriority(ZR_Thread_GetHandle());
    return nullptr;
}

TEST_F(ThreadTest, AThreadAnswersTheLevelItWasGiven)
{
    PriorityWork work;
    runOnOneThread(2, readOwnPriority, &work);
    EXPECT_EQ(work.level.load(), 2);

    _ZR_HTHREAD self = ZR_Thread_GetHandle();
    ZR_Thread_SetPriority(self, 3);
    EXPECT_EQ(ZR_Thread_GetContext()->m_nSchedPriority, 50);
    ZR_Thread_SetPriority(self, -1);
    EXPECT_EQ(ZR_Thread_GetPriority(self), -1);
}

// Other threads set and read the priority of a thread while it ends through ZR_Thread_Exit, which
// destroys its context on the way out; a caller that kept the context past the lookup would touch
// freed memory. The ending has to fall inside a caller's call to be seen, which takes a caller
// descheduled there: so more callers than processors, and several rounds.
struct PriorityRace
{
    int callers = int(std::thread::hardware_concurrency()) + 2;
    _ZR_HTHREAD target = 0;
    std::atomic<bool> targetRunning{false};
    std::atomic<int> callersStarted{0};
    std::atomic<int> levelsOutOfRange{0};
};

void* exitOnceTheCallersRun(void* argument)
{
    auto* race = static_cast<PriorityRace*>(argument);
    race->targetRunning = true;
    while (race->callersStarted.load() < race->callers)
        ZR_Thread_Yield();
    ZR_Thread_Exit();
}

void* setAndReadTheTargetsPriority(void* argument)
{
    auto* race = static_cast<PriorityRace*>(argument);
    race->callersStarted.fetch_add(1);
    for (int i = 0; ZR_Thread_GetContext(&race->target); ++i) {
        ZR_Thread_SetPriority(race->target, i % 5 - 2);
        const int level = ZR_Thread_GetPriority(race->target);
        if (level < -2 || level > 2)
            race->levelsOutOfRange.fetch_add(1);
    }
    return nullptr;
}

TEST_F(ThreadTest, PriorityCallsRacingAThreadThatExitsNeverTouchItsDestroyedContext)
{
    for (int round = 0; round < 50; ++round) {
        PriorityRace race;
        race.target = ZR_Thread_Create(0, 0, exitOnceTheCallersRun, &race);
        ASSERT_NE(race.target, _ZR_HTHREAD(0));
        while (!race.targetRunning.load())
            ZR_Thread_Yield();
        std::vector<_ZR_HTHREAD> callers(race.callers);
        for (_ZR_HTHREAD& caller : callers) {
            caller = ZR_Thread_Create(0, 0, setAndReadTheTargetsPriority, &race);
            ASSERT_NE(caller, _ZR_HTHREAD(0));
        }
        EXPECT_EQ(ZR_Thread_WaitForMultipleThreads(callers.data(), race.callers), 0);
        EXPECT_EQ(ZR_Thread_WaitForSingleThread(race.target), 0);
        EXPECT_EQ(race.levelsOutOfRange.load(), 0);
    }
    EXPECT_EQ(ZR_Process_GetContext()->m_Threads.GetCount(), 1);
}

struct SpinWork
{
    int32_t lock = 0;
    long counter = 0;
};

void* spinBody(void* argument)
{
    auto* work = static_cast<SpinWork*>(argument);
    for (int i = 0; i < kRounds; ++i) {
        ZR_SpinLock_Lock(&work->lock);
        ++work->counter;
        ZR_SpinLock_Unlock(&work->lock);
    }
    return nullptr;
}

TEST_F(ThreadTest, TheSpinLockKeepsACounterExactUnderContention)
{
    SpinWork work;
    ASSERT_TRUE(ZR_SpinLock_Initialize(&work.lock));
    runOnThreads(work, spinBody);
    EXPECT_EQ(work.counter, long(kThreads) * kRounds);

    EXPECT_TRUE(ZR_SpinLock_TryLock(&work.lock));
    EXPECT_TRUE(ZR_SpinLock_IsLocked(&work.lock));
    EXPECT_FALSE(ZR_SpinLock_TryLock(&work.lock));
    ZR_SpinLock_Unlock(&work.lock);
    EXPECT_FALSE(ZR_SpinLock_IsLocked(&work.lock));
    EXPECT_FALSE(ZR_SpinLock_TryLock(nullptr));
    EXPECT_FALSE(ZR_SpinLock_Initialize(nullptr));
}

struct RWWork
{
    pthread_rwlock_t lock;
    long first = 0;
    long second = 0;
    std::atomic<int> torn{0};
};

void* rwBody(void* argument)
{
    auto* work = static_cast<RWWork*>(argument);
    for (int i = 0; i < kRounds; ++i) {
        if (i % 4 == 0) {
            ZR_RWLock_WriteLock(&work->lock);
            ++work->first;
            ++work->second;
            ZR_RWLock_WriteUnlock(&work->lock);
        } else {
            ZR_RWLock_ReadLock(&work->lock);
            if (work->first != work->second)
                work->torn.fetch_add(1);
            ZR_RWLock_ReadUnlock(&work->lock);
        }
    }
    return nullptr;
}

TEST_F(ThreadTest, TheReadWriteLockNeverShowsAHalfWrite)
{
    RWWork work;
    ASSERT_TRUE(ZR_RWLock_Initialize(&work.lock));
    runOnThreads(work, rwBody);
    EXPECT_EQ(work.torn.load(), 0);
    EXPECT_EQ(work.first, long(kThreads) * kRounds / 4);

    EXPECT_TRUE(ZR_RWLock_TryReadLock(&work.lock));
    EXPECT_TRUE(ZR_RWLock_TryReadLock(&work.lock));
    EXPECT_FALSE(ZR_RWLock_TryWriteLock(&work.lock));
    ZR_RWLock_ReadUnlock(&work.lock);
    ZR_RWLock_ReadUnlock(&work.lock);
    EXPECT_TRUE(ZR_RWLock_TryWriteLock(&work.lock));
    ZR_RWLock_WriteUnlock(&work.lock);
    ZR_RWLock_Destroy(&work.lock);
    EXPECT_FALSE(ZR_RWLock_TryWriteLock(nullptr));
}

struct AtomWork
{
    int32_t small = 0;
    int64_t large = 0;
};

void* atomBody(void* argument)
{
    auto* work = static_cast<AtomWork*>(argument);
    for (int i = 0; i < kRounds; ++i) {
        ZR_Atom_Add32(&work->small, 3);
        ZR_Atom_Subtract32(&work->small, 1);
        ZR_Atom_Add64(&work->large, int64_t(1) << 33);
        ZR_Atom_Subtract64(&work->large, 1);
    }
    return nullptr;
}

TEST_F(ThreadTest, AtomicsAnswerTheNewValueAndLoseNothingUnderContention)
{
    AtomWork work;
    runOnThreads(work, atomBody);
    EXPECT_EQ(work.small, 2 * kThreads * kRounds);
    EXPECT_EQ(work.large, int64_t(kThreads) * kRounds * ((int64_t(1) << 33) - 1));
    int32_t value = 5;
    EXPECT_EQ(ZR_Atom_Add32(&value, 2), 7);
    EXPECT_EQ(ZR_Atom_Subtract32(&value, 10), -3);
    int32_t lowest = INT32_MIN + 1;
    EXPECT_EQ(ZR_Atom_Subtract32(&lowest, 1), INT32_MIN);
}

TEST(TimeTest, SystemTimeIsUtcAndTheZoneRecordSplitsTheOffset)
{
    ZR_SYSTEMTIME now{};
    time_t before = time(nullptr);
    ZR_Time_GetSystemTime(&now);
    struct tm parts{};
    gmtime_r(&before, &parts);
    EXPECT_EQ(now.wYear, parts.tm_year + 1900);
    EXPECT_EQ(now.wMonth, parts.tm_mon + 1);
    EXPECT_EQ(now.wDayOfWeek, parts.tm_wday);
    EXPECT_LT(now.wMilliseconds, 1000);
    ZR_Time_GetSystemTime(nullptr);

    setenv("TZ", "XYZ+05:30", 1);
    ZRCRT_SYSTEMTIME local{};
    EXPECT_EQ(ZRCRT_GetCurrentSystemTime(&local), 30);
    EXPECT_EQ(local.nZoneHours, 5);
    EXPECT_EQ(local.wZoneMinutes, 30);
    setenv("TZ", "ABC-09:45", 1);
    EXPECT_EQ(ZRCRT_GetCurrentSystemTime(&local), 45);
    EXPECT_EQ(local.nZoneHours, -9);
    setenv("TZ", "UTC", 1);
    tzset();
}

void onAlarm(int) {}

TEST(TimeTest, SleepLastsItsSpanThroughSignals)
{
    struct sigaction action{};
    action.sa_handler = onAlarm;
    struct sigaction previous{};
    sigaction(SIGALRM, &action, &previous);
    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    ualarm(5000, 0);
    EXPECT_EQ(ZR_Time_Sleep(30), 0);
    timespec end{};
    clock_gettime(CLOCK_MONOTONIC, &end);
    sigaction(SIGALRM, &previous, nullptr);
    int64_t elapsedMs = (end.tv_sec - start.tv_sec) * 1000 + (end.tv_nsec - start.tv_nsec) / 1000000;
    EXPECT_GE(elapsedMs, 30);
}

} // namespace
