#include "companions/loader/LoaderClassFactory.h"

#include "companions/loader/LoaderAddIn.h"

#include <new>

LoaderClassFactory::LoaderClassFactory(volatile LONG* lockCount, HINSTANCE instance, REFCLSID classId)
    : m_lockCount(lockCount), m_instance(instance), m_classId(classId)
{
    InterlockedIncrement(m_lockCount);
}

LoaderClassFactory::~LoaderClassFactory()
{
    InterlockedDecrement(m_lockCount);
}

HRESULT LoaderClassFactory::QueryInterface(REFIID iid, void** out)
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

ULONG LoaderClassFactory::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

ULONG LoaderClassFactory::Release()
{
    LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0)
        delete this;
    return refs;
}

HRESULT LoaderClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (outer && iid != IID_IUnknown)
        return CLASS_E_NOAGGREGATION;
    LoaderAddIn* addIn = new (std::nothrow) LoaderAddIn(this, outer);
    if (!addIn)
        return E_OUTOFMEMORY;
    HRESULT hr = addIn->QueryInterface(iid, out);
    addIn->Release();
    return hr;
}

HRESULT LoaderClassFactory::LockServer(BOOL lock)
{
    if (lock)
        AddRef();
    else
        Release();
    return S_OK;
}
