#include "addin/core/ShellHook.h"

#include "addin/core/AddInGuard.h"
#include "addin/core/AddInModule.h"
#include "addin/core/ShowWindowListener.h"
#include "base/MKHandyWindow.h"
#include "base/MKString.h"
#include "base/MKTArray.h"

#include <wchar.h>

namespace {

// Posted to the step window with the new show window in wParam.
const UINT kShowWindowCreated = WM_APP + 1;

// Runs the look-ups the hook posts, once PowerPoint has finished creating
// the window.
class PostedSteps final : public MKHandyWindowOwner {
public:
    LRESULT HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
};

MKTArray<ShowWindowListener*> s_registered;
HHOOK s_hook = nullptr;
PostedSteps s_steps;
MKHandyWindow s_stepWindow;

void ReportShowWindow(HWND window)
{
    if (!IsWindow(window))
        return;
    for (int i = 0; i < s_registered.GetCount(); ++i)
        s_registered[i]->OnShowWindowCreated(window);
}

LRESULT PostedSteps::HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kShowWindowCreated) {
        ReportShowWindow(reinterpret_cast<HWND>(wParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool IsShowWindowClass(HWND window)
{
    wchar_t name[512];
    return GetClassNameW(window, name, 512) == 11 && wcscmp(name, L"screenClass") == 0;
}

LRESULT CALLBACK HookProcedure(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HSHELL_WINDOWCREATED) {
        HWND window = reinterpret_cast<HWND>(wParam);
        static AddInGuardRecord s_guard;
        AddInGuarded(s_guard, nullptr, [&] {
            if (!IsShowWindowClass(window))
                return;
            MKString title;
            int length = GetWindowTextLengthW(window);
            wchar_t* text = title.PrepareOverwrite(length);
            if (!text)
                return;
            title.SetLength(GetWindowTextW(window, text, length + 1));
            if (ShellHook::TitleNamesPresentation(title.GetText()))
                PostMessageW(s_stepWindow.Handle(), kShowWindowCreated, wParam, 0);
        });
    }
    return CallNextHookEx(s_hook, code, wParam, lParam);
}

}  // namespace

bool ShellHook::TitleNamesPresentation(const wchar_t* title)
{
    const wchar_t* open = wcschr(title, L'[');
    const wchar_t* close = open ? wcschr(open + 1, L']') : nullptr;
    return close && close > open + 1;
}

void ShellHook::Register(ShowWindowListener* listener)
{
    if (listener && s_registered.IndexOf(listener) < 0)
        s_registered.Add(listener);
    HINSTANCE instance = ModuleInstance();
    if (!instance || s_hook)
        return;
    if (!s_stepWindow.Handle() && !s_stepWindow.Create(instance, &s_steps))
        return;
    s_hook = SetWindowsHookExW(WH_SHELL, HookProcedure, nullptr, GetCurrentThreadId());
    if (!s_hook)
        s_stepWindow.DestroyWindow();
}

void ShellHook::Unregister(ShowWindowListener* listener)
{
    int index = s_registered.IndexOf(listener);
    if (index >= 0)
        s_registered.RemoveAt(index);
    if (s_registered.IsEmpty() && s_hook) {
        UnhookWindowsHookEx(s_hook);
        s_hook = nullptr;
        s_stepWindow.DestroyWindow();
    }
}

void ShellHook::FreeRegistrations()
{
    s_registered.RemoveAll();
}
