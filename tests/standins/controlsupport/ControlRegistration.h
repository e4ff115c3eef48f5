#pragma once
#include <windows.h>
#include <string>

// Which build of a stand-in control to register.
enum class StandInControl { Flash9, Flash10, Flash101, QuickTime, QuickTimePlugin, WebBrowser };

// The path (through Wine's Z: drive) of a stand-in control's DLL.
std::wstring StandInControlPath(StandInControl control);

// Registers a stand-in control machine-wide in the test prefix (its
// DllRegisterServer) for the life of the object. Whatever the class had
// registered before (Wine's own WebBrowser, an earlier build) is put back by
// the destructor: the InprocServer32 key, its default value and threading
// model, and the class key itself when it did not exist. Tests that use it
// take the "office_registry" resource lock.
class ControlRegistration {
public:
    explicit ControlRegistration(StandInControl control);
    ~ControlRegistration();
    ControlRegistration(const ControlRegistration&) = delete;
    ControlRegistration& operator=(const ControlRegistration&) = delete;

    bool Registered() const { return m_registered; }
    const CLSID& ClassId() const { return m_clsid; }
    const std::wstring& Path() const { return m_path; }

private:
    std::wstring ClassKey() const;

    std::wstring m_path;
    CLSID m_clsid;
    HMODULE m_module = nullptr;
    bool m_registered = false;
    bool m_classExisted = false;
    bool m_serverExisted = false;
    std::wstring m_previousServer;
    std::wstring m_previousThreading;
};

// The default value of HKCR\CLSID\{clsid}\InprocServer32, empty when absent.
std::wstring RegisteredServerPath(const CLSID& clsid);
