#pragma once
#include <windows.h>

class AddIn;

// Spots PowerPoint's slide-show windows as they are created: a shell hook on
// the thread of the first registered add-in, installed while any add-in is
// registered. A new top-level window of class "screenClass" whose title holds
// a bracketed name is looked up among each registered add-in's running shows,
// in registration order. The look-up is posted: PowerPoint is still inside
// the window's creation when the hook runs and its shows do not list the
// window yet. Process-wide; PowerPoint's user-interface thread only.
class ShellHook {
public:
    // Adds the add-in unless it is registered already; installs the hook
    // when the library has a module instance and no hook is installed. A
    // failed installation leaves the add-in registered without a hook.
    static void Register(AddIn* addIn);
    // Removes the add-in; the hook goes with the last one.
    static void Unregister(AddIn* addIn);
    // Frees the list's storage (at module stop, when no add-in is left).
    static void FreeRegistrations();

    // Whether a title names a presentation: a "[" followed later by "]" with
    // at least one character between them.
    static bool TitleNamesPresentation(const wchar_t* title);
};
