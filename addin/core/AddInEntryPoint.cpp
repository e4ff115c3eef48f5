// The library's entry point: kept in a file of its own so that programs
// linking the add-in's code directly never pull it in.
#include "addin/core/AddInModule.h"
#include "addin/effects/PaneSubclassRegistry.h"
#include "base/MKSeh.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        SetModuleInstance(instance);
        DisableThreadLibraryCalls(instance);
        MKSehModuleInit();
        PaneSubclassRegistry::CreateInstance();
    } else if (reason == DLL_PROCESS_DETACH) {
        // No window keeps a procedure of the library once it is gone.
        PaneSubclassRegistry::DestroyInstance();
        MKSehModuleTerm();
    }
    return TRUE;
}
