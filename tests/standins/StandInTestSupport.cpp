#include "StandInTestSupport.h"

#include "fixtures/Fixtures.h"
#include "testaddin/TestAddInIds.h"

#include <sstream>

namespace {

const wchar_t kAddInKey[] = L"Software\\Microsoft\\Office\\PowerPoint\\Addins\\" TEST_ADDIN_PROGID;

}  // namespace

TestAddInRegistration::TestAddInRegistration(DWORD loadBehavior)
    : m_module(LoadLibraryW(TestsBinPath(L"standins_testaddin.dll").c_str()))
{
    auto registerServer = reinterpret_cast<HRESULT(WINAPI*)()>(
        reinterpret_cast<void*>(GetProcAddress(m_module, "DllRegisterServer")));
    if (!registerServer || FAILED(registerServer()))
        return;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kAddInKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    const wchar_t name[] = L"Stand-in test add-in";
    RegSetValueExW(key, L"LoadBehavior", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&loadBehavior), sizeof(DWORD));
    RegSetValueExW(key, L"FriendlyName", 0, REG_SZ, reinterpret_cast<const BYTE*>(name), sizeof(name));
    RegCloseKey(key);
    m_registered = true;
    ResetEvents();
}

TestAddInRegistration::~TestAddInRegistration()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, kAddInKey);
    auto unregisterServer = reinterpret_cast<HRESULT(WINAPI*)()>(
        reinterpret_cast<void*>(GetProcAddress(m_module, "DllUnregisterServer")));
    if (unregisterServer)
        unregisterServer();
    // COM keeps its own load of the DLL; this one goes.
    FreeLibrary(m_module);
}

std::vector<std::wstring> TestAddInRegistration::Events() const
{
    auto events = reinterpret_cast<TestAddInEventsFunction>(
        reinterpret_cast<void*>(GetProcAddress(m_module, "TestAddIn_Events")));
    std::vector<std::wstring> lines;
    if (!events)
        return lines;
    std::wistringstream text(events());
    for (std::wstring line; std::getline(text, line);)
        lines.push_back(line);
    return lines;
}

void TestAddInRegistration::ResetEvents() const
{
    auto reset = reinterpret_cast<TestAddInResetFunction>(
        reinterpret_cast<void*>(GetProcAddress(m_module, "TestAddIn_Reset")));
    if (reset)
        reset();
}

std::vector<DISPID> EventRecorder::Ids() const
{
    std::vector<DISPID> ids;
    for (const Record& record : records)
        ids.push_back(record.id);
    return ids;
}

HRESULT EventRecorder::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch)
        return E_NOINTERFACE;
    *out = this;
    AddRef();
    return S_OK;
}

HRESULT EventRecorder::GetTypeInfoCount(UINT* count)
{
    if (count)
        *count = 0;
    return E_NOTIMPL;
}

HRESULT EventRecorder::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*)
{
    Record record{id, {}};
    for (UINT i = params ? params->cArgs : 0; i > 0; --i)
        record.types.push_back(params->rgvarg[i - 1].vt);
    records.push_back(record);
    if (onEvent)
        onEvent(id, params);
    return answer;
}
