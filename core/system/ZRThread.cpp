#include "system/ZRThread.h"

#include "system/ZRMutex.h"

#include <cmath>
#include <sched.h>
#include <unistd.h>

namespace {

void* keyOf(_ZR_HTHREAD thread) { return reinterpret_cast<void*>(uintptr_t(thread)); }

CZR_ThreadContext* makeThreadContext()
{
    CZR_ThreadContext* context = new CZR_ThreadContext;
    if (context && !context->Initialize()) {
        delete context;
        return nullptr;
    }
    return context;
}

struct ThreadStart
{
    void* (*function)(void*);
    int priority;
    void* param;
};

// Removes the thread's context however the thread ends: by returning, or through ZR_Thread_Exit,
// whose pthread_exit unwinds the stack and so runs this destructor. Otherwise the context would
// stay registered under a handle that the system gives to the next thread.
class ThreadContextRemover
{
public:
    explicit ThreadContextRemover(_ZR_HTHREAD thread) : m_thread(thread) {}
    ~ThreadContextRemover()
    {
        // The process may have been finalised while the function ran.
        if (CZR_ProcessContext* process = ZR_Process_GetContext())
            process->RemoveThreadContext(m_thread);
    }
    ThreadContextRemover(const ThreadContextRemover&) = delete;
    ThreadContextRemover& operator=(const ThreadContextRemover&) = delete;

private:
    _ZR_HTHREAD m_thread;
};

void* threadTrampoline(void* argument)
{
    ThreadStart start = *static_cast<ThreadStart*>(argument);
    ZRMEM_DefaultFree(argument, 0);
    CZR_ProcessContext* process = ZR_Process_GetContext();
    if (!process)
        return nullptr;
    _ZR_HTHREAD self = pthread_self();
    CZR_ThreadContext* context = makeThreadContext();
    if (context) {
        context->m_nSchedPriority = ZRCRT_Thread_PriorityOfLevel(start.priority);
        if (!process->SetThreadContext(self, context))
            delete context;
    }
    ThreadContextRemover remover(self);
    start.function(start.param);
    return nullptr;
}

template <class Result, class Action> Result onThreadContext(Result none, Action action)
{
    CZR_ThreadContext* context = ZR_Thread_GetContext();
    return context ? action(context) : none;
}

// A thread ending takes its context out of the map under the process mutex and then destroys it; so
// `action` runs with that (recursive) mutex held from the lookup to its end, which the removal waits
// for. False when the thread has no context.
template <class Action> bool onOtherThreadContext(_ZR_HTHREAD thread, Action action)
{
    CZR_ProcessContext* process = ZR_Process_GetContext();
    if (!process)
        return false;
    CZR_MutexLocker lock(&process->m_Mutex);
    CZR_ThreadContext* context = process->GetThreadContext(thread);
    if (!context)
        return false;
    action(context);
    return true;
}

} // namespace

CZR_ThreadContext::~CZR_ThreadContext()
{
    m_PrivateData.ClearAll();
    m_ExceptionContext.Finalize();
}

CZR_ProcessContext::CZR_ProcessContext() : m_Threads(10) { ZRCRT_Mutex_Initialize(&m_Mutex); }

CZR_ProcessContext::~CZR_ProcessContext()
{
    m_PrivateData.ClearAll();
    RemoveAllThreadContexts();
    ZRCRT_Mutex_Destroy(&m_Mutex);
}

CZR_ThreadContext* CZR_ProcessContext::GetThreadContext(_ZR_HTHREAD thread)
{
    CZR_MutexLocker lock(&m_Mutex);
    return static_cast<CZR_ThreadContext*>(m_Threads.GetValueAt(keyOf(thread)));
}

bool CZR_ProcessContext::SetThreadContext(_ZR_HTHREAD thread, CZR_ThreadContext* context)
{
    CZR_MutexLocker lock(&m_Mutex);
    void** slot = m_Threads[keyOf(thread)];
    if (!slot)
        return false;
    *slot = context;
    return true;
}

void CZR_ProcessContext::RemoveThreadContext(_ZR_HTHREAD thread)
{
    CZR_ThreadContext* context;
    {
        CZR_MutexLocker lock(&m_Mutex);
        context = static_cast<CZR_ThreadContext*>(m_Threads.GetValueAt(keyOf(thread)));
        m_Threads.RemoveKey(keyOf(thread));
    }
    delete context;
}

void CZR_ProcessContext::RemoveAllThreadContexts()
{
    CZR_MutexLocker lock(&m_Mutex);
    void* position = m_Threads.GetStartPosition();
    while (position) {
        void* key = nullptr;
        void* value = nullptr;
        m_Threads.GetNextAssoc(position, key, value);
        delete static_cast<CZR_ThreadContext*>(value);
    }
    m_Threads.RemoveAll();
}

int ZRCRT_Thread_PriorityOfLevel(int level)
{
    static const int priorities[] = {1, 25, 50, 75, 99};
    return level >= -2 && level <= 2 ? priorities[level + 2] : 50;
}

int ZRCRT_Thread_LevelOfPriority(int priority) { return int(std::lround((priority - 50) / 25.0)); }

pid_t ZRCRT_GetProcessID() { return getpid(); }

_ZR_HTHREAD ZRCRT_GetThreadHandle() { return pthread_self(); }

_ZR_HTHREAD ZRCRT_Thread_Create(int priority, size_t, void* (*function)(void*), void* param)
{
    if (!function)
        return 0;
    auto* start = static_cast<ThreadStart*>(ZRMEM_DefaultAlloc(sizeof(ThreadStart), ZRMEM_FLAG_MAYFAIL));
    if (!start)
        return 0;
    *start = ThreadStart{function, priority, param};
    pthread_t thread;
    if (pthread_create(&thread, nullptr, threadTrampoline, start) != 0) {
        ZRMEM_DefaultFree(start, 0);
        return 0;
    }
    return thread;
}

void ZRCRT_ExitThread() { pthread_exit(nullptr); }

void ZRCRT_Thread_Yield() { sched_yield(); }

int ZRCRT_Thread_WaitForSingleThread(_ZR_HTHREAD thread) { return pthread_join(thread, nullptr); }

int ZRCRT_Thread_WaitForMultipleThreads(const _ZR_HTHREAD* threads, int count)
{
    int first = 0;
    for (int i = 0; threads && i < count; ++i) {
        int result = pthread_join(threads[i], nullptr);
        if (result != 0 && first == 0)
            first = result;
    }
    return first;
}

int ZRCRT_Thread_GetPriority(_ZR_HTHREAD thread)
{
    int priority = 50;
    onOtherThreadContext(thread, [&](CZR_ThreadContext* c) { priority = c->m_nSchedPriority; });
    return ZRCRT_Thread_LevelOfPriority(priority);
}

bool ZRCRT_Thread_SetPriority(_ZR_HTHREAD thread, int level)
{
    const int priority = ZRCRT_Thread_PriorityOfLevel(level);
    return onOtherThreadContext(thread, [=](CZR_ThreadContext* c) { c->m_nSchedPriority = priority; });
}

void ZR_Process_Initialize()
{
    CZR_MemoryMgr* manager = ZRMEM_GetDefaultMgr();
    if (!manager || manager->processContext)
        return;
    CZR_ProcessContext* process = new CZR_ProcessContext;
    if (!process)
        return;
    CZR_ThreadContext* context = makeThreadContext();
    if (!context || !process->SetThreadContext(pthread_self(), context)) {
        delete context;
        delete process;
        return;
    }
    manager->processContext = process;
}

void ZR_Process_Finalize()
{
    CZR_MemoryMgr* manager = ZRMEM_GetDefaultMgr();
    if (!manager || !manager->processContext)
        return;
    CZR_ProcessContext* process = manager->processContext;
    manager->processContext = nullptr;
    delete process;
}

CZR_ProcessContext* ZR_Process_GetContext()
{
    CZR_MemoryMgr* manager = ZRMEM_GetDefaultMgr();
    return manager ? manager->processContext : nullptr;
}

pid_t ZR_Process_GetID() { return ZRCRT_GetProcessID(); }

CZR_PrivateData* ZR_Process_GetPrivateData()
{
    CZR_ProcessContext* process = ZR_Process_GetContext();
    return process ? &process->m_PrivateData : nullptr;
}

void* ZR_Process_GetPrivateData(void* key)
{
    CZR_PrivateData* data = ZR_Process_GetPrivateData();
    return data ? data->GetPrivateData(key) : nullptr;
}

bool ZR_Process_SetPrivateData(void* key, void* data, void (*callback)(void*))
{
    CZR_PrivateData* list = ZR_Process_GetPrivateData();
    return list && list->SetPrivateData(key, data, callback);
}

void ZR_Process_RemovePrivateData(void* key)
{
    if (CZR_PrivateData* list = ZR_Process_GetPrivateData())
        list->RemovePrivateData(key);
}

CZR_ThreadContext* ZR_Thread_GetContext()
{
    _ZR_HTHREAD self = pthread_self();
    return ZR_Thread_GetContext(&self);
}

CZR_ThreadContext* ZR_Thread_GetContext(_ZR_HTHREAD* thread)
{
    CZR_ProcessContext* process = ZR_Process_GetContext();
    return process && thread ? process->GetThreadContext(*thread) : nullptr;
}

CZR_PrivateData* ZR_Thread_GetPrivateData()
{
    return onThreadContext<CZR_PrivateData*>(nullptr, [](CZR_ThreadContext* c) { return &c->m_PrivateData; });
}

void* ZR_Thread_GetPrivateData(void* key)
{
    CZR_PrivateData* data = ZR_Thread_GetPrivateData();
    return data ? data->GetPrivateData(key) : nullptr;
}

bool ZR_Thread_SetPrivateData(void* key, void* data, void (*callback)(void*))
{
    CZR_PrivateData* list = ZR_Thread_GetPrivateData();
    return list && list->SetPrivateData(key, data, callback);
}

void ZR_Thread_RemovePrivateData(void* key)
{
    if (CZR_PrivateData* list = ZR_Thread_GetPrivateData())
        list->RemovePrivateData(key);
}

uint32_t ZR_Thread_GetLastError()
{
    return onThreadContext<uint32_t>(0, [](CZR_ThreadContext* c) { return c->m_nLastError; });
}

void ZR_Thread_SetLastError(uint32_t error)
{
    if (CZR_ThreadContext* context = ZR_Thread_GetContext())
        context->m_nLastError = error;
}

CZR_ExceptionContext* ZR_Thread_GetExceptionContext()
{
    return onThreadContext<CZR_ExceptionContext*>(nullptr,
                                                  [](CZR_ThreadContext* c) { return &c->m_ExceptionContext; });
}

void* ZR_Thread_GetHandler()
{
    CZR_ProcessContext* process = ZR_Process_GetContext();
    return process ? process->m_pThreadHandler : nullptr;
}

void ZR_Thread_SetHandler(void* handler)
{
    if (CZR_ProcessContext* process = ZR_Process_GetContext())
        process->m_pThreadHandler = handler;
}

_ZR_HTHREAD ZR_Thread_Create(int priority, size_t stackSize, void* (*function)(void*), void* param)
{
    return ZRCRT_Thread_Create(priority, stackSize, function, param);
}

void ZR_Thread_Exit() { ZRCRT_ExitThread(); }

void ZR_Thread_Yield() { ZRCRT_Thread_Yield(); }

int ZR_Thread_GetPriority(_ZR_HTHREAD thread) { return ZRCRT_Thread_GetPriority(thread); }

void ZR_Thread_SetPriority(_ZR_HTHREAD thread, int level) { ZRCRT_Thread_SetPriority(thread, level); }

int ZR_Thread_WaitForSingleThread(_ZR_HTHREAD thread) { return ZRCRT_Thread_WaitForSingleThread(thread); }

int ZR_Thread_WaitForMultipleThreads(const _ZR_HTHREAD* threads, int count)
{
    return ZRCRT_Thread_WaitForMultipleThreads(threads, count);
}

_ZR_HTHREAD ZR_Thread_GetHandle() { return ZRCRT_GetThreadHandle(); }
