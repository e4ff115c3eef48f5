#pragma once
#include "base/MKCrashGuard.h"
#include "base/MKString.h"

#include <windows.h>
#include <oaidl.h>

// What the control library keeps for the process: its instance handle, the
// count of live objects and server locks (DllCanUnloadNow), the control
// window's class, the type library and the crash guard of its entry points.
// Set up by DllMain; apartment-threaded objects only, but the count is locked
// because COM may ask DllCanUnloadNow from any thread.
class PlovapointModule {
public:
    static void Attach(HINSTANCE instance);
    // Unregisters the window classes registered so far.
    static void Detach();

    static HINSTANCE Instance();
    // The library's full path (ANSI code page); empty when it cannot be had.
    static MKString Path();

    static void Lock();
    static void Unlock();
    static LONG LockCount();

    // Registers the class once per process; true when it is registered.
    static bool RegisterWindowClass(const char* name, WNDPROC procedure, UINT style = CS_DBLCLKS);

    // TYPELIB 1 of this library, with one reference for the caller.
    static HRESULT LoadTypeLibrary(ITypeLib** library);

    // Runs a COM method's body inside the crash guard: E_UNEXPECTED when it
    // faults or throws.
    template <class Body>
    static HRESULT Guard(Body&& body)
    {
        return MKCrashGuard(GuardRecord(), HRESULT(E_UNEXPECTED), body);
    }
    // The same for a window procedure: DefWindowProc answers when it fails.
    template <class Body>
    static LRESULT GuardMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, Body&& body)
    {
        LRESULT result = 0;
        if (!MKCrashGuard(GuardRecord(), [&] { result = body(); }))
            return DefWindowProcA(window, message, wParam, lParam);
        return result;
    }

private:
    static MKExceptionInfo& GuardRecord();
};
