#pragma once

#include "containers/CZR_MapPtrToPtr.h"
#include "containers/CZR_PrivateData.h"
#include "memory/CZR_Object.h"
#include "system/ZRException.h"

#include <cstddef>
#include <cstdint>
#include <pthread.h>
#include <sys/types.h>

typedef pthread_t _ZR_HTHREAD;

// What the library keeps for one thread.
class CZR_ThreadContext : public CZR_Object
{
public:
    bool Initialize() { return m_ExceptionContext.Initialize(); }
    ~CZR_ThreadContext();

    CZR_PrivateData m_PrivateData;
    CZR_ExceptionContext m_ExceptionContext;
    uint32_t m_nLastError = 0;
    // The scheduling priority the thread was given through the level table. Threads run under the
    // normal time-sharing policy, which has no priorities of its own, so the level lives here.
    int m_nSchedPriority = 50;
};

// What the library keeps for the process: one per default memory manager, which points to it.
class CZR_ProcessContext : public CZR_Object
{
public:
    CZR_ProcessContext();
    ~CZR_ProcessContext();
    CZR_ProcessContext(const CZR_ProcessContext&) = delete;
    CZR_ProcessContext& operator=(const CZR_ProcessContext&) = delete;

    // Each holds the process mutex. Removing a context destroys it.
    CZR_ThreadContext* GetThreadContext(_ZR_HTHREAD thread);
    bool SetThreadContext(_ZR_HTHREAD thread, CZR_ThreadContext* context);
    void RemoveThreadContext(_ZR_HTHREAD thread);
    void RemoveAllThreadContexts();

    CZR_PrivateData m_PrivateData;
    pthread_mutex_t m_Mutex;
    CZR_MapPtrToPtr m_Threads;
    void* m_pThreadHandler = nullptr;
};

// Thread priority levels -2 to 2 and the scheduling priorities {1, 25, 50, 75, 99} they stand for;
// any other level stands for 50.
int ZRCRT_Thread_PriorityOfLevel(int level);
int ZRCRT_Thread_LevelOfPriority(int priority);

pid_t ZRCRT_GetProcessID();
_ZR_HTHREAD ZRCRT_GetThreadHandle();
// Starts `function(param)` on a new thread with a context of its own; the stack size is not used.
// The handle, or 0 when the thread cannot be started. A thread started before ZR_Process_Initialize
// ends without running its function.
_ZR_HTHREAD ZRCRT_Thread_Create(int priority, size_t stackSize, void* (*function)(void*), void* param);
[[noreturn]] void ZRCRT_ExitThread();
void ZRCRT_Thread_Yield();
int ZRCRT_Thread_WaitForSingleThread(_ZR_HTHREAD thread);
int ZRCRT_Thread_WaitForMultipleThreads(const _ZR_HTHREAD* threads, int count);
// The level a thread was given, from its context (0 for a thread without one).
int ZRCRT_Thread_GetPriority(_ZR_HTHREAD thread);
// Records the level's scheduling priority in the thread's context; false without one.
bool ZRCRT_Thread_SetPriority(_ZR_HTHREAD thread, int level);

void ZR_Process_Initialize();
void ZR_Process_Finalize();
CZR_ProcessContext* ZR_Process_GetContext();
pid_t ZR_Process_GetID();
CZR_PrivateData* ZR_Process_GetPrivateData();
void* ZR_Process_GetPrivateData(void* key);
// False, with the data left to the caller to release, without a context or when the key cannot be added.
bool ZR_Process_SetPrivateData(void* key, void* data, void (*callback)(void*));
void ZR_Process_RemovePrivateData(void* key);

CZR_ThreadContext* ZR_Thread_GetContext();
// Another thread's context is destroyed when that thread ends: use it only while the thread cannot end.
CZR_ThreadContext* ZR_Thread_GetContext(_ZR_HTHREAD* thread);
CZR_PrivateData* ZR_Thread_GetPrivateData();
void* ZR_Thread_GetPrivateData(void* key);
// As for the process, on the calling thread's private data.
bool ZR_Thread_SetPrivateData(void* key, void* data, void (*callback)(void*));
void ZR_Thread_RemovePrivateData(void* key);
uint32_t ZR_Thread_GetLastError();
void ZR_Thread_SetLastError(uint32_t error);
CZR_ExceptionContext* ZR_Thread_GetExceptionContext();
void* ZR_Thread_GetHandler();
void ZR_Thread_SetHandler(void* handler);
_ZR_HTHREAD ZR_Thread_Create(int priority, size_t stackSize, void* (*function)(void*), void* param);
// Ends the calling thread; one started through ZR_Thread_Create leaves no context behind.
[[noreturn]] void ZR_Thread_Exit();
void ZR_Thread_Yield();
int ZR_Thread_GetPriority(_ZR_HTHREAD thread);
void ZR_Thread_SetPriority(_ZR_HTHREAD thread, int level);
int ZR_Thread_WaitForSingleThread(_ZR_HTHREAD thread);
int ZR_Thread_WaitForMultipleThreads(const _ZR_HTHREAD* threads, int count);
_ZR_HTHREAD ZR_Thread_GetHandle();
