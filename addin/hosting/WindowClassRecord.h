#pragma once
#include <windows.h>

// One window class of the hosting windows, registered on a module with the
// shared node window procedure. Each class has one process-wide record, made
// on first need and removed by HostingModuleTerm.
class WindowClassRecord {
public:
    explicit WindowClassRecord(const wchar_t* name);
    WindowClassRecord(const WindowClassRecord&) = delete;
    WindowClassRecord& operator=(const WindowClassRecord&) = delete;

    void SetModule(HINSTANCE module) { m_module = module; }
    HINSTANCE GetModule() const { return m_module; }
    const wchar_t* GetName() const { return m_name; }
    ATOM GetAtom() const { return m_atom; }
    // False without module; true when registered (already or now).
    bool Register();
    void Unregister();
    // Unregisters and forgets the module.
    void Release();

    // The process-wide record of `*slot`, made with `name` and registered on
    // the module when not yet registered; null when that fails.
    static WindowClassRecord* RegisterOnce(WindowClassRecord*& slot, const wchar_t* name, HINSTANCE module);
    // Unregisters, releases and deletes the record of `*slot`.
    static void UnregisterAtExit(WindowClassRecord*& slot);

private:
    HINSTANCE m_module = nullptr;
    ATOM m_atom = 0;
    wchar_t m_name[257] = {};
};
