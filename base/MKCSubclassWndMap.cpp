#include "base/MKCSubclassWndMap.h"

#include <new>

#include "base/MKCSubclassWnd.h"
#include "base/MKCrashGuard.h"

MK_TEXT_NAMESPACE_BEGIN

struct MKCSubclassWndMap::Dispatch {
    HWND window;
    WNDPROC original;
    MKCSubclassWnd* object;  // compared only: it may be gone
    MKCSubclassWnd* next;    // kept up to date as objects leave the chain
    Dispatch* outer;
};

thread_local MKCSubclassWndMap::Dispatch* MKCSubclassWndMap::s_dispatches = nullptr;

MKCSubclassWndMap& MKCSubclassWndMap::GetInstance()
{
    static MKCSubclassWndMap s_instance;
    return s_instance;
}

MKCSubclassWndMap::~MKCSubclassWndMap()
{
    m_map.ForEach([](void*, void* chain) { delete static_cast<Chain*>(chain); });
}

MKCSubclassWndMap::Chain* MKCSubclassWndMap::Find(HWND window) const
{
    return static_cast<Chain*>(m_map.Lookup(window));
}

bool MKCSubclassWndMap::Add(HWND window, MKCSubclassWnd* object)
{
    if (!window || !IsWindow(window))
        return false;
    Chain* chain = Find(window);
    if (!chain) {
        void** slot = m_map.ValueAt(window);
        chain = slot ? new (std::nothrow) Chain{nullptr, nullptr} : nullptr;
        if (chain) {
            chain->original = reinterpret_cast<WNDPROC>(
                SetWindowLongPtr(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SharedWindowProc)));
        }
        if (!chain || !chain->original) {
            delete chain;
            m_map.RemoveKey(window);
            return false;
        }
        *slot = chain;
    }
    object->m_next = chain->head;
    object->m_savedProc = chain->original;
    object->m_window = window;
    chain->head = object;
    return true;
}

void MKCSubclassWndMap::Remove(MKCSubclassWnd* object)
{
    HWND window = object->m_window;
    // A dispatch that was to reach this object next goes to the one after it.
    for (Dispatch* d = s_dispatches; d; d = d->outer) {
        if (d->next == object)
            d->next = object->m_next;
    }
    Chain* chain = Find(window);
    if (chain) {
        for (MKCSubclassWnd** link = &chain->head; *link; link = &(*link)->m_next) {
            if (*link == object) {
                *link = object->m_next;
                break;
            }
        }
        if (!chain->head)
            Unhook(window, chain);
    }
    object->m_next = nullptr;
    object->m_savedProc = nullptr;
    object->m_window = nullptr;
}

void MKCSubclassWndMap::RemoveWindow(HWND window)
{
    Chain* chain = Find(window);
    if (!chain)
        return;
    // Dispatches under way go straight to the window's own procedure.
    for (Dispatch* d = s_dispatches; d; d = d->outer) {
        if (d->window == window)
            d->next = nullptr;
    }
    while (MKCSubclassWnd* object = chain->head) {
        chain->head = object->m_next;
        object->m_next = nullptr;
        object->m_savedProc = nullptr;
        object->m_window = nullptr;
    }
    if (!IsWindow(window))
        Forget(window, chain);
    else
        Unhook(window, chain);
}

bool MKCSubclassWndMap::Unhook(HWND window, Chain* chain)
{
    if (GetWindowLongPtr(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&SharedWindowProc))
        return false;
    SetWindowLongPtr(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chain->original));
    Forget(window, chain);
    return true;
}

void MKCSubclassWndMap::Forget(HWND window, Chain* chain)
{
    m_map.RemoveKey(window);
    delete chain;
}

LRESULT CALLBACK MKCSubclassWndMap::SharedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, static_cast<LRESULT>(0), [&]() -> LRESULT {
        MKCSubclassWndMap& map = GetInstance();
        Chain* chain = map.Find(window);
        if (!chain)
            return DefWindowProc(window, message, wParam, lParam);
        WNDPROC original = chain->original;
        if (message == WM_NCDESTROY) {
            // Every object lets go before the window's own procedure sees the end.
            map.RemoveWindow(window);
            if ((chain = map.Find(window)))
                map.Forget(window, chain);
            return CallWindowProc(original, window, message, wParam, lParam);
        }
        if (chain->head)
            return Deliver(window, original, chain->head, message, wParam, lParam);
        map.Unhook(window, chain);
        return CallWindowProc(original, window, message, wParam, lParam);
    });
}

LRESULT MKCSubclassWndMap::Deliver(HWND window, WNDPROC original, MKCSubclassWnd* object, UINT message,
                                   WPARAM wParam, LPARAM lParam)
{
    if (!object)
        return CallWindowProc(original, window, message, wParam, lParam);
    // Unlinked however the object's handling ends, an exception included.
    struct Scope {
        Dispatch dispatch;
        ~Scope() { s_dispatches = dispatch.outer; }
    } scope{{window, original, object, object->m_next, s_dispatches}};
    s_dispatches = &scope.dispatch;
    return object->WindowProc(message, wParam, lParam);
}

LRESULT MKCSubclassWndMap::PassOn(MKCSubclassWnd* object, UINT message, WPARAM wParam, LPARAM lParam)
{
    for (Dispatch* d = s_dispatches; d; d = d->outer) {
        if (d->object == object)
            return Deliver(d->window, d->original, d->next, message, wParam, lParam);
    }
    // Called outside a dispatch of this object's: the chain as it stands.
    if (object->m_next)
        return Deliver(object->m_window, object->m_savedProc, object->m_next, message, wParam, lParam);
    if (!object->m_savedProc)
        return 0;
    return CallWindowProc(object->m_savedProc, object->m_window, message, wParam, lParam);
}

MK_TEXT_NAMESPACE_END
