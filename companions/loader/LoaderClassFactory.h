#pragma once
#include <windows.h>
#include <unknwn.h>

// The class factory of the loader's add-in class. It counts itself in the
// module lock count for its whole life; every add-in it makes holds a
// reference on it and takes its module instance from it.
class LoaderClassFactory final : public IClassFactory {
public:
    // Count 0: the creator takes the first reference.
    LoaderClassFactory(volatile LONG* lockCount, HINSTANCE instance, REFCLSID classId);
    LoaderClassFactory(const LoaderClassFactory&) = delete;
    LoaderClassFactory& operator=(const LoaderClassFactory&) = delete;

    HINSTANCE GetModuleInstance() const { return m_instance; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    virtual ~LoaderClassFactory();

    volatile LONG m_refs = 0;
    volatile LONG* m_lockCount;
    HINSTANCE m_instance;
    CLSID m_classId;
};
