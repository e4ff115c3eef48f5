// The stand-in Flash Player control's COM server: class factory and
// registration under the Flash CLSID.
#include "standins/controls/ControlModule.h"
#include "standins/flash/FlashControl.h"

namespace {

standin::ControlFactory<standin::FlashControl> g_factory;

const wchar_t kDescription[] = L"Shockwave Flash Object";
const wchar_t kProgId[] = L"ShockwaveFlash.ShockwaveFlash";

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        standin::ControlModule::SetInstance(instance);
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

__declspec(dllexport) HRESULT WINAPI DllGetClassObject(REFCLSID classId, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (classId != CLSID_ShockwaveFlash)
        return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(iid, out);
}

__declspec(dllexport) HRESULT WINAPI DllCanUnloadNow()
{
    return S_FALSE;
}

__declspec(dllexport) HRESULT WINAPI DllRegisterServer()
{
    return standin::ControlModule::Register(CLSID_ShockwaveFlash, kDescription, kProgId);
}

__declspec(dllexport) HRESULT WINAPI DllUnregisterServer()
{
    return standin::ControlModule::Unregister(CLSID_ShockwaveFlash, kProgId);
}

}  // extern "C"
