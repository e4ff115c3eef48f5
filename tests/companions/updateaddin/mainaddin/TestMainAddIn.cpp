// A stand-in for VistelloAddIn.dll in the update add-in's tests: the COM
// add-in "Vistello.AddIn" that the update disconnects and connects again. It
// does nothing when connected; its library stays loaded while any object or
// factory lives, as the real one does.
#include <windows.h>
#include <oaidl.h>

#include "hostapi/OfficeInterfaces.h"

#include <new>

namespace {

// {6B1C8C52-8E0A-4F53-9D1B-2E6B1F2D7A31}
const CLSID kTestMainAddInClass = {0x6B1C8C52, 0x8E0A, 0x4F53, {0x9D, 0x1B, 0x2E, 0x6B, 0x1F, 0x2D, 0x7A, 0x31}};

volatile LONG s_objects = 0;

class Connection final : public Office::IDTExtensibility2 {
public:
    Connection() { InterlockedIncrement(&s_objects); }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == Office::IID_IDTExtensibility2) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_refs); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG refs = InterlockedDecrement(&m_refs);
        if (refs == 0)
            delete this;
        return refs;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE OnConnection(IDispatch*, long, IDispatch*, SAFEARRAY**) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDisconnection(long, SAFEARRAY**) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY**) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY**) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY**) override { return S_OK; }

private:
    ~Connection() { InterlockedDecrement(&s_objects); }
    volatile LONG m_refs = 1;
};

class Factory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&s_objects); }
    ULONG STDMETHODCALLTYPE Release() override { return InterlockedDecrement(&s_objects); }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        auto* connection = new (std::nothrow) Connection();
        if (!connection)
            return E_OUTOFMEMORY;
        HRESULT hr = connection->QueryInterface(iid, out);
        connection->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        lock ? AddRef() : Release();
        return S_OK;
    }
};

Factory s_factory;

}  // namespace

extern "C" HRESULT WINAPI DllCanUnloadNow()
{
    return s_objects == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID classId, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (classId != kTestMainAddInClass)
        return CLASS_E_CLASSNOTAVAILABLE;
    return s_factory.QueryInterface(iid, out);
}
