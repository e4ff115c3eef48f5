#include "addin/update/StepHolder.h"

void StepHolder::Cancel()
{
    m_link = nullptr;
    m_routine = nullptr;
    m_argument = 0;
    m_window.DestroyWindow();
}

StepHolder* StepHolder::Post(HINSTANCE instance, UpdaterLink* link, Routine routine, int32_t argument)
{
    StepHolder* holder = new StepHolder(link, routine, argument);
    if (!holder->m_window.Create(instance, holder) || !PostMessageW(holder->m_window.Handle(), WM_USER, 0, 0)) {
        delete holder;
        return nullptr;
    }
    return holder;
}

LRESULT StepHolder::HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_USER)
        return DefWindowProcW(window, message, wParam, lParam);
    if (m_link && m_routine) {
        m_running = true;
        (m_link->*m_routine)(m_argument);
        m_running = false;
    }
    return 0;
}
