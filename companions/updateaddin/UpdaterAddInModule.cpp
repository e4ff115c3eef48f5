#include "companions/updateaddin/UpdaterAddInModule.h"

#include "base/MKSeh.h"
#include "base/MKSharedSecurity.h"

namespace {

HINSTANCE s_instance = nullptr;
volatile LONG s_locks = 0;

}  // namespace

const CLSID CLSID_VistelloUpdaterAddIn = {0x2F6C91C3, 0x3FC7, 0x4D79, {0xA6, 0x74, 0x84, 0xD2, 0x9A, 0x44, 0x61, 0xEA}};
const wchar_t kUpdaterClassIdText[] = L"{2F6C91C3-3FC7-4d79-A674-84D29A4461EA}";

HINSTANCE UpdaterModuleInstance()
{
    return s_instance;
}

void SetUpdaterModuleInstance(HINSTANCE instance)
{
    s_instance = instance;
}

LONG UpdaterLockCount()
{
    return s_locks;
}

bool LockUpdaterModule()
{
    if (InterlockedIncrement(&s_locks) != 1)
        return true;
    MKSehInstall(nullptr);
    if (MKSharedSecurity::CreateGlobal())
        return true;
    MKUninstallSehTranslator();
    InterlockedDecrement(&s_locks);
    return false;
}

void UnlockUpdaterModule()
{
    if (InterlockedDecrement(&s_locks) != 0)
        return;
    MKSharedSecurity::DestroyGlobal();
    MKUninstallSehTranslator();
}
