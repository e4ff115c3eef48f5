#pragma once
#include <windows.h>

class ShowWindowListener;

// Spots PowerPoint's slide-show windows as they are created: a shell hook on
// the thread of the first registered listener, installed while any listener is
// registered. A new top-level window of class "screenClass" whose title holds
// a bracketed name goes to the registered listeners in registration order.
// The report is posted: PowerPoint is still inside the window's creation when
// the hook runs and its shows do not list the window yet. Listeners must stay
// valid until unregistered. Process-wide; PowerPoint's user-interface thread
// only.
class ShellHook {
public:
    // Adds the listener unless it is registered already; installs the hook
    // when the library has a module instance and no hook is installed. A
    // failed installation leaves the listener registered without a hook.
    static void Register(ShowWindowListener* listener);
    // Removes the listener; the hook goes with the last one.
    static void Unregister(ShowWindowListener* listener);
    // Frees the list's storage (at module stop, when no listener is left).
    static void FreeRegistrations();

    // Whether a title names a presentation: a "[" followed later by "]" with
    // at least one character between them.
    static bool TitleNamesPresentation(const wchar_t* title);
};
