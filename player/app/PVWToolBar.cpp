#include "player/app/PVWToolBar.h"

#include "player/app/PVPlaybackView.h"
#include "player/app/PVToolBarImages.h"
#include "player/app/PVUIFeedBack.h"

#include <commctrl.h>

namespace {

const UINT kButtonCommands[3] = {kPVCommandPlay, kPVCommandPause, kPVCommandStop};
const int kSeekBarIndex = 4;

}  // namespace

PVWToolBar::~PVWToolBar()
{
    Detach();
}

bool PVWToolBar::Create(HWND parent, UINT id, DWORD alignStyle)
{
    InitCommonControls();
    m_window = CreateWindowExA(0, TOOLBARCLASSNAMEA, "",
                               WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | alignStyle, 0,
                               0, 0, 0, parent, reinterpret_cast<HMENU>(UINT_PTR(id)), GetModuleHandleA(nullptr),
                               nullptr);
    if (!m_window)
        return false;
    SendMessageA(m_window, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    return true;
}

int PVWToolBar::Attach(PVPlaybackView* view)
{
    m_view = view;
    if (!m_window)
        return -1;
    TBADDBITMAP images = {nullptr, reinterpret_cast<UINT_PTR>(PVCreateToolBarImages())};
    SendMessageA(m_window, TB_SETBITMAPSIZE, 0, MAKELPARAM(kPVToolBarImageSize, kPVToolBarImageSize));
    SendMessageA(m_window, TB_ADDBITMAP, 3, reinterpret_cast<LPARAM>(&images));
    TBBUTTON buttons[5] = {};
    for (int i = 0; i < 3; ++i) {
        buttons[i].iBitmap = i;
        buttons[i].idCommand = int(kButtonCommands[i]);
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = BTNS_CHECK;
    }
    buttons[3].iBitmap = 12;
    buttons[3].fsStyle = BTNS_SEP;
    buttons[4].iBitmap = 360;
    buttons[4].idCommand = int(kPVCommandSeekBar);
    buttons[4].fsStyle = BTNS_SEP;
    SendMessageA(m_window, TB_ADDBUTTONSA, 5, reinterpret_cast<LPARAM>(buttons));
    SendMessageA(m_window, TB_AUTOSIZE, 0, 0);

    if (!m_slider.GetSafeHwnd()) {
        RECT item = {};
        SendMessageA(m_window, TB_GETITEMRECT, kSeekBarIndex, reinterpret_cast<LPARAM>(&item));
        if (!m_slider.Create(WS_VISIBLE, item, m_window, kPVCommandSeekBar))
            return -1;
        MKCSubclassWnd::Attach(m_window);
    }
    Reposition();
    m_slider.SetRange(0, 0, false);
    m_slider.SetPosition(0);
    EnableWindow(m_slider.GetSafeHwnd(), FALSE);
    m_slider.SetCallback(this);
    m_sliderEnabled = false;
    return 0;
}

void PVWToolBar::Reposition()
{
    if (!m_slider.GetSafeHwnd())
        return;
    RECT item = {};
    RECT client = {};
    SendMessageA(m_window, TB_GETITEMRECT, kSeekBarIndex, reinterpret_cast<LPARAM>(&item));
    GetClientRect(m_window, &client);
    int width = client.right - 1 - item.left;
    MoveWindow(m_slider.GetSafeHwnd(), item.left, item.top, width > 0 ? width : 0, item.bottom - item.top, TRUE);
}

LRESULT PVWToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = MKCSubclassWnd::WindowProc(message, wParam, lParam);
    if (message == WM_SIZE && lParam != 0)
        Reposition();
    return result;
}

void PVWToolBar::SetButtonState(int index, bool down, bool enabled)
{
    if (index < 0 || index > 2 || !m_window)
        return;
    TBBUTTONINFOA info = {};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_BYINDEX | TBIF_COMMAND | TBIF_STATE | TBIF_IMAGE;
    info.iImage = index;
    if (enabled) {
        info.idCommand = int(kButtonCommands[index]);
        info.fsState = BYTE(TBSTATE_ENABLED | (down ? TBSTATE_CHECKED : 0));
    } else {
        info.idCommand = 0;
        info.fsState = 0;
    }
    SendMessageA(m_window, TB_SETBUTTONINFOA, WPARAM(index), reinterpret_cast<LPARAM>(&info));
}

void PVWToolBar::UpdateButtons()
{
    int state = m_view ? m_view->GetState() : kPVStateNone;
    switch (state) {
    case kPVStatePaused:
        SetButtonState(0, false, true);
        SetButtonState(1, true, true);
        SetButtonState(2, false, true);
        break;
    case kPVStatePlaying:
        SetButtonState(0, true, true);
        SetButtonState(1, false, true);
        SetButtonState(2, false, true);
        break;
    case kPVStateStopped:
    case kPVStateEnded:
        SetButtonState(0, false, true);
        SetButtonState(1, false, false);
        SetButtonState(2, true, true);
        break;
    default:
        for (int i = 0; i < 3; ++i)
            SetButtonState(i, false, false);
        break;
    }
    ApplySliderEnable(state);
}

void PVWToolBar::ApplySliderEnable(int state)
{
    bool enable = m_sliderMax >= 0 && state != kPVStateNone;
    if (enable == m_sliderEnabled)
        return;
    m_sliderEnabled = enable;
    if (HWND slider = m_slider.GetSafeHwnd()) {
        EnableWindow(slider, enable);
        if (!enable)
            InvalidateRect(slider, nullptr, TRUE);
    }
}

void PVWToolBar::SetFrameCount(int count)
{
    if (count > 1) {
        m_sliderMax = count;
        ApplySliderEnable(m_view ? m_view->GetState() : kPVStateNone);
        m_slider.SetMaximum(count - 1, false);
        return;
    }
    m_sliderMax = -1;
    m_slider.SetPosition(0);
    m_sliderEnabled = false;
    if (HWND slider = m_slider.GetSafeHwnd()) {
        EnableWindow(slider, FALSE);
        InvalidateRect(slider, nullptr, TRUE);
    }
}

void PVWToolBar::SetPosition(int frame)
{
    if (m_sliderMax >= 0)
        m_slider.SetPosition(frame);
}

void PVWToolBar::OnSliderEvent(int code, int position, CPVSlider*)
{
    if (code != kPVSliderMoved || !m_view)
        return;
    if (m_view->GetState() == kPVStatePlaying)
        m_view->Pause();
    m_view->Seek(position);
}
