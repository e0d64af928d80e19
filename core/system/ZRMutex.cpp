#include "system/ZRMutex.h"

bool ZRCRT_Mutex_Initialize(pthread_mutex_t* mutex)
{
    pthread_mutexattr_t attributes;
    if (pthread_mutexattr_init(&attributes) != 0)
        return false;
    bool ok = pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE) == 0
        && pthread_mutex_init(mutex, &attributes) == 0;
    pthread_mutexattr_destroy(&attributes);
    return ok;
}

void ZRCRT_Mutex_Destroy(pthread_mutex_t* mutex) { pthread_mutex_destroy(mutex); }
bool ZRCRT_Mutex_TryLock(pthread_mutex_t* mutex) { return pthread_mutex_trylock(mutex) == 0; }
void ZRCRT_Mutex_Lock(pthread_mutex_t* mutex) { pthread_mutex_lock(mutex); }
void ZRCRT_Mutex_Unlock(pthread_mutex_t* mutex) { pthread_mutex_unlock(mutex); }

bool ZR_Mutex_Initialize(pthread_mutex_t* mutex) { return mutex && ZRCRT_Mutex_Initialize(mutex); }

void ZR_Mutex_Destroy(pthread_mutex_t* mutex)
{
    if (mutex)
        ZRCRT_Mutex_Destroy(mutex);
}

bool ZR_Mutex_TryLock(pthread_mutex_t* mutex) { return mutex && ZRCRT_Mutex_TryLock(mutex); }

void ZR_Mutex_Lock(pthread_mutex_t* mutex)
{
    if (mutex)
        ZRCRT_Mutex_Lock(mutex);
}

void ZR_Mutex_Unlock(pthread_mutex_t* mutex)
{
    if (mutex)
        ZRCRT_Mutex_Unlock(mutex);
}
