#include "addin/core/AddInClassFactory.h"

#include "addin/core/AddIn.h"
#include "addin/core/AddInGuard.h"
#include "addin/core/AddInModule.h"
#include "addin/core/ShellHook.h"
#include "base/MKCommandLine.h"

#include <new>

AddInClassFactory::AddInClassFactory(HINSTANCE instance) : MKClassFactory(instance), m_serverLock(ServerLockCount())
{
    InterlockedIncrement(m_serverLock);
}

AddInClassFactory::~AddInClassFactory()
{
    InterlockedDecrement(m_serverLock);
}

bool CommandLineAsksToShow(const wchar_t* commandLine)
{
    MKCommandLine parser;
    parser.optionsEnabled = false;
    parser.slashOptions = true;
    parser.letterGroups = false;
    parser.unquoteValues = true;
    return parser.Parse(commandLine) && parser.FindOption(L"S", true) >= 0;
}

bool AddInClassFactory::Initialize()
{
    m_startedToShow = CommandLineAsksToShow(GetCommandLineW());
    if (*m_serverLock == 1)
        return StartModule(GetModuleInstance());
    return true;
}

ULONG AddInClassFactory::Release()
{
    static AddInGuardRecord s_guard;
    return AddInGuardedRelease(s_guard, m_refs, [this] {
        LONG locks = *m_serverLock;
        delete this;
        if (locks == 1) {
            ShellHook::FreeRegistrations();
            StopModule();
        }
    });
}

HRESULT AddInClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out)
{
    static AddInGuardRecord s_guard;
    return AddInGuarded(s_guard, nullptr, E_UNEXPECTED, [&] { return CreateUnguarded(outer, iid, out); });
}

IUnknown* AddInClassFactory::NewInstance(IUnknown* outer)
{
    return new (std::nothrow) AddIn(this, outer);
}
