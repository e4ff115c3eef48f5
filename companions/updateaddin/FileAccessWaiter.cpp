#include "companions/updateaddin/FileAccessWaiter.h"

#include "companions/updateaddin/UpdateSteps.h"

namespace {

const UINT_PTR kTimerId = 1;
const UINT kTickMs = 50;

}  // namespace

FileAccessWaiter::~FileAccessWaiter()
{
    Stop();
}

bool FileAccessWaiter::Start(HINSTANCE instance, UpdateSteps* steps, int64_t timeoutMs, int64_t releaseLimitMs)
{
    m_steps = steps;
    m_timeoutMs = timeoutMs;
    m_releaseLimitMs = releaseLimitMs;
    if (m_window.Handle())
        return false;
    return m_window.Create(instance, this);
}

bool FileAccessWaiter::PostStart()
{
    return m_window.Handle() && PostMessageW(m_window.Handle(), kStartMessage, 0, 0);
}

void FileAccessWaiter::Stop()
{
    if (m_timer && m_window.Handle())
        KillTimer(m_window.Handle(), m_timer);
    m_timer = 0;
    m_window.DestroyWindow();
}

LRESULT FileAccessWaiter::HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The handy window's procedure runs inside the crash guard and answers 0
    // after a failure, as both messages want.
    if (message == kStartMessage) {
        OnStart();
        return 0;
    }
    if (message == WM_TIMER && wParam == kTimerId) {
        OnTick();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void FileAccessWaiter::OnStart()
{
    if (!m_steps->StepReleaseMainAddIn())
        return;
    m_stopwatch.Reset();
    m_stopwatch.Start();
    m_releaseWatch.Reset();
    m_releaseWatch.Start();
    m_ticked = false;
    m_timer = SetTimer(m_window.Handle(), kTimerId, kTickMs, nullptr);
}

void FileAccessWaiter::OnTick()
{
    bool released = m_steps->IsMainAddInReleased();
    if (!released && m_releaseWatch.ElapsedMs() <= m_releaseLimitMs) {
        // The files cannot be free yet: the timeout starts once they can.
        m_stopwatch.Reset();
        m_stopwatch.Start();
        return;
    }
    bool timedOut = !released || (m_timeoutMs > 0 && m_stopwatch.ElapsedMs() > m_timeoutMs);
    if (timedOut && m_ticked) {
        Stop();
        m_steps->StepTimeout();
        return;
    }
    m_ticked = true;
    if (released)
        m_steps->StepInstallFiles();
}
