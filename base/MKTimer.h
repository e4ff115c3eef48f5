#pragma once
#include <stdint.h>

#include "base/MKHandyWindow.h"
#include "base/MKStopwatch.h"

class MKTimer;

// Told of each tick of a timer that has no callback.
class MKTimerListener {
public:
    virtual void OnTimer(MKTimer* timer) = 0;

protected:
    ~MKTimerListener() = default;
};

// A periodic timer on a hidden window of its own, ticking on the thread that
// started it (which must pump messages). Each tick calls the callback, or the
// listener when there is no callback; either may delete the timer. The
// stopwatch runs exactly while the timer runs.
class MKTimer : public MKHandyWindowOwner {
public:
    using Callback = void (*)(MKTimer* timer);

    MKTimer() = default;
    virtual ~MKTimer();

    // True when running already; false when the window or the timer cannot be
    // made.
    bool Start();
    void Stop();
    // A running timer restarts with the new period; the same period changes
    // nothing.
    void SetPeriod(unsigned ms);

    void SetCallback(Callback callback) { m_callback = callback; }
    void SetListener(MKTimerListener* listener) { m_listener = listener; }
    void SetUserData(void* user) { m_user = user; }
    void* UserData() const { return m_user; }

    unsigned Period() const { return m_period; }
    bool IsRunning() const { return m_running != 0; }
    uint32_t Ticks() const { return m_ticks; }
    const MKStopwatch& Stopwatch() const { return m_stopwatch; }
    HWND Window() const { return m_window.Handle(); }

    LRESULT HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    MKHandyWindow m_window;
    unsigned m_period = 100;
    Callback m_callback = nullptr;
    MKTimerListener* m_listener = nullptr;
    void* m_user = nullptr;
    UINT_PTR m_running = 0;  // also the timer's identifier
    MKStopwatch m_stopwatch;
    uint32_t m_ticks = 0;
};
