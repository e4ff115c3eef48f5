#include "companions/trampoline/TrampolineClassFactory.h"

#include "companions/trampoline/TrampolineModule.h"
#include "companions/trampoline/VistelloTrampolineObject.h"

#include <new>

HRESULT TrampolineClassFactory::QueryInterface(REFIID iid, void** out)
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

ULONG TrampolineClassFactory::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

ULONG TrampolineClassFactory::Release()
{
    return InterlockedDecrement(&m_refs);
}

HRESULT TrampolineClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (outer && iid != IID_IUnknown)
        return CLASS_E_NOAGGREGATION;
    auto* object = new (std::nothrow) VistelloTrampolineObject(outer);
    if (!object)
        return E_OUTOFMEMORY;
    IUnknown* inner = object->Inner();
    inner->AddRef();
    HRESULT hr = inner->QueryInterface(iid, out);
    inner->Release();
    return hr;
}

HRESULT TrampolineClassFactory::LockServer(BOOL lock)
{
    if (lock)
        TrampolineLock();
    else
        TrampolineUnlock();
    return S_OK;
}
