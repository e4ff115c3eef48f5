#pragma once
#include <oleidl.h>

// The container a node hands out from its site's GetContainer: a control may
// ask for one but gets nothing from it. Count starts at 0.
class SiteContainer : public IOleContainer {
public:
    SiteContainer() = default;
    SiteContainer(const SiteContainer&) = delete;
    SiteContainer& operator=(const SiteContainer&) = delete;

    // A new container with one reference in `container`: E_POINTER for a null
    // pointer, E_OUTOFMEMORY when none can be made.
    static HRESULT Create(IOleContainer** container);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumObjects(DWORD, IEnumUnknown**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LockContainer(BOOL) override { return E_NOTIMPL; }

private:
    virtual ~SiteContainer() = default;

    LONG m_refs = 0;
};
