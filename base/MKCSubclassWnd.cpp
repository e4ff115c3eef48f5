#include "base/MKCSubclassWnd.h"

#include "base/MKCSubclassWndMap.h"

MK_TEXT_NAMESPACE_BEGIN

MKCSubclassWnd::~MKCSubclassWnd()
{
    Detach();
}

bool MKCSubclassWnd::Attach(HWND window)
{
    if (m_window && m_window == window)
        return true;
    Detach();
    return !window || MKCSubclassWndMap::GetInstance().Add(window, this);
}

void MKCSubclassWnd::Detach()
{
    if (m_window)
        MKCSubclassWndMap::GetInstance().Remove(this);
}

LRESULT MKCSubclassWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_next)
        return m_next->WindowProc(message, wParam, lParam);
    if (!m_savedProc)
        return 0;
    return CallWindowProc(m_savedProc, m_window, message, wParam, lParam);
}

MK_TEXT_NAMESPACE_END
