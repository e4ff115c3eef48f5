#pragma once
#include <windows.h>
#include <oaidl.h>
#include <stdint.h>

// The records that cross between the loader add-in and VistelloAddIn through
// the export VistelloLoader_Create. Both are seven 32-bit words; callbacks
// use the platform's standard calling convention and take the table's
// address first.

class LoaderLink;
struct LoaderCallbacks;

// Built by the loader on its stack, read only during VistelloLoader_Create.
// Larger records of later versions are accepted.
struct LoaderInfo {
    int32_t size;            // at least 28
    int32_t version;         // at least 1
    HINSTANCE loaderModule;  // the hidden window's class is registered here
    IDispatch* application;  // Office's Application, required
    IDispatch* loaderAddIn;  // the loader's own COMAddIn, unused here
    HMODULE addInModule;     // VistelloAddIn as the loader loaded it
    int32_t reserved;
};

typedef void(WINAPI* LoaderDestroyFunction)(LoaderCallbacks* table);
typedef int32_t(WINAPI* LoaderNeedsStartFunction)(LoaderCallbacks* table);
typedef bool(WINAPI* LoaderStartFunction)(LoaderCallbacks* table, WNDPROC windowProc);
typedef LRESULT(WINAPI* LoaderWindowProcFunction)(LoaderCallbacks* table, HWND window, UINT message, WPARAM wParam,
                                                  LPARAM lParam, uint8_t* handled);

// In the loader's memory: the loader writes loaderObject before the call and
// window from its window procedure (on WM_NCCREATE); VistelloLoader_Create
// fills the rest. The link belongs to the add-in and dies in destroy.
struct LoaderCallbacks {
    void* loaderObject;
    LoaderLink* link;
    HWND window;
    // Destroys the window, lets the link go and gives back the library's
    // run-time reference; the loader then clears the table and frees the
    // library.
    LoaderDestroyFunction destroy;
    // 1 when PowerPoint's COM add-ins could be read and "Vistello.AddIn" is
    // not among them.
    LoaderNeedsStartFunction needsStart;
    // Creates the hidden window with the loader's window procedure (and the
    // table as creation parameter) and posts WM_USER to it.
    LoaderStartFunction start;
    // Every message of that window. WM_USER writes the per-user Office entry
    // and connects "Vistello.AddIn" through COMAddIns, and sets *handled.
    LoaderWindowProcFunction windowProc;
};

static_assert(sizeof(LoaderInfo) == 28, "LoaderInfo is seven words");
static_assert(sizeof(LoaderCallbacks) == 28, "LoaderCallbacks is seven words");

// Refuses a null table, a record below 28 bytes or version 1, or one without
// an Application that answers PowerPoint's _Application and COMAddIns; the
// table is then left untouched. On true the table holds the link and the
// callbacks.
extern "C" bool WINAPI VistelloLoader_Create(const LoaderInfo* info, LoaderCallbacks* callbacks);
