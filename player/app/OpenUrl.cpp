#include "player/app/OpenUrl.h"

#include <windows.h>

void OpenUrl(const char* target)
{
    if (!target)
        return;
    HMODULE shell = LoadLibraryA("SHELL32.DLL");
    if (!shell)
        return;
    typedef HINSTANCE(WINAPI * ShellExecuteFunction)(HWND, const char*, const char*, const char*, const char*, int);
    auto execute = reinterpret_cast<ShellExecuteFunction>(
        reinterpret_cast<void*>(GetProcAddress(shell, "ShellExecuteA")));
    if (execute)
        execute(nullptr, "open", target, nullptr, nullptr, SW_SHOWNORMAL);
    FreeLibrary(shell);
}
