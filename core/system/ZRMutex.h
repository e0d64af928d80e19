#pragma once

#include <pthread.h>

// Recursive mutexes: the library's shared objects lock themselves and may re-enter through one
// operation calling another of the same object.
bool ZRCRT_Mutex_Initialize(pthread_mutex_t* mutex);
void ZRCRT_Mutex_Destroy(pthread_mutex_t* mutex);
bool ZRCRT_Mutex_TryLock(pthread_mutex_t* mutex);
void ZRCRT_Mutex_Lock(pthread_mutex_t* mutex);
void ZRCRT_Mutex_Unlock(pthread_mutex_t* mutex);

// The same with a null mutex doing nothing (false where an answer is given).
bool ZR_Mutex_Initialize(pthread_mutex_t* mutex);
void ZR_Mutex_Destroy(pthread_mutex_t* mutex);
bool ZR_Mutex_TryLock(pthread_mutex_t* mutex);
void ZR_Mutex_Lock(pthread_mutex_t* mutex);
void ZR_Mutex_Unlock(pthread_mutex_t* mutex);

// Holds a mutex for the lifetime of a scope.
class CZR_MutexLocker
{
public:
    explicit CZR_MutexLocker(pthread_mutex_t* mutex) : m_mutex(mutex) { ZR_Mutex_Lock(m_mutex); }
    ~CZR_MutexLocker() { ZR_Mutex_Unlock(m_mutex); }
    CZR_MutexLocker(const CZR_MutexLocker&) = delete;
    CZR_MutexLocker& operator=(const CZR_MutexLocker&) = delete;

private:
    pthread_mutex_t* m_mutex;
};
