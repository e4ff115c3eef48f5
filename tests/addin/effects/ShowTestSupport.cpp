#include "ShowTestSupport.h"

#include "standins/powerpoint/ApplicationObject.h"

bool TestShowHost::GetDetectedOfficeCode(int* code) const
{
    *code = officeCode;
    return detected;
}

HRESULT TestShowHost::GetMainWindow(HWND* window) const
{
    *window = m_powerPoint.App().MainWindow();
    return IsWindow(*window) ? S_OK : E_FAIL;
}

bool TestShowHost::FindPresentationForShowWindow(PowerPoint::SlideShowWindow* showWindow,
                                                 MKComHolder<PowerPoint::Presentation>& out) const
{
    PowerPoint::Presentation* presentation = nullptr;
    if (!showWindow || FAILED(showWindow->get_Presentation(&presentation)))
        return false;
    out.Attach(presentation);
    return true;
}

IUnknown* TestShowHost::CreateKernelSlide(IUnknown* showWindow, IUnknown* slide, IDispatch* nodeHost)
{
    IUnknown* object = nullptr;
    if (!kernel || FAILED(kernel->CreateObject(showWindow, slide, nodeHost, &object)))
        return nullptr;
    return object;
}

int PumpCountingTimer(DWORD milliseconds, HWND window, UINT_PTR timerId)
{
    int ticks = 0;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_TIMER && message.hwnd == window && message.wParam == timerId)
                ++ticks;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return ticks;
}

HWND FindMessageWindow(HWND pane)
{
    return FindWindowExW(pane, nullptr, L"VistelloMessageWindow", L"VistelloMessageWindow");
}

bool HasClassProcedure(HWND window)
{
    return GetWindowLongPtrW(window, GWLP_WNDPROC) == GetClassLongPtrW(window, GCLP_WNDPROC);
}
