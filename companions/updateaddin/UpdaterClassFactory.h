#pragma once
#include <windows.h>
#include <unknwn.h>

// The class factory of the update add-in. It holds a module lock for its
// whole life (taken by its maker, see UpdaterAddInModule.h); every add-in it
// makes holds a reference on it and takes its module instance from it.
class UpdaterClassFactory final : public IClassFactory {
public:
    // Count 0: the creator takes the first reference. The module lock must
    // be held already; the factory gives it back when it goes.
    UpdaterClassFactory(HINSTANCE instance, REFCLSID classId) : m_instance(instance), m_classId(classId) {}
    UpdaterClassFactory(const UpdaterClassFactory&) = delete;
    UpdaterClassFactory& operator=(const UpdaterClassFactory&) = delete;

    HINSTANCE GetModuleInstance() const { return m_instance; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    virtual ~UpdaterClassFactory();

    volatile LONG m_refs = 0;
    HINSTANCE m_instance;
    CLSID m_classId;
};
