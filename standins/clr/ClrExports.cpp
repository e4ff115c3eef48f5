// The runtime shim's exports as hosts call them: binding a runtime and its
// version text. Every call is logged for order checks.
#include "hostapi/ClrInterfaces.h"
#include "standins/clr/ClrLog.h"
#include "standins/clr/RuntimeHost.h"

#include <stdio.h>

using standin_clr::ClrLog;

namespace {
const wchar_t kVersion[] = L"v2.0.50727";
}  // namespace

extern "C" HRESULT STDAPICALLTYPE CorBindToRuntimeEx(LPCWSTR version, LPCWSTR buildFlavor, DWORD startupFlags,
                                                    REFCLSID classId, REFIID iid, void** out)
{
    wchar_t flags[16];
    swprintf(flags, 16, L"0x%lX", static_cast<unsigned long>(startupFlags));
    HRESULT hr = ClrLog::Enter(L"CorBindToRuntimeEx(" + std::wstring(version ? version : L"null") + L", " +
                               (buildFlavor ? buildFlavor : L"null") + L", " + flags + L")");
    if (FAILED(hr))
        return hr;
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (classId != Clr::kClsidCorRuntimeHost)
        return CLASS_E_CLASSNOTAVAILABLE;
    auto* host = new standin_clr::RuntimeHost;
    hr = host->QueryInterface(iid, out);
    host->Release();
    return hr;
}

extern "C" HRESULT STDAPICALLTYPE GetCORVersion(LPWSTR buffer, DWORD size, DWORD* length)
{
    HRESULT hr = ClrLog::Enter(L"GetCORVersion");
    if (FAILED(hr))
        return hr;
    DWORD needed = static_cast<DWORD>(wcslen(kVersion) + 1);
    if (length)
        *length = needed;
    if (!buffer || size < needed)
        return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    wcscpy(buffer, kVersion);
    return S_OK;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        ClrLog::Note(L"Loaded");
    else if (reason == DLL_PROCESS_DETACH)
        ClrLog::Note(L"Unloaded");
    return TRUE;
}
