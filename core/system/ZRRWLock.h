#pragma once

#include <pthread.h>

// Read-write locks over the system's; every function does nothing (false where an answer is given)
// for a null lock.
bool ZR_RWLock_Initialize(pthread_rwlock_t* lock);
void ZR_RWLock_Destroy(pthread_rwlock_t* lock);
void ZR_RWLock_ReadLock(pthread_rwlock_t* lock);
void ZR_RWLock_ReadUnlock(pthread_rwlock_t* lock);
void ZR_RWLock_WriteLock(pthread_rwlock_t* lock);
void ZR_RWLock_WriteUnlock(pthread_rwlock_t* lock);
bool ZR_RWLock_TryReadLock(pthread_rwlock_t* lock);
bool ZR_RWLock_TryWriteLock(pthread_rwlock_t* lock);
