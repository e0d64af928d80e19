#pragma once

#include "memory/CZR_Object.h"

#include <csetjmp>
#include <cstdint>

// Exceptions without language exceptions: a try site records a jump buffer in a per-thread frame,
// and a throw jumps back to it with a code. A code whose low byte is 0 counts as no exception.
//
//     ZR_TRY {
//         ...                      // ZR_Throw(code) here, or in anything called from here
//     } ZR_CATCH(code) {
//         ...                      // ZR_GetCatchCode() answers the code
//     } ZR_CATCH_ALL {
//         ...
//     } ZR_END_TRY
//
// A throw leaves every function between the try site and itself by a jump, so their destructors
// never run. The rule, therefore: from the opening of a try block to a throw, no object with a
// destructor may be alive in the block or in any function the throw leaves (strings, buffers,
// lockers included), and a local of the try's function that the block changes and the handlers read
// must be volatile. A throw in a handler goes to the enclosing try; an exception that no handler
// takes passes on to the enclosing try at ZR_END_TRY. Without a thread context (before
// ZR_Process_Initialize, or on a thread not started by ZR_Thread_Create) throws return to their
// caller and blocks run unguarded. Nesting is bounded: the 512th open frame is refused, and that try
// goes straight to its handlers with the code ZR_EXCEPTION_OVERFLOW.

constexpr int ZR_EXCEPTION_FRAMES = 512;
constexpr int ZR_EXCEPTION_OVERFLOW = 257;

struct ZR_EXCEPTION_FRAME
{
    int32_t m_nCode;
    jmp_buf m_JumpBuffer;
};

// The frames of one thread: the index of the innermost open frame (-1: none) and the frame array.
class CZR_ExceptionErrorContext : public CZR_Object
{
public:
    bool Initialize();
    void Finalize();

    int32_t m_nIndex = -1;
    ZR_EXCEPTION_FRAME* m_pFrames = nullptr;
};

// The per-thread holder of one error context.
class CZR_ExceptionContext
{
public:
    bool Initialize();
    void Finalize();

    CZR_ExceptionErrorContext* m_pErrorContext = nullptr;
};

// The guard of one try block: opens a frame when made, closes it when gone unless a handler took it.
class CZR_Exception
{
public:
    CZR_Exception();
    ~CZR_Exception();
    CZR_Exception(const CZR_Exception&) = delete;
    CZR_Exception& operator=(const CZR_Exception&) = delete;

    // True, closing the frame, when the innermost frame holds `code`.
    bool Catch(int code);
    // True, closing the frame, when the innermost frame holds an exception.
    bool CatchAll();
    // Re-raises an exception no handler took in the enclosing frame. It leaves the guard's scope by a
    // jump, skipping the guard's destructor: the try-site macros use ZR_ContinueThrow after the scope.
    void EndTry();

    // The buffer the try site records its jump point in (one of the guard's own when no frame opened).
    jmp_buf& GetJumpBuffer();
    // Refuses the frame past the nesting bound: the block's handlers then see ZR_EXCEPTION_OVERFLOW.
    void Enter();
    // The frame holds an exception that no handler took.
    bool IsPending() const;

private:
    ZR_EXCEPTION_FRAME& Innermost() const { return m_pContext->m_pFrames[m_pContext->m_nIndex]; }
    void Close();

    CZR_ExceptionErrorContext* m_pContext;
    bool m_bCaught;
    jmp_buf m_Unguarded;
};

// The calling thread's frames; null without a thread context.
CZR_ExceptionErrorContext* ZR_GetErrorContext();

// Jumps to the innermost open frame with `code`; returns when no frame is open.
void ZR_Throw(int code);
// True while the innermost frame is below the last; otherwise that frame's code becomes
// ZR_EXCEPTION_OVERFLOW and the answer is false.
bool ZR_Push_Try(CZR_ExceptionErrorContext* context);
// Passes the exception of the frame just closed on to the innermost open frame; returns when there
// is none or the closed frame holds no exception.
void ZR_ContinueThrow();
// The code of the frame just closed; 0 past the last frame.
int ZR_GetCatchCode();
[[noreturn]] void ZR_IMP_Throw(jmp_buf& buffer, int code);

#define ZR_TRY                                                                                          \
    {                                                                                                   \
        volatile bool zrPendingException_ = false;                                                      \
        {                                                                                               \
            CZR_Exception zrException_;                                                                 \
            if (setjmp(zrException_.GetJumpBuffer()) == 0) {                                            \
                zrException_.Enter();

#define ZR_CATCH(code)                                                                                  \
    }                                                                                                   \
    else if (zrException_.Catch(code))                                                                  \
    {

#define ZR_CATCH_ALL                                                                                    \
    }                                                                                                   \
    else if (zrException_.CatchAll())                                                                   \
    {

#define ZR_END_TRY                                                                                      \
    }                                                                                                   \
    zrPendingException_ = zrException_.IsPending();                                                    \
    }                                                                                                   \
    if (zrPendingException_)                                                                            \
        ZR_ContinueThrow();                                                                             \
    }
