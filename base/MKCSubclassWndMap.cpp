#include "base/MKCSubclassWndMap.h"

#include <new>

#include "base/MKCSubclassWnd.h"
#include "base/MKCrashGuard.h"

MKCSubclassWndMap& MKCSubclassWndMap::GetInstance()
{
    static MKCSubclassWndMap s_instance;
    return s_instance;
}

MKCSubclassWndMap::~MKCSubclassWndMap()
{
    map_.ForEach([](void*, void* chain) { delete static_cast<Chain*>(chain); });
}

MKCSubclassWndMap::Chain* MKCSubclassWndMap::Find(HWND window) const
{
    return static_cast<Chain*>(map_.Lookup(window));
}

bool MKCSubclassWndMap::Add(HWND window, MKCSubclassWnd* object)
{
    if (!window || !IsWindow(window))
        return false;
    Chain* chain = Find(window);
    if (!chain) {
        void** slot = map_.ValueAt(window);
        chain = slot ? new (std::nothrow) Chain{nullptr, nullptr} : nullptr;
        if (chain) {
            chain->original = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SharedWindowProc)));
        }
        if (!chain || !chain->original) {
            delete chain;
            map_.RemoveKey(window);
            return false;
        }
        *slot = chain;
    }
    object->next_ = chain->head;
    object->savedProc_ = chain->original;
    object->window_ = window;
    chain->head = object;
    return true;
}

void MKCSubclassWndMap::Remove(MKCSubclassWnd* object)
{
    HWND window = object->window_;
    Chain* chain = Find(window);
    if (chain) {
        for (MKCSubclassWnd** link = &chain->head; *link; link = &(*link)->next_) {
            if (*link == object) {
                *link = object->next_;
                break;
            }
        }
        if (!chain->head)
            Unhook(window, chain);
    }
    object->next_ = nullptr;
    object->savedProc_ = nullptr;
    object->window_ = nullptr;
}

void MKCSubclassWndMap::RemoveWindow(HWND window)
{
    Chain* chain = Find(window);
    if (!chain)
        return;
    while (MKCSubclassWnd* object = chain->head) {
        chain->head = object->next_;
        object->next_ = nullptr;
        object->savedProc_ = nullptr;
        object->window_ = nullptr;
    }
    if (!IsWindow(window))
        Forget(window, chain);
    else
        Unhook(window, chain);
}

bool MKCSubclassWndMap::Unhook(HWND window, Chain* chain)
{
    if (GetWindowLongPtrW(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&SharedWindowProc))
        return false;
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chain->original));
    Forget(window, chain);
    return true;
}

void MKCSubclassWndMap::Forget(HWND window, Chain* chain)
{
    map_.RemoveKey(window);
    delete chain;
}

LRESULT CALLBACK MKCSubclassWndMap::SharedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, static_cast<LRESULT>(0), [&]() -> LRESULT {
        MKCSubclassWndMap& map = GetInstance();
        Chain* chain = map.Find(window);
        if (!chain)
            return DefWindowProcW(window, message, wParam, lParam);
        WNDPROC original = chain->original;
        if (message == WM_NCDESTROY) {
            // Every object lets go before the window's own procedure sees the end.
            map.RemoveWindow(window);
            if ((chain = map.Find(window)))
                map.Forget(window, chain);
            return CallWindowProcW(original, window, message, wParam, lParam);
        }
        if (chain->head)
            return chain->head->WindowProc(message, wParam, lParam);
        map.Unhook(window, chain);
        return CallWindowProcW(original, window, message, wParam, lParam);
    });
}
