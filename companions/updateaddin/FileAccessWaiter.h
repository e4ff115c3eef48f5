#pragma once
#include <windows.h>
#include <stdint.h>

#include "base/MKHandyWindow.h"
#include "base/MKStopwatch.h"

class UpdateSteps;

// Runs the steps of an update from a hidden window on the thread that made
// it: step 0 on the start message, then step 1 every 50 ms until it is done,
// or the timeout step on the first tick after the timeout (never on the
// first tick). The timeout counts from the moment the main add-in's library
// has left the process; waiting for that is bounded by the release limit.
// The steps must outlive the waiter.
class FileAccessWaiter : private MKHandyWindowOwner {
public:
    static const UINT kStartMessage = 1125;

    FileAccessWaiter() = default;
    // Kills the timer and destroys the window.
    virtual ~FileAccessWaiter();
    FileAccessWaiter(const FileAccessWaiter&) = delete;
    FileAccessWaiter& operator=(const FileAccessWaiter&) = delete;

    // Keeps the steps and timeouts and creates the window in the instance;
    // false when the window exists already or cannot be made.
    bool Start(HINSTANCE instance, UpdateSteps* steps, int64_t timeoutMs, int64_t releaseLimitMs = 30000);
    // Posts the start message; false without a window or when the post fails.
    bool PostStart();
    // Kills the timer and destroys the window.
    void Stop();

    bool IsRunning() const { return m_window.Handle() != nullptr; }

private:
    LRESULT HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnStart();
    void OnTick();

    MKHandyWindow m_window;
    MKStopwatch m_stopwatch;
    MKStopwatch m_releaseWatch;
    UpdateSteps* m_steps = nullptr;
    int64_t m_timeoutMs = 0;
    int64_t m_releaseLimitMs = 0;
    UINT_PTR m_timer = 0;
    bool m_ticked = false;
};
