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
    if (atom_)
        UnregisterClassW(className_.GetText(), instance_);
}

bool MKHandyWindow::Create(HINSTANCE instance, MKHandyWindowOwner* owner)
{
    instance_ = instance;
    owner_ = owner;
    if (window_)
        return false;
    if (!atom_) {
        className_ = NewClassName();
        atom_ = RegisterHandyClass(instance, className_, WindowProc);
        if (!atom_)
            return false;
    }
    CreateHandyWindow(instance, className_, this);
    return window_ != nullptr;
}

void MKHandyWindow::DestroyWindow()
{
    if (window_) {
        ::DestroyWindow(window_);
        window_ = nullptr;
    }
}

LRESULT CALLBACK MKHandyWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, static_cast<LRESULT>(0), [&]() -> LRESULT {
        MKHandyWindow* self;
        if (message == WM_NCCREATE) {
            self = static_cast<MKHandyWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            self->window_ = window;
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<MKHandyWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
            if (!self)
                return DefWindowProcW(window, message, wParam, lParam);
        }
        LRESULT result = self->owner_ ? self->owner_->HandleWindowMessage(window, message, wParam, lParam)
                                      : DefWindowProcW(window, message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            self->window_ = nullptr;
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
