#include "companions/updateaddin/UpdaterClassFactory.h"

#include "companions/updateaddin/UpdaterAddIn.h"
#include "companions/updateaddin/UpdaterAddInModule.h"

#include "base/MKCrashGuard.h"

#include <new>

UpdaterClassFactory::~UpdaterClassFactory()
{
    UnlockUpdaterModule();
}

HRESULT UpdaterClassFactory::QueryInterface(REFIID iid, void** out)
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

ULONG UpdaterClassFactory::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

ULONG UpdaterClassFactory::Release()
{
    LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0) {
        static MKExceptionInfo s_info;
        MKCrashGuard(s_info, [this] { delete this; });
    }
    return refs;
}

HRESULT UpdaterClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, E_UNEXPECTED, [&]() -> HRESULT {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (outer && iid != IID_IUnknown)
            return CLASS_E_NOAGGREGATION;
        UpdaterAddIn* addIn = new (std::nothrow) UpdaterAddIn(this, outer);
        if (!addIn)
            return E_OUTOFMEMORY;
        HRESULT hr = addIn->QueryInterface(iid, out);
        addIn->Release();
        return hr;
    });
}

HRESULT UpdaterClassFactory::LockServer(BOOL lock)
{
    if (lock)
        AddRef();
    else
        Release();
    return S_OK;
}
