#include <gtest/gtest.h>

#include <new>

#include <windows.h>

#include "AudioHarness.h"
#include "player/engine/PVAudioManager.h"
#include "player/engine/ThreadStart.h"

// Threads started while `g_delayMs` is set sleep in their attach callback,
// before their start routine runs: the way a loaded machine can start a
// thread late. The callback runs for every new thread of the process, so
// the tests set the delay only around the one start they mean.
namespace {

volatile LONG g_delayMs = 0;
volatile LONG g_delayedThreadsEnded = 0;
DWORD g_delayedThreadTls = TLS_OUT_OF_INDEXES;

void NTAPI DelayNewThreads(PVOID, DWORD reason, PVOID)
{
    if (g_delayedThreadTls == TLS_OUT_OF_INDEXES)
        return;
    if (reason == DLL_THREAD_ATTACH && g_delayMs > 0) {
        TlsSetValue(g_delayedThreadTls, reinterpret_cast<void*>(1));
        Sleep(static_cast<DWORD>(g_delayMs));
    } else if (reason == DLL_THREAD_DETACH && TlsGetValue(g_delayedThreadTls)) {
        InterlockedIncrement(&g_delayedThreadsEnded);
    }
}

}  // namespace

extern "C" __attribute__((section(".CRT$XLY"), used)) const PIMAGE_TLS_CALLBACK vistelloDelayNewThreads =
    DelayNewThreads;

namespace {

constexpr DWORD kLateMs = 3000;  // beyond the starter's 2000 ms

class LateThread : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (g_delayedThreadTls == TLS_OUT_OF_INDEXES)
            g_delayedThreadTls = TlsAlloc();
        ASSERT_NE(g_delayedThreadTls, TLS_OUT_OF_INDEXES);
        ended_ = g_delayedThreadsEnded;
    }
    // Waits (generously) until the delayed thread has run and ended.
    bool DelayedThreadEnded()
    {
        for (int i = 0; i < 400 && g_delayedThreadsEnded == ended_; ++i)
            Sleep(50);
        return g_delayedThreadsEnded != ended_;
    }
    LONG ended_ = 0;
};

struct Probe {
    volatile LONG touchedAfterRefusal = 0;
};

int SignalThenTouch(ThreadStartBlock* block, void* argument)
{
    if (!SignalThreadStarted(block, true))
        return 1;
    InterlockedIncrement(&static_cast<Probe*>(argument)->touchedAfterRefusal);
    return 0;
}

TEST_F(LateThread, SignalAfterTheStarterGaveUpIsRefused)
{
    EngineScope engine;
    ASSERT_TRUE(engine.started);
    Probe probe;
    void* handle = nullptr;
    InterlockedExchange(&g_delayMs, kLateMs);
    const bool started = StartThreadAndWait(SignalThenTouch, &probe, handle);
    InterlockedExchange(&g_delayMs, 0);
    EXPECT_FALSE(started);
    EXPECT_EQ(handle, nullptr);
    ASSERT_TRUE(DelayedThreadEnded());
    EXPECT_EQ(probe.touchedAfterRefusal, 0);
}

// The manager lives alone in pages of its own that are released after the
// failed start, so a late thread that touched it would fault at once rather
// than read freed heap memory by chance.
TEST_F(LateThread, AudioThreadStartingAfterItsWaitNeverTouchesTheManager)
{
    EngineScope engine;
    ASSERT_TRUE(engine.started);
    void* pages = VirtualAlloc(nullptr, sizeof(PVAudioManager), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    ASSERT_NE(pages, nullptr);
    auto* manager = new (pages) PVAudioManager(nullptr);
    ASSERT_TRUE(manager->Open());
    InterlockedExchange(&g_delayMs, kLateMs);
    const bool started = manager->StartThread();
    InterlockedExchange(&g_delayMs, 0);
    EXPECT_FALSE(started);
    EXPECT_FALSE(manager->IsRunning());
    manager->~PVAudioManager();
    ASSERT_TRUE(VirtualFree(pages, 0, MEM_RELEASE));
    ASSERT_TRUE(DelayedThreadEnded());
}

TEST_F(LateThread, AudioThreadStartedInTimeRunsAndQuits)
{
    EngineScope engine;
    ASSERT_TRUE(engine.started);
    PVAudioManager manager(nullptr);
    ASSERT_TRUE(manager.Open());
    ASSERT_TRUE(manager.StartThread());
    EXPECT_TRUE(manager.IsRunning());
    HANDLE thread = manager.ThreadHandle();
    manager.Quit();
    EXPECT_FALSE(manager.IsRunning());
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);
}

}  // namespace
