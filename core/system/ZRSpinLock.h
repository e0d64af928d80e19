#pragma once

#include <cstdint>

// Spin locks on a 32-bit word, 0 when free. A waiter spins a little, then yields its processor
// between tries so that a holder that lost its processor gets to finish.
bool ZRCRT_SpinLock_Initialize(int32_t* lock);
void ZRCRT_SpinLock_Destroy(int32_t* lock);
bool ZRCRT_SpinLock_TryLock(int32_t* lock);
void ZRCRT_SpinLock_Lock(int32_t* lock);
void ZRCRT_SpinLock_Unlock(int32_t* lock);
bool ZRCRT_SpinLock_IsLocked(int32_t* lock);

// The same with a null lock doing nothing (false where an answer is given). Initialising expects
// the word to be 0 already.
bool ZR_SpinLock_Initialize(int32_t* lock);
void ZR_SpinLock_Destroy(int32_t* lock);
bool ZR_SpinLock_TryLock(int32_t* lock);
void ZR_SpinLock_Lock(int32_t* lock);
void ZR_SpinLock_Unlock(int32_t* lock);
bool ZR_SpinLock_IsLocked(int32_t* lock);
