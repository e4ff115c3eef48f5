#include "base/MKTimer.h"

MKTimer::~MKTimer()
{
    callback_ = nullptr;
    listener_ = nullptr;
    user_ = nullptr;
    Stop();
}

bool MKTimer::Start()
{
    if (running_)
        return true;
    if (!window_.Handle() && !window_.Create(GetModuleHandleW(nullptr), this))
        return false;
    if (!SetTimer(window_.Handle(), 1, period_, nullptr))
        return false;
    running_ = 1;
    stopwatch_.Start();
    return true;
}

void MKTimer::Stop()
{
    if (!running_)
        return;
    KillTimer(window_.Handle(), running_);
    running_ = 0;
    stopwatch_.Stop();
}

void MKTimer::SetPeriod(unsigned ms)
{
    if (ms == period_)
        return;
    period_ = ms;
    if (running_) {
        Stop();
        Start();
    }
}

LRESULT MKTimer::HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_TIMER)
        return DefWindowProcW(window, message, wParam, lParam);
    ++ticks_;
    if (callback_)
        callback_(this);
    else if (listener_)
        listener_->OnTimer(this);
    return 0;
}
