#include "system/CZR_RecursiveLock.h"

#include <sched.h>

namespace {

// About a microsecond: longer than the lock is held for one allocation, far shorter than a time slice.
constexpr int kSpinRounds = 100;

void cpuRelax()
{
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

} // namespace

void CZR_RecursiveLock::WaitAndAcquire()
{
    for (int round = 0;; ++round) {
        // Reading first keeps the waiters from stealing the cache line from the holder.
        if (!m_held.load(std::memory_order_relaxed) && TryAcquire())
            return;
        if (round < kSpinRounds)
            cpuRelax();
        else
            sched_yield();
    }
}
