#include <gtest/gtest.h>

#include <windows.h>

#include "base/MKThread.h"
#include "player/engine/ThreadStart.h"

namespace {

struct Start {
    int signalAfterMs = 0;  // < 0: never signal
    bool ok = true;
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD signalledAt = 0;
    ~Start() { CloseHandle(done); }
};

int StartProc(ThreadStartBlock* block, void* argument)
{
    auto* start = static_cast<Start*>(argument);
    if (start->signalAfterMs >= 0) {
        Sleep(start->signalAfterMs);
        start->signalledAt = GetTickCount();
        SignalThreadStarted(block, start->ok);
    }
    SetEvent(start->done);
    return 7;
}

class ThreadStartTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(InitThreadWaiterSlot()); }
};

TEST_F(ThreadStartTest, ReadyThreadHandsBackItsHandle)
{
    Start start;
    void* handle = nullptr;
    ASSERT_TRUE(StartThreadAndWait(StartProc, &start, handle));
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(WaitForSingleObject(handle, 5000), WAIT_OBJECT_0);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(handle, &code));
    EXPECT_EQ(code, 7u);
    CloseHandle(handle);
}

TEST_F(ThreadStartTest, ThreadReportingFailureFailsAtOnce)
{
    Start start;
    start.ok = false;
    void* handle = reinterpret_cast<void*>(1);
    const DWORD begin = GetTickCount();
    EXPECT_FALSE(StartThreadAndWait(StartProc, &start, handle));
    EXPECT_LT(GetTickCount() - begin, 1500u);
    EXPECT_EQ(handle, nullptr);
    WaitForSingleObject(start.done, 5000);
}

// Throws before or after its start is signalled.
int ThrowingProc(ThreadStartBlock* block, void* argument)
{
    if (*static_cast<bool*>(argument))
        SignalThreadStarted(block, true);
    throw 1;
}

// An exception that leaves the thread function ends that thread alone,
// with exit code -1; thrown before the start was signalled, it fails the
// start at once rather than at the time-out.
TEST_F(ThreadStartTest, ThreadThatThrowsEndsAloneAndFailsItsStart)
{
    for (bool signalFirst : {false, true}) {
        void* handle = nullptr;
        const DWORD begin = GetTickCount();
        const bool started = StartThreadAndWait(ThrowingProc, &signalFirst, handle);
        EXPECT_EQ(started, signalFirst);
        if (!started) {
            EXPECT_LT(GetTickCount() - begin, 1500u);
            continue;
        }
        ASSERT_NE(handle, nullptr);
        EXPECT_EQ(WaitForSingleObject(handle, 5000), WAIT_OBJECT_0);
        DWORD code = 0;
        EXPECT_TRUE(GetExitCodeThread(handle, &code));
        EXPECT_EQ(code, static_cast<DWORD>(-1));
        CloseHandle(handle);
    }
}

TEST_F(ThreadStartTest, SilentThreadFailsAfterTwoSeconds)
{
    Start start;
    start.signalAfterMs = -1;
    void* handle = nullptr;
    const DWORD begin = GetTickCount();
    EXPECT_FALSE(StartThreadAndWait(StartProc, &start, handle));
    const DWORD waited = GetTickCount() - begin;
    EXPECT_GE(waited, 1900u);
    EXPECT_LT(waited, 4000u);
    EXPECT_EQ(handle, nullptr);
    WaitForSingleObject(start.done, 5000);
}

TEST_F(ThreadStartTest, SignalAfterTheStarterGaveUpIsHarmless)
{
    auto* start = new Start;
    start->signalAfterMs = 2600;
    void* handle = nullptr;
    EXPECT_FALSE(StartThreadAndWait(StartProc, start, handle));
    // The thread signals a block the starter no longer waits on.
    EXPECT_EQ(WaitForSingleObject(start->done, 5000), WAIT_OBJECT_0);
    Sleep(50);
    delete start;
    // The starter's waiter is still usable for the next start.
    Start next;
    ASSERT_TRUE(StartThreadAndWait(StartProc, &next, handle));
    WaitForSingleObject(handle, 5000);
    CloseHandle(handle);
}

TEST_F(ThreadStartTest, NoFunctionNoThread)
{
    void* handle = nullptr;
    EXPECT_FALSE(StartThreadAndWait(nullptr, nullptr, handle));
}

TEST_F(ThreadStartTest, WaiterIsPerThreadAndGoneWithTheSlot)
{
    ThreadWaiter* mine = GetThreadWaiter();
    ASSERT_NE(mine, nullptr);
    EXPECT_EQ(GetThreadWaiter(), mine);
    EXPECT_NE(mine->semaphore, nullptr);
    FreeThreadWaiterSlot();
    EXPECT_EQ(GetThreadWaiter(), nullptr);
    void* handle = nullptr;
    Start start;
    EXPECT_FALSE(StartThreadAndWait(StartProc, &start, handle));
    ASSERT_TRUE(InitThreadWaiterSlot());
    EXPECT_NE(GetThreadWaiter(), nullptr);
}

// The base library's thread records and the engine's waiters live in one
// program (the player) under slots of their own.
TEST_F(ThreadStartTest, WaitersKeepASlotApartFromTheBaseThreadRecords)
{
    ASSERT_TRUE(MKThreadInfoInit());
    ThreadWaiter* waiter = GetThreadWaiter();
    ASSERT_NE(waiter, nullptr);
    EXPECT_EQ(TlsGetValue(MKThreadInfoSlot()), nullptr);
    int record = 0;
    ASSERT_TRUE(TlsSetValue(MKThreadInfoSlot(), &record));
    EXPECT_EQ(GetThreadWaiter(), waiter);
    TlsSetValue(MKThreadInfoSlot(), nullptr);
    MKThreadInfoTerm();
    EXPECT_EQ(GetThreadWaiter(), waiter);
}

}  // namespace
