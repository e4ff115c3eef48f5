#include "base/MKCSubclassWndMap.h"

#include <new>

#include "base/MKCSubclassWnd.h"
#include "base/MKCrashGuard.h"

MK_TEXT_NAMESPACE_BEGIN

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
            return chain->head->WindowProc(message, wParam, lParam);
        map.Unhook(window, chain);
        return CallWindowProc(original, window, message, wParam, lParam);
    });
}

MK_TEXT_NAMESPACE_END
