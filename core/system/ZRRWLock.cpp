#include "system/ZRRWLock.h"

bool ZR_RWLock_Initialize(pthread_rwlock_t* lock) { return lock && pthread_rwlock_init(lock, nullptr) == 0; }

void ZR_RWLock_Destroy(pthread_rwlock_t* lock)
{
    if (lock)
        pthread_rwlock_destroy(lock);
}

void ZR_RWLock_ReadLock(pthread_rwlock_t* lock)
{
    if (lock)
        pthread_rwlock_rdlock(lock);
}

void ZR_RWLock_ReadUnlock(pthread_rwlock_t* lock)
{
    if (lock)
        pthread_rwlock_unlock(lock);
}

void ZR_RWLock_WriteLock(pthread_rwlock_t* lock)
{
    if (lock)
        pthread_rwlock_wrlock(lock);
}

void ZR_RWLock_WriteUnlock(pthread_rwlock_t* lock)
{
    if (lock)
        pthread_rwlock_unlock(lock);
}

bool ZR_RWLock_TryReadLock(pthread_rwlock_t* lock) { return lock && pthread_rwlock_tryrdlock(lock) == 0; }

bool ZR_RWLock_TryWriteLock(pthread_rwlock_t* lock) { return lock && pthread_rwlock_trywrlock(lock) == 0; }
