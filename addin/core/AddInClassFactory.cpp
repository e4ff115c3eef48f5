#include "addin/core/AddInClassFactory.h"

#include "addin/core/AddIn.h"
#include "addin/core/AddInGuard.h"
#include "addin/core/AddInModule.h"
#include "addin/core/ShellHook.h"
#include "base/MKCommandLine.h"

#include <new>

AddInClassFactory::AddInClassFactory(HINSTANCE instance, REFCLSID classId)
    : m_serverLock(ServerLockCount()), m_instance(instance), m_classId(classId)
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
        return StartModule(m_instance);
    return true;
}

HRESULT AddInClassFactory::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG AddInClassFactory::AddRef()
{
    return InterlockedIncrement(&m_refs);
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
    return AddInGuarded(s_guard, nullptr, E_UNEXPECTED, [&]() -> HRESULT {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (outer && iid != IID_IUnknown)
            return CLASS_E_NOAGGREGATION;
        AddIn* addIn = new (std::nothrow) AddIn(this, outer);
        if (!addIn)
            return E_OUTOFMEMORY;
        HRESULT hr = addIn->QueryInterface(iid, out);
        addIn->Release();
        return hr;
    });
}

HRESULT AddInClassFactory::LockServer(BOOL lock)
{
    if (lock)
        AddRef();
    else
        Release();
    return S_OK;
}
