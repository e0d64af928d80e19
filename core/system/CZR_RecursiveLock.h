#pragma once

#include <atomic>
#include <cstdint>

// A recursive lock for paths taken on every allocation, where the lock is held for a few dozen
// instructions. Uncontended, locking costs one atomic exchange and unlocking a plain store, both
// inline; a thread that finds the lock held spins briefly, then yields its processor between tries
// so that a holder that lost its processor gets to finish.
class CZR_RecursiveLock
{
public:
    CZR_RecursiveLock() = default;
    CZR_RecursiveLock(const CZR_RecursiveLock&) = delete;
    CZR_RecursiveLock& operator=(const CZR_RecursiveLock&) = delete;

    void Lock()
    {
        uintptr_t self = currentThread();
        // Only this thread ever stores its own token, so seeing it means this thread holds the lock.
        if (m_owner.load(std::memory_order_relaxed) == self) {
            ++m_depth;
            return;
        }
        if (!TryAcquire())
            WaitAndAcquire();
        m_owner.store(self, std::memory_order_relaxed);
        m_depth = 1;
    }

    void Unlock()
    {
        if (--m_depth)
            return;
        m_owner.store(0, std::memory_order_relaxed);
        m_held.store(false, std::memory_order_release);
    }

private:
    // The address of a thread-local object: distinct for every live thread and never 0.
    static uintptr_t currentThread()
    {
        static thread_local char token;
        return reinterpret_cast<uintptr_t>(&token);
    }

    bool TryAcquire()
    {
        bool expected = false;
        return m_held.compare_exchange_strong(expected, true, std::memory_order_acquire, std::memory_order_relaxed);
    }

    void WaitAndAcquire();

    std::atomic<bool> m_held{false};
    std::atomic<uintptr_t> m_owner{0};
    uint32_t m_depth = 0;
};

// Holds a recursive lock for the lifetime of a scope.
class CZR_RecursiveLocker
{
public:
    explicit CZR_RecursiveLocker(CZR_RecursiveLock& lock) : m_lock(lock) { m_lock.Lock(); }
    ~CZR_RecursiveLocker() { m_lock.Unlock(); }
    CZR_RecursiveLocker(const CZR_RecursiveLocker&) = delete;
    CZR_RecursiveLocker& operator=(const CZR_RecursiveLocker&) = delete;

private:
    CZR_RecursiveLock& m_lock;
};
