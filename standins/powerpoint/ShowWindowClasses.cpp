#include "standins/powerpoint/ShowWindowClasses.h"

#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/CallLog.h"
#include "standins/powerpoint/PageSetupObject.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/SlidePainter.h"
#include "standins/powerpoint/SlideShowViewObject.h"
#include "standins/powerpoint/SlideShowWindowObject.h"
#include "standins/powerpoint/WindowMessageLog.h"

namespace standin {

namespace {

const wchar_t kScreenClass[] = L"screenClass";
const wchar_t kPaneClass[] = L"paneClassDC";

struct CreateParams {
    SlideShowWindowObject* show;
    bool titledPane;
};

SlideShowWindowObject* ShowOf(HWND window)
{
    return reinterpret_cast<SlideShowWindowObject*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// Keys as PowerPoint's show takes them; false for keys it ignores.
bool HandleKey(SlideShowWindowObject* show, WPARAM key)
{
    SlideShowViewObject* view = show->View();
    show->AddRef();
    bool handled = true;
    switch (key) {
    case VK_RIGHT:
    case VK_DOWN:
    case VK_NEXT:
    case VK_SPACE:
    case VK_RETURN:
    case 'N':
        view->GoNext();
        break;
    case VK_LEFT:
    case VK_UP:
    case VK_PRIOR:
    case VK_BACK:
    case 'P':
        view->GoPrevious();
        break;
    case VK_HOME:
        view->GoTo(1);
        break;
    case VK_ESCAPE:
        show->End();
        break;
    case 'B':
    case 'W': {
        long screen = key == 'B' ? PowerPoint::ppSlideShowBlackScreen : PowerPoint::ppSlideShowWhiteScreen;
        view->SetState(view->State() == screen ? PowerPoint::ppSlideShowRunning : screen);
        break;
    }
    default:
        handled = false;
    }
    show->Release();
    return handled;
}

LRESULT PaneMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    SlideShowWindowObject* show = ShowOf(window);
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        PresentationObject* presentation = show ? show->Presentation() : nullptr;
        if (presentation) {
            PageSetupObject* page = presentation->PageSetup();
            PaintSlide(dc, client, show->View()->CurrentSlide(), page->Width(), page->Height(), show->View()->State());
        } else {
            FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        }
        EndPaint(window, &paint);
        return 0;
    }
    case WM_LBUTTONDOWN:
        if (show) {
            show->AddRef();
            show->View()->GoNext();
            show->Release();
        }
        return 0;
    case WM_KEYDOWN:
        return SendMessageW(GetParent(window), message, wParam, lParam);
    case 1045:
    case 1046:
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT ScreenMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    SlideShowWindowObject* show = ShowOf(window);
    switch (message) {
    case WM_NCCREATE: {
        auto* params = static_cast<CreateParams*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(params->show));
        break;
    }
    case WM_CREATE: {
        auto* params = static_cast<CreateParams*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        RECT client;
        GetClientRect(window, &client);
        HWND pane = CreateWindowExW(0, kPaneClass, params->titledPane ? L"Slide Show" : L"",
                                    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, client.right, client.bottom,
                                    window, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!pane)
            return -1;
        SetWindowLongPtrW(pane, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(params->show));
        params->show->OnWindowCreated(window, pane);
        return 0;
    }
    case WM_SIZE: {
        HWND pane = FindWindowExW(window, nullptr, kPaneClass, nullptr);
        if (pane)
            MoveWindow(pane, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_KEYDOWN:
        if (show && HandleKey(show, wParam))
            return 0;
        break;
    case WM_COMMAND:
        CallLog::Get().Note(L"ShowCommand." + std::to_wstring(LOWORD(wParam)));
        // The show window's own "previous" commands.
        if (show && (LOWORD(wParam) == 1774 || LOWORD(wParam) == 394)) {
            show->AddRef();
            show->View()->GoPrevious();
            show->Release();
        }
        return 0;
    case WM_CLOSE:
        if (show)
            show->End();
        return 0;
    case WM_NCDESTROY:
        if (show) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            show->OnWindowDestroyed();
        }
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// No exception leaves a window procedure: a failing message answers 0.
LRESULT CALLBACK PaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowMessageLog::Get().Note(window, message);
    try {
        return PaneMessage(window, message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

LRESULT CALLBACK ScreenProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowMessageLog::Get().Note(window, message);
    try {
        return ScreenMessage(window, message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

void RegisterClasses()
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    if (!GetClassInfoW(instance, kScreenClass, &windowClass)) {
        windowClass = WNDCLASSW{};
        windowClass.lpfnWndProc = ScreenProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kScreenClass;
        RegisterClassW(&windowClass);
    }
    if (!GetClassInfoW(instance, kPaneClass, &windowClass)) {
        windowClass = WNDCLASSW{};
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = PaneProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kPaneClass;
        RegisterClassW(&windowClass);
    }
}

}  // namespace

bool CreateShowWindows(SlideShowWindowObject* show, const std::wstring& title, long showType, bool titledPane)
{
    RegisterClasses();
    CreateParams params{show, titledPane};
    DWORD style = WS_POPUP | WS_CLIPCHILDREN;
    int left = 0;
    int top = 0;
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    if (showType == PowerPoint::ppShowTypeWindow) {
        style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
        left = top = 60;
        width = 640;
        height = 480;
    }
    HWND window = CreateWindowExW(0, kScreenClass, title.c_str(), style, left, top, width, height, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), &params);
    if (!window)
        return false;
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    UpdateWindow(window);
    return true;
}

void DestroyShowWindows(HWND window)
{
    HWND pane = FindWindowExW(window, nullptr, kPaneClass, nullptr);
    if (pane)
        SetWindowLongPtrW(pane, GWLP_USERDATA, 0);
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
}

}  // namespace standin
