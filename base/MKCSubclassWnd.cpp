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
    return MKCSubclassWndMap::GetInstance().PassOn(this, message, wParam, lParam);
}

MK_TEXT_NAMESPACE_END
