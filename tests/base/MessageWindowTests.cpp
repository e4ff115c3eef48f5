#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/MKClock.h"
#include "base/MKHandyWindow.h"
#include "base/MKTimer.h"

namespace {

// Runs this thread's message loop until done() or the time limit.
bool PumpUntil(const std::function<bool()>& done, int limitMs = 5000)
{
    int64_t end = MKClock::ElapsedMs() + limitMs;
    while (!done()) {
        if (MKClock::ElapsedMs() > end)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return true;
}

class RecordingOwner : public MKHandyWindowOwner {
public:
    std::vector<UINT> messages;
    bool throwOnUser = false;
    LRESULT HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        messages.push_back(message);
        if (message == WM_USER + 1) {
            if (throwOnUser)
                throw std::runtime_error("handler failed");
            return static_cast<LRESULT>(wParam + lParam);
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    bool Saw(UINT message) const
    {
        for (UINT m : messages)
            if (m == message)
                return true;
        return false;
    }
};

HINSTANCE Instance()
{
    return GetModuleHandleW(nullptr);
}

bool ClassRegistered(const MKString& name)
{
    WNDCLASSW info;
    return GetClassInfoW(Instance(), name.GetText(), &info) != FALSE;
}

TEST(HandyWindow, HiddenPopupOfItsOwnClassReceivesPostedMessages)
{
    RecordingOwner owner;
    MKHandyWindow window;
    ASSERT_TRUE(window.Create(Instance(), &owner));
    HWND handle = window.Handle();
    ASSERT_TRUE(IsWindow(handle));
    EXPECT_FALSE(window.Create(Instance(), &owner));

    std::wstring name = window.ClassName().GetText();
    const std::wstring prefix = L"_brelix_handy_class_";
    ASSERT_EQ(name.size(), prefix.size() + 36);
    EXPECT_EQ(name.substr(0, prefix.size()), prefix);
    for (size_t i = prefix.size(); i < name.size(); ++i) {
        size_t at = i - prefix.size();
        if (at == 8 || at == 13 || at == 18 || at == 23)
            EXPECT_EQ(name[i], L'-');
        else
            EXPECT_TRUE(iswxdigit(name[i]) && !iswupper(name[i])) << name;
    }
    wchar_t actual[128];
    GetClassNameW(handle, actual, 128);
    EXPECT_EQ(name, actual);

    EXPECT_FALSE(IsWindowVisible(handle));
    EXPECT_EQ(GetWindowLongW(handle, GWL_STYLE) & WS_POPUP, static_cast<LONG>(WS_POPUP));
    RECT rect;
    GetWindowRect(handle, &rect);
    EXPECT_EQ(rect.left, -20);
    EXPECT_EQ(rect.top, -20);
    EXPECT_EQ(rect.right - rect.left, 10);

    // The owner sees WM_NCCREATE first: what comes before it goes to
    // DefWindowProcW.
    ASSERT_FALSE(owner.messages.empty());
    EXPECT_EQ(owner.messages[0], static_cast<UINT>(WM_NCCREATE));

    ASSERT_TRUE(PostMessageW(handle, WM_USER + 1, 2, 3));
    EXPECT_TRUE(PumpUntil([&] { return owner.Saw(WM_USER + 1); }));
    EXPECT_EQ(SendMessageW(handle, WM_USER + 1, 4, 5), 9);

    window.DestroyWindow();
    EXPECT_EQ(window.Handle(), nullptr);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_TRUE(owner.Saw(WM_NCDESTROY));
}

TEST(HandyWindow, EachWindowHasAClassOfItsOwn)
{
    RecordingOwner owner;
    MKString firstName;
    MKHandyWindow second;
    {
        MKHandyWindow first;
        ASSERT_TRUE(first.Create(Instance(), &owner));
        ASSERT_TRUE(second.Create(Instance(), &owner));
        firstName = first.ClassName();
        EXPECT_FALSE(first.ClassName().Equals(second.ClassName()));
        EXPECT_TRUE(ClassRegistered(firstName));
    }
    EXPECT_FALSE(ClassRegistered(firstName));
    EXPECT_TRUE(ClassRegistered(second.ClassName()));
    EXPECT_TRUE(IsWindow(second.Handle()));
}

TEST(HandyWindow, HandlerExceptionIsContained)
{
    RecordingOwner owner;
    owner.throwOnUser = true;
    MKHandyWindow window;
    ASSERT_TRUE(window.Create(Instance(), &owner));
    EXPECT_EQ(SendMessageW(window.Handle(), WM_USER + 1, 4, 5), 0);
    EXPECT_TRUE(IsWindow(window.Handle()));
}

TEST(HandyWindow, WindowWithoutOwnerUsesDefaultHandling)
{
    MKHandyWindow window;
    ASSERT_TRUE(window.Create(Instance(), nullptr));
    EXPECT_EQ(SendMessageW(window.Handle(), WM_USER + 1, 4, 5), 0);
}

void* s_creationParameter = nullptr;
LRESULT CALLBACK KeepCreationParameter(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        s_creationParameter = reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams;
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST(HandyWindow, StandaloneWindowGetsCallersProcedureAndParameter)
{
    int marker = 0;
    HWND window = MKCreateHandyWindow(Instance(), KeepCreationParameter, &marker);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(s_creationParameter, &marker);
    wchar_t name[128];
    GetClassNameW(window, name, 128);
    EXPECT_EQ(std::wstring(name).rfind(L"_brelix_handy_class_", 0), 0u);
    DestroyWindow(window);
}

struct TickLog {
    std::vector<int64_t> at;
};

void LogTick(MKTimer* timer)
{
    static_cast<TickLog*>(timer->UserData())->at.push_back(MKClock::ElapsedMs());
}

TEST(Timer, TicksEveryHundredMillisecondsUntilStopped)
{
    MKTimer timer;
    EXPECT_EQ(timer.Period(), 100u);
    EXPECT_FALSE(timer.IsRunning());
    TickLog log;
    timer.SetUserData(&log);
    timer.SetCallback(LogTick);
    int64_t started = MKClock::ElapsedMs();
    ASSERT_TRUE(timer.Start());
    EXPECT_TRUE(timer.Start());
    EXPECT_TRUE(timer.Stopwatch().IsRunning());
    ASSERT_TRUE(PumpUntil([&] { return log.at.size() >= 3; }));
    // Three ticks of 100 ms each (timers may come a little early, never much).
    EXPECT_GE(log.at[2] - started, 270);
    EXPECT_EQ(timer.Ticks(), 3u);
    timer.Stop();
    EXPECT_FALSE(timer.Stopwatch().IsRunning());
    size_t ticks = log.at.size();
    PumpUntil([] { return false; }, 250);
    EXPECT_EQ(log.at.size(), ticks);
}

class CountingListener : public MKTimerListener {
public:
    int ticks = 0;
    void OnTimer(MKTimer*) override { ++ticks; }
};

TEST(Timer, ListenerHearsTicksWhenThereIsNoCallback)
{
    MKTimer timer;
    CountingListener listener;
    timer.SetListener(&listener);
    timer.SetPeriod(20);
    ASSERT_TRUE(timer.Start());
    EXPECT_TRUE(PumpUntil([&] { return listener.ticks >= 2; }));
}

TEST(Timer, NewPeriodRestartsARunningTimerAndKeepsItsTime)
{
    MKTimer timer;
    timer.SetPeriod(100);
    EXPECT_FALSE(timer.IsRunning());
    EXPECT_EQ(timer.Window(), nullptr);  // nothing made for an unchanged period

    TickLog log;
    timer.SetUserData(&log);
    timer.SetCallback(LogTick);
    ASSERT_TRUE(timer.Start());
    PumpUntil([] { return false; }, 60);
    timer.SetPeriod(250);
    EXPECT_TRUE(timer.IsRunning());
    EXPECT_GE(timer.Stopwatch().ElapsedMs(), 50);  // time run so far is kept
    int64_t restarted = MKClock::ElapsedMs();
    ASSERT_TRUE(PumpUntil([&] { return !log.at.empty(); }));
    EXPECT_GE(log.at[0] - restarted, 220);
}

void DeleteTimer(MKTimer* timer)
{
    *static_cast<bool*>(timer->UserData()) = true;
    delete timer;
}

TEST(Timer, CallbackMayDeleteItsTimer)
{
    bool deleted = false;
    auto* timer = new MKTimer;
    timer->SetUserData(&deleted);
    timer->SetCallback(DeleteTimer);
    timer->SetPeriod(10);
    ASSERT_TRUE(timer->Start());
    EXPECT_TRUE(PumpUntil([&] { return deleted; }));
    PumpUntil([] { return false; }, 50);
}

}  // namespace
