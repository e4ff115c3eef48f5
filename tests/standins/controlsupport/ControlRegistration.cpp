#include "tests/standins/controlsupport/ControlRegistration.h"

#include "hostapi/FlashInterfaces.h"
#include "hostapi/QuickTimeInterfaces.h"
#include "hostapi/WebBrowserInterfaces.h"

namespace {

bool ReadText(const std::wstring& path, const wchar_t* name, std::wstring& value)
{
    wchar_t buffer[MAX_PATH * 2];
    DWORD size = sizeof(buffer);
    if (RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return false;
    value = buffer;
    return true;
}

void WriteText(const std::wstring& path, const wchar_t* name, const std::wstring& value)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

bool KeyExists(const std::wstring& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::wstring ClassKeyOf(const CLSID& clsid)
{
    wchar_t text[40];
    StringFromGUID2(clsid, text, 40);
    return std::wstring(L"CLSID\\") + text;
}

}  // namespace

std::wstring StandInControlPath(StandInControl control)
{
    std::wstring root = VISTELLO_STANDIN_CONTROLS;
    switch (control) {
    case StandInControl::Flash9: return root + L"\\flash9\\Flash.ocx";
    case StandInControl::Flash10: return root + L"\\flash10\\Flash.ocx";
    case StandInControl::Flash101: return root + L"\\flash101\\Flash.ocx";
    case StandInControl::QuickTime: return root + L"\\quicktime\\QTOControl.dll";
    case StandInControl::QuickTimePlugin: return root + L"\\quicktime\\QTPlugin.ocx";
    case StandInControl::WebBrowser: return root + L"\\webbrowser\\WebBrowser.dll";
    }
    return {};
}

std::wstring RegisteredServerPath(const CLSID& clsid)
{
    std::wstring path;
    ReadText(ClassKeyOf(clsid) + L"\\InprocServer32", nullptr, path);
    return path;
}

ControlRegistration::ControlRegistration(StandInControl control) : m_path(StandInControlPath(control))
{
    switch (control) {
    case StandInControl::Flash9:
    case StandInControl::Flash10:
    case StandInControl::Flash101: m_clsid = CLSID_ShockwaveFlash; break;
    case StandInControl::QuickTime: m_clsid = CLSID_QuickTimeControl; break;
    case StandInControl::QuickTimePlugin: m_clsid = CLSID_QuickTimePlugin; break;
    case StandInControl::WebBrowser: m_clsid = CLSID_WebBrowserControl; break;
    }
    m_classExisted = KeyExists(ClassKey());
    m_serverExisted = ReadText(ClassKey() + L"\\InprocServer32", nullptr, m_previousServer);
    ReadText(ClassKey() + L"\\InprocServer32", L"ThreadingModel", m_previousThreading);

    m_module = LoadLibraryW(m_path.c_str());
    auto registerServer = reinterpret_cast<HRESULT(WINAPI*)()>(
        reinterpret_cast<void*>(GetProcAddress(m_module, "DllRegisterServer")));
    m_registered = registerServer && SUCCEEDED(registerServer());
}

ControlRegistration::~ControlRegistration()
{
    auto unregisterServer = reinterpret_cast<HRESULT(WINAPI*)()>(
        reinterpret_cast<void*>(GetProcAddress(m_module, "DllUnregisterServer")));
    if (unregisterServer)
        unregisterServer();
    if (!m_classExisted) {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKey().c_str());
    } else if (m_serverExisted) {
        WriteText(ClassKey() + L"\\InprocServer32", nullptr, m_previousServer);
        if (!m_previousThreading.empty())
            WriteText(ClassKey() + L"\\InprocServer32", L"ThreadingModel", m_previousThreading);
    }
    // COM keeps its own load of the DLL while objects live; this one goes.
    if (m_module)
        FreeLibrary(m_module);
}

std::wstring ControlRegistration::ClassKey() const
{
    return ClassKeyOf(m_clsid);
}
