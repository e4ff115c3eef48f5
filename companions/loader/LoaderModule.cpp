#include "companions/loader/LoaderModule.h"

namespace {

HINSTANCE s_instance = nullptr;
volatile LONG s_lockCount = 0;

}  // namespace

const CLSID CLSID_VistelloLoaderAddIn = {0xDF9F1320, 0xDF9A, 0x4E86, {0xB1, 0x83, 0x6D, 0x84, 0x3E, 0x88, 0x5D, 0x4B}};
const wchar_t kLoaderClassIdText[] = L"{DF9F1320-DF9A-4e86-B183-6D843E885D4B}";
const wchar_t kLoaderProgId[] = L"VistelloLoader.AddIn";

HINSTANCE LoaderModuleInstance()
{
    return s_instance;
}

void SetLoaderModuleInstance(HINSTANCE instance)
{
    s_instance = instance;
}

volatile LONG* LoaderLockCount()
{
    return &s_lockCount;
}
