#include "base/MKTimer.h"

MKTimer::~MKTimer()
{
    m_callback = nullptr;
    m_listener = nullptr;
    m_user = nullptr;
    Stop();
}

bool MKTimer::Start()
{
    if (m_running)
        return true;
    if (!m_window.Handle() && !m_window.Create(GetModuleHandleW(nullptr), this))
        return false;
    if (!SetTimer(m_window.Handle(), 1, m_period, nullptr))
        return false;
    m_running = 1;
    m_stopwatch.Start();
    return true;
}

void MKTimer::Stop()
{
    if (!m_running)
        return;
    KillTimer(m_window.Handle(), m_running);
    m_running = 0;
    m_stopwatch.Stop();
}

void MKTimer::SetPeriod(unsigned ms)
{
    if (ms == m_period)
        return;
    m_period = ms;
    if (m_running) {
        Stop();
        Start();
    }
}

LRESULT MKTimer::HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_TIMER)
        return DefWindowProcW(window, message, wParam, lParam);
    ++m_ticks;
    if (m_callback)
        m_callback(this);
    else if (m_listener)
        m_listener->OnTimer(this);
    return 0;
}
