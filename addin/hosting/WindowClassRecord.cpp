#include "addin/hosting/WindowClassRecord.h"

#include "addin/hosting/NodeWindow.h"

#include <new>
#include <wchar.h>

WindowClassRecord::WindowClassRecord(const wchar_t* name)
{
    wcsncpy(m_name, name, 256);
}

bool WindowClassRecord::Register()
{
    if (!m_module)
        return false;
    if (m_atom)
        return true;
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = NodeWindowProc;
    windowClass.hInstance = m_module;
    windowClass.lpszClassName = m_name;
    m_atom = RegisterClassW(&windowClass);
    return m_atom != 0;
}

void WindowClassRecord::Unregister()
{
    if (m_atom)
        UnregisterClassW(m_name, m_module);
    m_atom = 0;
}

void WindowClassRecord::Release()
{
    Unregister();
    m_module = nullptr;
}

WindowClassRecord* WindowClassRecord::RegisterOnce(WindowClassRecord*& slot, const wchar_t* name, HINSTANCE module)
{
    if (!slot)
        slot = new (std::nothrow) WindowClassRecord(name);
    if (!slot)
        return nullptr;
    if (!slot->GetAtom())
        slot->SetModule(module);
    return slot->Register() ? slot : nullptr;
}

void WindowClassRecord::UnregisterAtExit(WindowClassRecord*& slot)
{
    if (!slot)
        return;
    slot->Release();
    delete slot;
    slot = nullptr;
}
