#include "addin/core/AddInModule.h"

#include "addin/effects/SlideShowMessageWindow.h"
#include "addin/hosting/HostingModule.h"
#include "base/MKAlloc.h"
#include "base/MKHostCache.h"
#include "base/MKSeh.h"
#include "base/MKSharedSecurity.h"
#include "base/MKThread.h"

#include <objbase.h>

namespace {

HINSTANCE s_instance = nullptr;
volatile LONG s_serverLocks = 0;
volatile LONG s_runtimeRefs = 0;
CRITICAL_SECTION* s_moduleSection = nullptr;
bool s_moduleStarted = false;

// A thread started by the library leaves its record in the slot until its
// task ends; the calling thread's own record goes with the slot.
void FreeThreadInfo()
{
    DWORD slot = MKThreadInfoSlot();
    if (slot == TLS_OUT_OF_INDEXES)
        return;
    if (void* block = TlsGetValue(slot)) {
        if (HANDLE handle = *static_cast<HANDLE*>(block))
            CloseHandle(handle);
        MKFree(block);
        TlsSetValue(slot, nullptr);
    }
    MKThreadInfoTerm();
}

}  // namespace

void SetModuleInstance(HINSTANCE instance)
{
    s_instance = instance;
}

HINSTANCE ModuleInstance()
{
    return s_instance;
}

volatile LONG* ServerLockCount()
{
    return &s_serverLocks;
}

bool AcquireModuleRuntime()
{
    if (s_runtimeRefs == 0) {
        MKThreadInfoInit();
        MKInstallSehTranslator();
        auto* section = static_cast<CRITICAL_SECTION*>(MKAlloc(sizeof(CRITICAL_SECTION)));
        if (section)
            InitializeCriticalSection(section);
        s_moduleSection = section;
    }
    InterlockedIncrement(&s_runtimeRefs);
    return true;
}

void ReleaseModuleRuntime()
{
    if (s_runtimeRefs == 0 || InterlockedDecrement(&s_runtimeRefs) != 0)
        return;
    if (s_moduleSection) {
        DeleteCriticalSection(s_moduleSection);
        MKFree(s_moduleSection);
        s_moduleSection = nullptr;
    }
    MKUninstallSehTranslator();
    FreeThreadInfo();
}

bool StartModule(HINSTANCE instance)
{
    if (s_moduleStarted)
        return true;
    if (!MKSharedSecurity::CreateGlobal())
        return false;
    MKHostCache::Create();
    SlideShowMessageWindow::RegisterWindowClass(instance);
    CoInitialize(nullptr);
    HostingModuleInit(instance);
    s_moduleStarted = true;
    return true;
}

void StopModule()
{
    // A start that failed left nothing to stop.
    if (!s_moduleStarted)
        return;
    s_moduleStarted = false;
    HostingModuleTerm();
    SlideShowMessageWindow::UnregisterWindowClass();
    MKHostCache::Destroy();
    MKSharedSecurity::DestroyGlobal();
}

CRITICAL_SECTION* GetModuleCriticalSection()
{
    return s_moduleSection;
}

void EnterModuleLock()
{
    if (s_moduleSection)
        EnterCriticalSection(s_moduleSection);
}

void LeaveModuleLock()
{
    if (s_moduleSection)
        LeaveCriticalSection(s_moduleSection);
}
