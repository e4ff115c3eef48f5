#include "setup/BusyCursor.h"

#include "base/MKString.h"

void DismissBusyCursor(HINSTANCE instance)
{
    MKString className = MKString::FromFormat(L"_vistello_setup_handy_class_%u%u",
                                              unsigned(reinterpret_cast<UINT_PTR>(instance)), unsigned(GetTickCount()));
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = className.GetText();
    if (!RegisterClassW(&windowClass))
        return;
    HWND window = CreateWindowExW(0, className.GetText(), nullptr, WS_POPUP, -20, -20, 10, 10, GetDesktopWindow(),
                                  nullptr, instance, nullptr);
    if (window) {
        if (PostMessageW(window, WM_USER, 0, 0)) {
            MSG message;
            GetMessageW(&message, window, 0, 0);
        }
        DestroyWindow(window);
    }
    UnregisterClassW(className.GetText(), instance);
}
