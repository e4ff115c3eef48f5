#pragma once
#include <windows.h>

#include "base/MKString.h"

// Receives the messages of an MKHandyWindow. The owner must outlive the window.
class MKHandyWindowOwner {
public:
    virtual LRESULT HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;

protected:
    ~MKHandyWindowOwner() = default;
};

// A hidden message window whose messages go to an owner object, on the thread
// that created it. Each object registers a window class of its own, named
// "_brelix_handy_class_" and a fresh GUID, kept until the object is destroyed.
// The window procedure runs inside the crash guard (answering 0 on failure).
// The owner may destroy this object from any message handler except
// WM_NCDESTROY's.
class MKHandyWindow {
public:
    MKHandyWindow() = default;
    ~MKHandyWindow();
    MKHandyWindow(const MKHandyWindow&) = delete;
    MKHandyWindow& operator=(const MKHandyWindow&) = delete;

    // Registers the class (first time only) in the module instance and creates
    // the window; false when a window exists already or either step fails. A
    // null owner leaves every message to DefWindowProcW.
    bool Create(HINSTANCE instance, MKHandyWindowOwner* owner);
    void DestroyWindow();

    HWND Handle() const { return m_window; }
    const MKString& ClassName() const { return m_className; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    MKHandyWindowOwner* m_owner = nullptr;
    HINSTANCE m_instance = nullptr;
    HWND m_window = nullptr;
    MKString m_className;
    ATOM m_atom = 0;
};

// A window of the same kind (class of its own, hidden popup) with the caller's
// window procedure and creation parameter; the class is not kept track of.
// Null on failure.
HWND MKCreateHandyWindow(HINSTANCE instance, WNDPROC windowProc, void* creationParameter);
