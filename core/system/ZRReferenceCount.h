#pragma once

#include "system/ZRMutex.h"

#include <cstdint>

// Reference counts of objects that lock themselves with their own mutex.
inline void ZR_AddReference(pthread_mutex_t* mutex, uint32_t& count)
{
    CZR_MutexLocker lock(mutex);
    ++count;
}

// True when the reference dropped was the last: the caller then destroys the object, outside the lock.
inline bool ZR_DropReference(pthread_mutex_t* mutex, uint32_t& count)
{
    CZR_MutexLocker lock(mutex);
    return count-- == 1;
}
