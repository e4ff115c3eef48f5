#pragma once
#include <windows.h>

#include "base/MKChar.h"
#include "base/MKPtrMap.h"

MK_TEXT_NAMESPACE_BEGIN

class MKCSubclassWnd;

// The process's record of subclassed windows: each window's chain of
// MKCSubclassWnd objects and its own procedure. The shared procedure is
// installed with the first object and the window's own procedure put back
// with the last one or at WM_NCDESTROY, except while another subclasser has
// installed its procedure over ours: that one still calls ours, so ours stays
// and passes messages on to the window's own procedure until it is on top
// again. UI thread only, no lock.
class MKCSubclassWndMap {
public:
    static MKCSubclassWndMap& GetInstance();

    virtual ~MKCSubclassWndMap();
    MKCSubclassWndMap(const MKCSubclassWndMap&) = delete;
    MKCSubclassWndMap& operator=(const MKCSubclassWndMap&) = delete;

    // Makes the object the head of the window's chain; false for a null handle
    // or one that is no window (or whose procedure cannot be replaced).
    bool Add(HWND window, MKCSubclassWnd* object);
    // Unlinks the object and clears it.
    void Remove(MKCSubclassWnd* object);
    // Clears every object of the window's chain.
    void RemoveWindow(HWND window);

private:
    struct Chain {
        MKCSubclassWnd* head;  // null: passing messages on, waiting to unhook
        WNDPROC original;
    };

    MKCSubclassWndMap() = default;
    Chain* Find(HWND window) const;
    // Drops the window's record, after putting its own procedure back when
    // ours is still the current one; false (record kept) otherwise.
    bool Unhook(HWND window, Chain* chain);
    void Forget(HWND window, Chain* chain);
    static LRESULT CALLBACK SharedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    MKPtrMap m_map{10};
};

MK_TEXT_NAMESPACE_END
