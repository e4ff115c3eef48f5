#include "addin/effects/SlideShowMessageWindow.h"

#include "addin/effects/SlideShowSession.h"
#include "base/MKCrashGuard.h"
#include "base/MKExceptionInfo.h"
#include "base/MKRefHolder.h"

namespace {

const wchar_t kClassName[] = L"VistelloMessageWindow";
ATOM s_class = 0;
HINSTANCE s_classInstance = nullptr;

}  // namespace

bool SlideShowMessageWindow::RegisterWindowClass(HINSTANCE instance)
{
    if (s_class)
        return true;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    s_class = RegisterClassW(&windowClass);
    s_classInstance = s_class ? instance : nullptr;
    return s_class != 0;
}

void SlideShowMessageWindow::UnregisterWindowClass()
{
    if (!s_class)
        return;
    UnregisterClassW(reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(s_class)), s_classInstance);
    s_class = 0;
    s_classInstance = nullptr;
}

UINT SlideShowMessageWindow::VerbMessage()
{
    static UINT s_message = RegisterWindowMessageW(L"{7A121FE9-1253-48e4-9337-9205C2B179DF}");
    return s_message;
}

SlideShowMessageWindow::~SlideShowMessageWindow()
{
    Destroy();
    m_session = nullptr;
}

bool SlideShowMessageWindow::Create(HWND parent)
{
    // The class belongs to the module that holds this code.
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&WindowProc), &module);
    if (m_window || !RegisterWindowClass(module))
        return false;
    CreateWindowExW(0, kClassName, kClassName, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0, parent,
                    nullptr, s_classInstance, this);
    return m_window != nullptr;
}

void SlideShowMessageWindow::Destroy()
{
    if (m_window)
        DestroyWindow(m_window);
    m_window = nullptr;
}

LRESULT CALLBACK SlideShowMessageWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, static_cast<LRESULT>(0), [&]() -> LRESULT {
        if (message == WM_NCCREATE) {
            auto* self = static_cast<SlideShowMessageWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            self->m_window = window;
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        auto* self = reinterpret_cast<SlideShowMessageWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            if (self)
                self->m_window = nullptr;
            self = nullptr;
        }
        if (!self)
            return DefWindowProcW(window, message, wParam, lParam);
        return self->HandleMessage(message, wParam, lParam);
    });
}

LRESULT SlideShowMessageWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        if (BeginPaint(m_window, &paint))
            EndPaint(m_window, &paint);
        return 0;
    }
    case WM_TIMER:
        if (wParam == SlideShowSession::kFrameTimerId && m_session) {
            // The tick may stop the session, which deletes this window.
            MKRefHolder<SlideShowSession> session;
            session.AssignPointer(m_session);
            session->OnFrameTick();
        }
        return 0;
    default:
        break;
    }
    if (message == VerbMessage()) {
        if (m_session) {
            MKRefHolder<SlideShowSession> session;
            session.AssignPointer(m_session);
            session->OnVerb(static_cast<int>(wParam) - 10);
        }
        return 0;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}
