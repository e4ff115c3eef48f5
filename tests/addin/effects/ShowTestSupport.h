#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Helpers of the slide-show tests.

// Dispatches the thread's messages for the given time and counts the
// WM_TIMER messages of the window with that identifier.
int PumpCountingTimer(DWORD milliseconds, HWND window, UINT_PTR timerId);

// The show's message window: the direct child of the pane with class and
// title "VistelloMessageWindow".
HWND FindMessageWindow(HWND pane);

// The window's procedure is its class's own (nobody subclasses it).
bool HasClassProcedure(HWND window);
