// The library's entry point: kept in a file of its own so that programs
// linking the add-in's code directly never pull it in.
#include "addin/core/AddInModule.h"
#include "base/MKSeh.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        SetModuleInstance(instance);
        DisableThreadLibraryCalls(instance);
        MKSehModuleInit();
    } else if (reason == DLL_PROCESS_DETACH) {
        MKSehModuleTerm();
    }
    return TRUE;
}
