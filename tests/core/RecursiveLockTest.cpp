#include "system/CZR_RecursiveLock.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

// Every increment happens under the lock taken twice by the same thread: a lost update shows a
// failure of exclusion, a hang a failure of re-entry or of handing the lock on.
TEST(RecursiveLockTest, NestedHoldsExcludeOtherThreads)
{
    CZR_RecursiveLock lock;
    long counter = 0;
    constexpr int kThreads = 4;
    constexpr int kRounds = 20000;
    auto worker = [&] {
        for (int round = 0; round < kRounds; ++round) {
            CZR_RecursiveLocker outer(lock);
            CZR_RecursiveLocker inner(lock);
            long seen = counter;
            counter = seen + 1;
        }
    };
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i)
        threads.emplace_back(worker);
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(counter, long(kThreads) * kRounds);
}
