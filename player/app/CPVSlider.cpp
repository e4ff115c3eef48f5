#include "player/app/CPVSlider.h"

#include "player/app/CPVSliderCallback.h"

#include <commctrl.h>
#include <windowsx.h>

#include <stdint.h>

namespace {

const char kClassName[] = "PVSlider";
const int kInset = 7;  // the thumb's half width: its centre never leaves the groove

bool RegisterSliderClass(WNDPROC procedure)
{
    WNDCLASSA existing;
    if (GetClassInfoA(GetModuleHandleA(nullptr), kClassName, &existing))
        return true;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    return RegisterClassA(&windowClass) != 0;
}

COLORREF Mix(COLORREF remaining, COLORREF face)
{
    return RGB((GetRValue(remaining) + 2 * GetRValue(face)) / 3, (GetGValue(remaining) + 2 * GetGValue(face)) / 3,
               (GetBValue(remaining) + 2 * GetBValue(face)) / 3);
}

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour)
{
    RECT rect = {left, top, right, bottom};
    SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

// A 3D outline: topLeft on the top and left edges, bottomRight on the others.
void Frame3d(HDC dc, int left, int top, int right, int bottom, COLORREF topLeft, COLORREF bottomRight)
{
    Fill(dc, left, top, right - 1, top + 1, topLeft);
    Fill(dc, left, top, left + 1, bottom - 1, topLeft);
    Fill(dc, right - 1, top, right, bottom, bottomRight);
    Fill(dc, left, bottom - 1, right, bottom, bottomRight);
}

}  // namespace

CPVSlider::CPVSlider()
    : m_faceColour(GetSysColor(COLOR_BTNFACE)),
      m_shadowColour(GetSysColor(COLOR_BTNSHADOW)),
      m_highlightColour(GetSysColor(COLOR_BTNHIGHLIGHT))
{
}

CPVSlider::~CPVSlider()
{
    if (m_window)
        DestroyWindow(m_window);
}

bool CPVSlider::Create(DWORD style, const RECT& rect, HWND parent, UINT id)
{
    if (!RegisterSliderClass(&WindowProc))
        return false;
    m_window = CreateWindowExA(0, kClassName, "", style | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                               rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(UINT_PTR(id)),
                               GetModuleHandleA(nullptr), this);
    return m_window != nullptr;
}

LRESULT CALLBACK CPVSlider::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<CPVSlider*>(create->lpCreateParams)->m_window = window;
    }
    auto* slider = reinterpret_cast<CPVSlider*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!slider)
        return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        slider->m_window = nullptr;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return slider->OnMessage(message, wParam, lParam);
}

LRESULT CPVSlider::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(m_window, &paint);
        Paint(dc);
        EndPaint(m_window, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
        if (!m_captured) {
            SetCapture(m_window);
            m_captured = true;
        }
        Track(GET_X_LPARAM(lParam));
        return 0;
    case WM_MOUSEMOVE:
        if (wParam & MK_LBUTTON)
            Track(GET_X_LPARAM(lParam));
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (m_captured) {
            m_captured = false;
            if (message == WM_LBUTTONUP)
                ReleaseCapture();
        }
        return 0;
    case WM_ENABLE:
        if (!wParam && m_captured) {
            m_captured = false;
            ReleaseCapture();
        }
        Redraw(false);
        return 0;
    case TBM_GETPOS:
        return m_position;
    case TBM_GETRANGEMIN:
        return m_minimum;
    case TBM_GETRANGEMAX:
        return m_maximum;
    default:
        return DefWindowProcA(m_window, message, wParam, lParam);
    }
}

void CPVSlider::Track(int x)
{
    if (!IsWindowEnabled(m_window))
        return;
    RECT client;
    GetClientRect(m_window, &client);
    int low = client.left + kInset;
    int high = client.right - kInset;
    if (high <= low)
        return;
    x = x < low ? low : (x > high ? high : x);
    int position = m_minimum + int(int64_t(x - low) * (m_maximum - m_minimum) / (high - low));
    if (position == m_position)
        return;
    m_position = position;
    if (m_callback)
        m_callback->OnSliderEvent(kPVSliderMoved, position, this);
    Redraw(false);
}

void CPVSlider::SetPosition(int position)
{
    position = position < m_minimum ? m_minimum : (position > m_maximum ? m_maximum : position);
    if (position != m_position) {
        m_position = position;
        Redraw(false);
    }
}

void CPVSlider::SetMinimum(int minimum, bool redrawNow)
{
    if (minimum > m_maximum || minimum == m_minimum)
        return;
    m_minimum = minimum;
    Redraw(redrawNow);
}

void CPVSlider::SetMaximum(int maximum, bool redrawNow)
{
    if (maximum < m_minimum || maximum == m_maximum)
        return;
    m_maximum = maximum;
    Redraw(redrawNow);
}

void CPVSlider::SetRange(int minimum, int maximum, bool redrawNow)
{
    if (maximum < minimum)
        return;
    m_minimum = minimum;
    m_maximum = maximum;
    if (m_position < minimum || m_position > maximum)
        m_position = m_position < minimum ? minimum : maximum;
    Redraw(redrawNow);
}

void CPVSlider::Redraw(bool now)
{
    if (!m_window)
        return;
    if (now)
        RedrawWindow(m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    else
        InvalidateRect(m_window, nullptr, TRUE);
}

void CPVSlider::Paint(HDC dc)
{
    RECT client;
    GetClientRect(m_window, &client);
    int width = client.right - client.left;
    int height = client.bottom - client.top;
    Fill(dc, client.left, client.top, client.right, client.bottom, m_faceColour);

    int grooveLeft = client.left + 6;
    int grooveRight = client.right - 5;
    int grooveTop = client.top + (height - 6) / 2;
    int grooveBottom = grooveTop + 7;
    if (grooveRight <= grooveLeft)
        return;
    Frame3d(dc, grooveLeft, grooveTop, grooveRight, grooveBottom, m_shadowColour, m_highlightColour);
    if (!IsWindowEnabled(m_window)) {
        Fill(dc, grooveLeft + 1, grooveTop + 1, grooveRight - 1, grooveBottom - 1, m_faceColour);
        return;
    }
    int range = m_maximum - m_minimum;
    int offset = range > 0 ? int(int64_t(width - 14) * (m_position - m_minimum) / range) : 0;
    int centre = client.left + kInset + offset;
    Fill(dc, grooveLeft + 1, grooveTop + 1, centre, grooveBottom - 1, Mix(m_remainingColour, m_faceColour));
    Fill(dc, centre, grooveTop + 1, grooveRight - 1, grooveBottom - 1, m_remainingColour);

    // The thumb: 12 x 14, raised, with a white notch in the middle.
    int left = centre - 6;
    int top = client.top + (height - 14) / 2;
    Fill(dc, left, top, left + 12, top + 14, m_faceColour);
    Frame3d(dc, left, top, left + 12, top + 14, m_highlightColour, m_darkColour);
    Frame3d(dc, left + 1, top + 1, left + 11, top + 13, m_faceColour, m_shadowColour);
    Fill(dc, centre - 1, top + 4, centre, top + 10, m_remainingColour);
    Fill(dc, centre, top + 4, centre + 1, top + 10, m_shadowColour);
}
