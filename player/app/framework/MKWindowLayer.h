#pragma once
#include <windows.h>

// The window layer behind the dialogs: the common dialog font, made once at
// start-up and deleted at exit, and the application's message box. UI thread
// only.

// Set before WindowLayerStart: use Tahoma when it is installed.
extern bool preferTahoma;
// Every dialog hands the dialog font to its children.
extern bool fontToChildren;

// Makes the dialog font when not yet made; false only when the layer's own
// bookkeeping cannot be allocated.
bool WindowLayerStart();
// Deletes the dialog font once.
void WindowLayerEnd();
// Tahoma (when preferred and installed), else "MS Shell Dlg 2" in place of
// "MS Shell Dlg", else the GUI font itself; null without a GUI font.
HFONT MakeDialogFont();
// Made on first use.
HFONT GetDialogFont();
// WM_SETFONT to every child window (the dialog font when font is null).
void SetFontOnChildren(HWND window, HFONT font, bool redraw = false);

// The application's message box: owner and caption come from the handler
// set by the application, else the active window and no caption.
typedef int (*MKMessageBoxHandler)(const char* text, UINT type, UINT helpId);
void SetMessageBoxHandler(MKMessageBoxHandler handler);
int ShowMessage(const char* text, UINT type, UINT helpId);
