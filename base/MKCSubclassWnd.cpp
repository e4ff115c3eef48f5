#include "base/MKCSubclassWnd.h"

#include "base/MKCSubclassWndMap.h"

MKCSubclassWnd::~MKCSubclassWnd()
{
    Detach();
}

bool MKCSubclassWnd::Attach(HWND window)
{
    if (window_ && window_ == window)
        return true;
    Detach();
    return !window || MKCSubclassWndMap::GetInstance().Add(window, this);
}

void MKCSubclassWnd::Detach()
{
    if (window_)
        MKCSubclassWndMap::GetInstance().Remove(this);
}

LRESULT MKCSubclassWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (next_)
        return next_->WindowProc(message, wParam, lParam);
    if (!savedProc_)
        return 0;
    return CallWindowProcW(savedProc_, window_, message, wParam, lParam);
}
