#include "base/MKClassFactory.h"

#include "base/MKCrashGuard.h"

HRESULT MKClassFactory::QueryInterface(REFIID iid, void** out)
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

ULONG MKClassFactory::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

ULONG MKClassFactory::Release()
{
    const LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0) {
        static MKExceptionInfo s_info;
        MKCrashGuard(s_info, [this] { delete this; });
    }
    return refs;
}

HRESULT MKClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, E_UNEXPECTED, [&] { return CreateUnguarded(outer, iid, out); });
}

HRESULT MKClassFactory::CreateUnguarded(IUnknown* outer, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (outer && iid != IID_IUnknown)
        return CLASS_E_NOAGGREGATION;
    IUnknown* object = NewInstance(outer);
    if (!object)
        return E_OUTOFMEMORY;
    const HRESULT hr = object->QueryInterface(iid, out);
    object->Release();
    return hr;
}

HRESULT MKClassFactory::LockServer(BOOL lock)
{
    if (lock)
        AddRef();
    else
        Release();
    return S_OK;
}
