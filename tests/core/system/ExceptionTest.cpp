#include "system/ZRException.h"
#include "system/ZRThread.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

// Scenarios keep their trace in a plain array: nothing with a destructor may live across a throw.
struct Trace
{
    char text[128];
    void Add(const char* step)
    {
        if (text[0])
            strcat(text, ",");
        strcat(text, step);
    }
};

void throwFive(Trace& trace)
{
    trace.Add("callee");
    ZR_Throw(5);
    trace.Add("not reached");
}

void caughtByCode(Trace& t)
{
    ZR_TRY {
        t.Add("body");
        ZR_Throw(5);
        t.Add("not reached");
    } ZR_CATCH(4) {
        t.Add("catch4");
    } ZR_CATCH(5) {
        t.Add(ZR_GetCatchCode() == 5 ? "catch5" : "wrong code");
    } ZR_END_TRY
    t.Add("after");
}

void caughtByCatchAll(Trace& t)
{
    ZR_TRY {
        throwFive(t);
    } ZR_CATCH(4) {
        t.Add("catch4");
    } ZR_CATCH_ALL {
        t.Add("all");
    } ZR_END_TRY
}

void passedOnToTheOuterTry(Trace& t)
{
    ZR_TRY {
        ZR_TRY {
            t.Add("inner");
            ZR_Throw(7);
        } ZR_CATCH(4) {
            t.Add("inner catch4");
        } ZR_END_TRY
        t.Add("not reached");
    } ZR_CATCH(7) {
        t.Add("outer catch7");
    } ZR_END_TRY
}

void thrownFromAHandler(Trace& t)
{
    ZR_TRY {
        ZR_TRY {
            ZR_Throw(3);
        } ZR_CATCH(3) {
            t.Add("inner catch3");
            ZR_Throw(9);
        } ZR_END_TRY
    } ZR_CATCH(9) {
        t.Add("outer catch9");
    } ZR_END_TRY
}

void innerCaughtOuterUntouched(Trace& t)
{
    ZR_TRY {
        ZR_TRY {
            ZR_Throw(3);
        } ZR_CATCH_ALL {
            t.Add("inner all");
        } ZR_END_TRY
        t.Add("outer body goes on");
    } ZR_CATCH_ALL {
        t.Add("outer all");
    } ZR_END_TRY
}

void zeroLowByteIsNoException(Trace& t)
{
    ZR_TRY {
        ZR_Throw(0x100);
    } ZR_CATCH_ALL {
        t.Add("all");
    } ZR_END_TRY
    t.Add("after");
}

void uncaughtWithoutOuterTry(Trace& t)
{
    ZR_TRY {
        ZR_Throw(6);
    } ZR_CATCH(4) {
        t.Add("catch4");
    } ZR_END_TRY
    t.Add("after");
}

void quietBody(Trace& t)
{
    ZR_TRY {
        t.Add("body");
    } ZR_CATCH_ALL {
        t.Add("all");
    } ZR_END_TRY
    ZR_Throw(8);
    t.Add("throw without a frame returns");
}

struct Scenario
{
    const char* name;
    void (*run)(Trace&);
    const char* expected;
};

class ExceptionTest : public testing::Test
{
protected:
    void SetUp() override { ZR_Process_Initialize(); }
    void TearDown() override { ZR_Process_Finalize(); }
    static int openFrames() { return ZR_GetErrorContext()->m_nIndex + 1; }
};

TEST_F(ExceptionTest, ScenariosRunTheirHandlersAndCloseEveryFrame)
{
    const Scenario scenarios[] = {
        {"caught by code", caughtByCode, "body,catch5,after"},
        {"caught by catch-all across a call", caughtByCatchAll, "callee,all"},
        {"passed on to the outer try", passedOnToTheOuterTry, "inner,outer catch7"},
        {"thrown from a handler", thrownFromAHandler, "inner catch3,outer catch9"},
        {"inner caught, outer untouched", innerCaughtOuterUntouched, "inner all,outer body goes on"},
        {"a zero low byte is no exception", zeroLowByteIsNoException, "after"},
        {"uncaught without an outer try", uncaughtWithoutOuterTry, "after"},
        {"a quiet body", quietBody, "body,throw without a frame returns"},
    };
    for (const Scenario& scenario : scenarios) {
        SCOPED_TRACE(scenario.name);
        Trace trace{};
        scenario.run(trace);
        EXPECT_STREQ(trace.text, scenario.expected);
        EXPECT_EQ(openFrames(), 0);
    }
}

int g_deepest;
int g_refusedAt;

void nest(int depth)
{
    ZR_TRY {
        g_deepest = depth;
        nest(depth + 1);
    } ZR_CATCH(ZR_EXCEPTION_OVERFLOW) {
        g_refusedAt = depth;
    } ZR_END_TRY
}

TEST_F(ExceptionTest, TheFiveHundredTwelfthFrameIsRefusedWithItsOwnCode)
{
    g_deepest = g_refusedAt = 0;
    nest(1);
    EXPECT_EQ(g_refusedAt, ZR_EXCEPTION_FRAMES);
    EXPECT_EQ(g_deepest, ZR_EXCEPTION_FRAMES - 1);
    EXPECT_EQ(openFrames(), 0);
}

TEST_F(ExceptionTest, AGuardPastTheLastFrameOpensNoneAndMarksTheLastWithTheOverflowCode)
{
    std::vector<std::unique_ptr<CZR_Exception>> guards;
    for (int i = 0; i < ZR_EXCEPTION_FRAMES; ++i)
        guards.push_back(std::make_unique<CZR_Exception>());
    EXPECT_EQ(openFrames(), ZR_EXCEPTION_FRAMES);
    auto refused = std::make_unique<CZR_Exception>();
    EXPECT_EQ(openFrames(), ZR_EXCEPTION_FRAMES);
    EXPECT_EQ(ZR_GetErrorContext()->m_pFrames[ZR_EXCEPTION_FRAMES - 1].m_nCode, ZR_EXCEPTION_OVERFLOW);
    EXPECT_FALSE(refused->CatchAll());
    refused.reset();
    EXPECT_EQ(openFrames(), ZR_EXCEPTION_FRAMES);
    while (!guards.empty())
        guards.pop_back();
    EXPECT_EQ(openFrames(), 0);
}

TEST_F(ExceptionTest, ContinueThrowWithoutAnOpenFrameReturns)
{
    ZR_ContinueThrow();
    ZR_Throw(5);
    EXPECT_EQ(ZR_GetCatchCode(), 0);
    EXPECT_EQ(openFrames(), 0);
}

TEST(ExceptionWithoutContextTest, ThrowsReturnAndBlocksRunUnguarded)
{
    ASSERT_EQ(ZR_GetErrorContext(), nullptr);
    Trace trace{};
    uncaughtWithoutOuterTry(trace);
    EXPECT_STREQ(trace.text, "after");
    ZR_ContinueThrow();
    EXPECT_EQ(ZR_GetCatchCode(), 0);
    EXPECT_FALSE(ZR_Push_Try(nullptr));
}

} // namespace
