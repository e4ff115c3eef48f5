#pragma once
#include "addin/hosting/MonikerBase.h"
#include "base/MKComHolder.h"

class BindingManager;

// The moniker of a name below the virtual root. Binding it to a stream finds
// the control's bind-status callback in the bind context and lets the node's
// binding manager serve the name from memory; the data reaches the control
// only through that callback. Holds a reference on the manager.
class VirtualRootMoniker final : public MonikerBase {
public:
    VirtualRootMoniker(const MKString& name, BindingManager* manager);

    // E_NOTIMPL for anything but IStream; the lookup's failure when the
    // context holds no callback; else the manager's answer.
    HRESULT STDMETHODCALLTYPE BindToStorage(IBindCtx* context, IMoniker* left, REFIID iid, void** object) override;
    // The name exactly as it was given.
    HRESULT STDMETHODCALLTYPE GetDisplayName(IBindCtx* context, IMoniker* left, LPOLESTR* name) override;

private:
    ~VirtualRootMoniker() override;

    MKString m_name;
    MKComHolder<BindingManager> m_manager;
};
