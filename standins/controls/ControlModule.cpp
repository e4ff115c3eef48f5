#include "standins/controls/ControlModule.h"

namespace standin {
namespace {

HINSTANCE g_instance = nullptr;

bool SetText(const std::wstring& path, const wchar_t* name, const std::wstring& value)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

std::wstring ClassKey(const CLSID& clsid)
{
    wchar_t text[40];
    StringFromGUID2(clsid, text, 40);
    return std::wstring(L"CLSID\\") + text;
}

}  // namespace

void ControlModule::SetInstance(HINSTANCE instance)
{
    g_instance = instance;
}

HINSTANCE ControlModule::Instance()
{
    return g_instance;
}

std::wstring ControlModule::Path()
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(g_instance, path, MAX_PATH);
    return std::wstring(path, length);
}

HRESULT ControlModule::Register(const CLSID& clsid, const wchar_t* description, const wchar_t* progId)
{
    std::wstring key = ClassKey(clsid);
    wchar_t clsidText[40];
    StringFromGUID2(clsid, clsidText, 40);
    bool written = SetText(key, nullptr, description) && SetText(key + L"\\InprocServer32", nullptr, Path()) &&
                   SetText(key + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
                   SetText(key + L"\\Control", nullptr, L"");
    if (written && progId)
        written = SetText(key + L"\\ProgID", nullptr, progId) && SetText(progId, nullptr, description) &&
                  SetText(std::wstring(progId) + L"\\CLSID", nullptr, clsidText);
    return written ? S_OK : E_ACCESSDENIED;
}

HRESULT ControlModule::Unregister(const CLSID& clsid, const wchar_t* progId)
{
    std::wstring key = ClassKey(clsid);
    RegDeleteTreeW(HKEY_CLASSES_ROOT, (key + L"\\InprocServer32").c_str());
    if (progId) {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, (key + L"\\ProgID").c_str());
        RegDeleteTreeW(HKEY_CLASSES_ROOT, progId);
    }
    return S_OK;
}

}  // namespace standin
