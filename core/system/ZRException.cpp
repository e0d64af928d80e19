#include "system/ZRException.h"

#include "memory/ZRMemoryMgr.h"
#include "system/ZRThread.h"

#include <cstring>

namespace {

constexpr int kLastFrame = ZR_EXCEPTION_FRAMES - 1;

bool holdsException(int code) { return (code & 0xFF) != 0; }

[[noreturn]] void jumpTo(ZR_EXCEPTION_FRAME& frame, int code)
{
    frame.m_nCode = code;
    ZR_IMP_Throw(frame.m_JumpBuffer, code);
}

} // namespace

bool CZR_ExceptionErrorContext::Initialize()
{
    if (m_pFrames)
        return true;
    m_pFrames = static_cast<ZR_EXCEPTION_FRAME*>(
        ZRMEM_DefaultAlloc2(ZR_EXCEPTION_FRAMES, sizeof(ZR_EXCEPTION_FRAME), ZRMEM_FLAG_MAYFAIL));
    if (!m_pFrames)
        return false;
    memset(static_cast<void*>(m_pFrames), 0, ZR_EXCEPTION_FRAMES * sizeof(ZR_EXCEPTION_FRAME));
    m_nIndex = -1;
    return true;
}

void CZR_ExceptionErrorContext::Finalize()
{
    if (m_pFrames)
        ZRMEM_DefaultFree(m_pFrames, 0);
    m_pFrames = nullptr;
    m_nIndex = -1;
}

bool CZR_ExceptionContext::Initialize()
{
    if (m_pErrorContext)
        return true;
    m_pErrorContext = new CZR_ExceptionErrorContext;
    if (m_pErrorContext->Initialize())
        return true;
    Finalize();
    return false;
}

void CZR_ExceptionContext::Finalize()
{
    if (!m_pErrorContext)
        return;
    m_pErrorContext->Finalize();
    delete m_pErrorContext;
    m_pErrorContext = nullptr;
}

CZR_ExceptionErrorContext* ZR_GetErrorContext()
{
    CZR_ExceptionContext* holder = ZR_Thread_GetExceptionContext();
    return holder ? holder->m_pErrorContext : nullptr;
}

CZR_Exception::CZR_Exception() : m_pContext(ZR_GetErrorContext()), m_bCaught(false)
{
    if (!m_pContext)
        return;
    if (m_pContext->m_nIndex >= kLastFrame) {
        m_pContext->m_pFrames[kLastFrame].m_nCode = ZR_EXCEPTION_OVERFLOW;
        m_pContext = nullptr;
        return;
    }
    ++m_pContext->m_nIndex;
    Innermost().m_nCode = 0;
}

CZR_Exception::~CZR_Exception()
{
    if (m_pContext && !m_bCaught)
        Close();
}

void CZR_Exception::Close() { --m_pContext->m_nIndex; }

jmp_buf& CZR_Exception::GetJumpBuffer() { return m_pContext ? Innermost().m_JumpBuffer : m_Unguarded; }

void CZR_Exception::Enter()
{
    if (m_pContext && !ZR_Push_Try(m_pContext))
        jumpTo(Innermost(), ZR_EXCEPTION_OVERFLOW);
}

bool CZR_Exception::Catch(int code)
{
    if (!m_pContext || m_bCaught || Innermost().m_nCode != code)
        return false;
    Close();
    m_bCaught = true;
    return true;
}

bool CZR_Exception::CatchAll()
{
    if (!m_pContext || m_bCaught || !holdsException(Innermost().m_nCode))
        return false;
    Close();
    m_bCaught = true;
    return true;
}

bool CZR_Exception::IsPending() const { return m_pContext && !m_bCaught && holdsException(Innermost().m_nCode); }

void CZR_Exception::EndTry()
{
    if (!IsPending() || m_pContext->m_nIndex < 1)
        return;
    int code = Innermost().m_nCode;
    Close();
    m_bCaught = true;
    jumpTo(Innermost(), code);
}

void ZR_Throw(int code)
{
    CZR_ExceptionErrorContext* context = ZR_GetErrorContext();
    if (context && context->m_nIndex >= 0)
        jumpTo(context->m_pFrames[context->m_nIndex], code);
}

bool ZR_Push_Try(CZR_ExceptionErrorContext* context)
{
    if (!context)
        return false;
    if (context->m_nIndex < kLastFrame)
        return true;
    context->m_pFrames[kLastFrame].m_nCode = ZR_EXCEPTION_OVERFLOW;
    return false;
}

void ZR_ContinueThrow()
{
    CZR_ExceptionErrorContext* context = ZR_GetErrorContext();
    if (!context || context->m_nIndex < 0 || context->m_nIndex >= kLastFrame)
        return;
    int code = context->m_pFrames[context->m_nIndex + 1].m_nCode;
    if (holdsException(code))
        jumpTo(context->m_pFrames[context->m_nIndex], code);
}

int ZR_GetCatchCode()
{
    CZR_ExceptionErrorContext* context = ZR_GetErrorContext();
    if (!context || context->m_nIndex + 1 > kLastFrame)
        return 0;
    return context->m_pFrames[context->m_nIndex + 1].m_nCode;
}

void ZR_IMP_Throw(jmp_buf& buffer, int code) { longjmp(buffer, code ? code : 1); }
