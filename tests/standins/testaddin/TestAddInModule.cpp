// The test add-in's COM server: class factory, registration of its class in
// HKEY_CLASSES_ROOT (Wine has no per-user class registration) and the event
// record exports.
#include "tests/standins/testaddin/TestAddIn.h"
#include "tests/standins/testaddin/TestAddInIds.h"

#include <olectl.h>
#include <string>

namespace {

HMODULE g_module = nullptr;
std::wstring g_events;

class ClassFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IClassFactory)
            return E_NOINTERFACE;
        *out = this;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        TestAddIn* addIn = new TestAddIn();
        HRESULT hr = addIn->QueryInterface(iid, out);
        addIn->Release();
        AddEvent(L"CreateInstance");
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

ClassFactory g_factory;

bool SetText(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& value)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

}  // namespace

void AddEvent(const std::wstring& event)
{
    g_events += event;
    g_events += L'\n';
}

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        g_module = instance;
    return TRUE;
}

__declspec(dllexport) HRESULT WINAPI DllGetClassObject(REFCLSID classId, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (classId != CLSID_TestAddIn)
        return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(iid, out);
}

__declspec(dllexport) HRESULT WINAPI DllCanUnloadNow()
{
    return S_FALSE;
}

__declspec(dllexport) HRESULT WINAPI DllRegisterServer()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(g_module, path, MAX_PATH);
    std::wstring classKey = std::wstring(L"CLSID\\") + TEST_ADDIN_CLSID_TEXT;
    bool written = SetText(HKEY_CLASSES_ROOT, classKey, nullptr, L"Stand-in test add-in") &&
                   SetText(HKEY_CLASSES_ROOT, classKey + L"\\InprocServer32", nullptr, path) &&
                   SetText(HKEY_CLASSES_ROOT, classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
                   SetText(HKEY_CLASSES_ROOT, classKey + L"\\ProgID", nullptr, TEST_ADDIN_PROGID) &&
                   SetText(HKEY_CLASSES_ROOT, TEST_ADDIN_PROGID, nullptr, L"Stand-in test add-in") &&
                   SetText(HKEY_CLASSES_ROOT, std::wstring(TEST_ADDIN_PROGID) + L"\\CLSID", nullptr,
                           TEST_ADDIN_CLSID_TEXT);
    return written ? S_OK : SELFREG_E_CLASS;
}

__declspec(dllexport) HRESULT WINAPI DllUnregisterServer()
{
    RegDeleteTreeW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + TEST_ADDIN_CLSID_TEXT).c_str());
    RegDeleteTreeW(HKEY_CLASSES_ROOT, TEST_ADDIN_PROGID);
    return S_OK;
}

__declspec(dllexport) const wchar_t* WINAPI TestAddIn_Events()
{
    return g_events.c_str();
}

__declspec(dllexport) void WINAPI TestAddIn_Reset()
{
    g_events.clear();
}

}  // extern "C"
