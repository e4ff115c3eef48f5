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

    void SetCallback(Callback callback) { callback_ = callback; }
    void SetListener(MKTimerListener* listener) { listener_ = listener; }
    void SetUserData(void* user) { user_ = user; }
    void* UserData() const { return user_; }

    unsigned Period() const { return period_; }
    bool IsRunning() const { return running_ != 0; }
    uint32_t Ticks() const { return ticks_; }
    const MKStopwatch& Stopwatch() const { return stopwatch_; }
    HWND Window() const { return window_.Handle(); }

    LRESULT HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    MKHandyWindow window_;
    unsigned period_ = 100;
    Callback callback_ = nullptr;
    MKTimerListener* listener_ = nullptr;
    void* user_ = nullptr;
    UINT_PTR running_ = 0;  // also the timer's identifier
    MKStopwatch stopwatch_;
    uint32_t ticks_ = 0;
};
