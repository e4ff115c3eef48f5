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
    // The default handling of an object's message: on to the next older
    // object of the chain as it is now, or to the window's own procedure.
    // This holds also for an object that detached (or deleted) itself or an
    // older one while handling the message. 0 for a call outside a dispatch
    // by a detached object.
    LRESULT PassOn(MKCSubclassWnd* object, UINT message, WPARAM wParam, LPARAM lParam);

private:
    struct Chain {
        MKCSubclassWnd* head;  // null: passing messages on, waiting to unhook
        WNDPROC original;
    };
    // One object's handling of one message, innermost first; the record on
    // which an object's PassOn goes on even after the object left the chain.
    struct Dispatch;
    // The dispatches running on this thread, innermost first; windows and
    // their chains belong to the thread that made the window.
    static thread_local Dispatch* s_dispatches;

    MKCSubclassWndMap() = default;
    Chain* Find(HWND window) const;
    // Drops the window's record, after putting its own procedure back when
    // ours is still the current one; false (record kept) otherwise.
    bool Unhook(HWND window, Chain* chain);
    void Forget(HWND window, Chain* chain);
    // Hands the message to object (null: the window's own procedure) in a
    // dispatch record of its own.
    static LRESULT Deliver(HWND window, WNDPROC original, MKCSubclassWnd* object, UINT message, WPARAM wParam,
                           LPARAM lParam);
    static LRESULT CALLBACK SharedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    MKPtrMap m_map{10};
};

MK_TEXT_NAMESPACE_END
