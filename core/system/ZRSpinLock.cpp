#include "system/ZRSpinLock.h"

#include <sched.h>

namespace {

constexpr int kSpinsBeforeYield = 64;

} // namespace

bool ZRCRT_SpinLock_Initialize(int32_t*) { return true; }

void ZRCRT_SpinLock_Destroy(int32_t*) {}

bool ZRCRT_SpinLock_TryLock(int32_t* lock)
{
    int32_t expected = 0;
    return __atomic_compare_exchange_n(lock, &expected, 1, false, __ATOMIC_ACQUIRE, __ATOMIC_RELAXED);
}

void ZRCRT_SpinLock_Lock(int32_t* lock)
{
    for (int spins = 0; !ZRCRT_SpinLock_TryLock(lock); ++spins) {
        // Waiting reads the word only, so the cache line is not pulled back and forth by failed swaps.
        while (__atomic_load_n(lock, __ATOMIC_RELAXED) != 0) {
            if (++spins >= kSpinsBeforeYield) {
                sched_yield();
                spins = 0;
            }
        }
    }
}

void ZRCRT_SpinLock_Unlock(int32_t* lock) { __atomic_store_n(lock, 0, __ATOMIC_RELEASE); }

bool ZRCRT_SpinLock_IsLocked(int32_t* lock) { return __atomic_load_n(lock, __ATOMIC_RELAXED) != 0; }

bool ZR_SpinLock_Initialize(int32_t* lock) { return lock && ZRCRT_SpinLock_Initialize(lock); }

void ZR_SpinLock_Destroy(int32_t* lock)
{
    if (lock)
        ZRCRT_SpinLock_Destroy(lock);
}

bool ZR_SpinLock_TryLock(int32_t* lock) { return lock && ZRCRT_SpinLock_TryLock(lock); }

void ZR_SpinLock_Lock(int32_t* lock)
{
    if (lock)
        ZRCRT_SpinLock_Lock(lock);
}

void ZR_SpinLock_Unlock(int32_t* lock)
{
    if (lock)
        ZRCRT_SpinLock_Unlock(lock);
}

bool ZR_SpinLock_IsLocked(int32_t* lock) { return lock && ZRCRT_SpinLock_IsLocked(lock); }
