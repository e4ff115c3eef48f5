#include "base/MKHandyWindow.h"

#include "base/MKCrashGuard.h"
#include "base/MKGuid.h"

namespace {

MKString NewClassName()
{
    MKGuid guid;
    guid.Create();
    return MKString::PrependText(L"_brelix_handy_class_", guid.FormatLower());
}

ATOM RegisterHandyClass(HINSTANCE instance, const MKString& name, WNDPROC windowProc)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = name.GetText();
    return RegisterClassW(&windowClass);
}

HWND CreateHandyWindow(HINSTANCE instance, const MKString& className, void* creationParameter)
{
    return CreateWindowExW(0, className.GetText(), nullptr, WS_POPUP, -20, -20, 10, 10, GetDesktopWindow(),
                           nullptr, instance, creationParameter);
}

}  // namespace

MKHandyWindow::~MKHandyWindow()
{
    DestroyWindow();
    if (m_atom)
        UnregisterClassW(m_className.GetText(), m_instance);
}

bool MKHandyWindow::Create(HINSTANCE instance, MKHandyWindowOwner* owner)
{
    m_instance = instance;
    m_owner = owner;
    if (m_window)
        return false;
    if (!m_atom) {
        m_className = NewClassName();
        m_atom = RegisterHandyClass(instance, m_className, WindowProc);
        if (!m_atom)
            return false;
    }
    CreateHandyWindow(instance, m_className, this);
    return m_window != nullptr;
}

void MKHandyWindow::DestroyWindow()
{
    if (m_window) {
        ::DestroyWindow(m_window);
        m_window = nullptr;
    }
}

LRESULT CALLBACK MKHandyWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, static_cast<LRESULT>(0), [&]() -> LRESULT {
        MKHandyWindow* self;
        if (message == WM_NCCREATE) {
            self = static_cast<MKHandyWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            self->m_window = window;
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<MKHandyWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
            if (!self)
                return DefWindowProcW(window, message, wParam, lParam);
        }
        LRESULT result = self->m_owner ? self->m_owner->HandleWindowMessage(window, message, wParam, lParam)
                                      : DefWindowProcW(window, message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            self->m_window = nullptr;
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        }
        return result;
    });
}

HWND MKCreateHandyWindow(HINSTANCE instance, WNDPROC windowProc, void* creationParameter)
{
    MKString className = NewClassName();
    if (!RegisterHandyClass(instance, className, windowProc))
        return nullptr;
    HWND window = CreateHandyWindow(instance, className, creationParameter);
    if (!window)
        UnregisterClassW(className.GetText(), instance);
    return window;
}
