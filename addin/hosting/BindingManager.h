#pragma once
#include "base/MKString.h"
#include "base/MKTArray.h"

#include <urlmon.h>

class Binding;
class UrlResolver;

// Serves the bindings of one node's names below the virtual root: asks the
// node's resolver for each name and plays the bind-status protocol to the
// control's callback before the bind returns (or, for pending answers, until
// the node stops the manager). COM-counted (IUnknown only; count 0 at
// construction, the creator takes the first reference); every binding holds
// a reference, so the manager outlives them. The resolver is not counted:
// the node clears it (ClearNode) before it goes away. User-interface thread.
class BindingManager final : public IUnknown {
public:
    explicit BindingManager(UrlResolver* node) : m_node(node) {}
    BindingManager(const BindingManager&) = delete;
    BindingManager& operator=(const BindingManager&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // E_FAIL without a node, while this callback already has a listed
    // binding, or when the node does not serve the name (the callback is then
    // never called). Served at once: OnStartBinding, OnDataAvailable and
    // OnStopBinding(S_FALSE) before returning OnDataAvailable's answer.
    // Pending: OnStartBinding now, S_OK, OnStopBinding at StopAll. E_ABORT
    // when the callback's OnStartBinding stopped the manager.
    HRESULT StartBinding(IBindStatusCallback* callback, const MKString& url);
    // Stops and deletes every binding listed when it is called.
    void StopAll();
    // Takes one binding out of the list, stops it and deletes it.
    void RemoveAt(int index);
    void ClearNode() { m_node = nullptr; }

    int GetBindingCount() const { return m_bindings.GetCount(); }

private:
    ~BindingManager();
    // The listed binding with this id, or -1.
    int IndexOfId(int id) const;

    LONG m_refs = 0;
    MKTArray<Binding*> m_bindings;
    UrlResolver* m_node;
};
