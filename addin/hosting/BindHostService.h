#pragma once
#include "base/MKString.h"

#include <urlmon.h>

class BindingManager;
class UrlParts;

// The IBindHost a node gives its control, one per service request. Names
// below the virtual root become monikers served from memory by the node's
// binding manager; every other name (after the embed rewrite) becomes the
// system's URL moniker in a wrapper that forwards urlmon's notifications to
// the control. Holds a reference on the manager. CreateMoniker is refused on
// any thread but the one that made the service. Count 0 at construction.
class BindHostService final : public IBindHost {
public:
    explicit BindHostService(BindingManager* manager);
    BindHostService(const BindHostService&) = delete;
    BindHostService& operator=(const BindHostService&) = delete;

    // The node's answer to its site's service query for IBindHost: a new
    // service over the manager in *out; E_INVALIDARG for a null out pointer,
    // E_NOINTERFACE (and null) without a manager.
    static HRESULT Offer(BindingManager* manager, void** out);

    // True, with the query of `parts` changed, when an http URL of a video
    // site's embed player names a movie below the virtual root in its "eurl"
    // parameter: that value becomes a local file URL.
    static bool RewriteEmbedUrl(UrlParts& parts);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // On failure a non-null out pointer is set to null, whatever the reason.
    HRESULT STDMETHODCALLTYPE CreateMoniker(LPOLESTR name, IBindCtx* context, IMoniker** moniker,
                                            DWORD reserved) override;
    // E_INVALIDARG for a null moniker. Without a bind context, one is made
    // with the given callback; with one, the callback registered in it is used.
    HRESULT STDMETHODCALLTYPE MonikerBindToStorage(IMoniker* moniker, IBindCtx* context, IBindStatusCallback* callback,
                                                   REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE MonikerBindToObject(IMoniker*, IBindCtx*, IBindStatusCallback*, REFIID,
                                                  void**) override
    {
        return E_NOTIMPL;
    }

private:
    ~BindHostService();

    HRESULT CreateMonikerFor(const MKString& name, IMoniker** moniker);

    LONG m_refs = 0;
    DWORD m_thread;
    BindingManager* m_manager;
};
