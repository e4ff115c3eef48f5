#pragma once
#include "addin/hosting/MonikerBase.h"
#include "base/MKComHolder.h"


// The moniker of every name outside the virtual root: the system's URL
// moniker, bound with our callback proxy standing in the bind context for the
// control's callback during the bind.
class UrlMonikerWrapper final : public MonikerBase {
public:
    UrlMonikerWrapper() = default;

    // Makes the inner URL moniker through urlmon; false (none made) when one
    // exists already, for a null name, without urlmon or when urlmon refuses.
    bool CreateInner(const wchar_t* name);

    // E_FAIL without an inner moniker; the registration's failure when the
    // proxy cannot take the control's place; else the inner moniker's answer.
    HRESULT STDMETHODCALLTYPE BindToStorage(IBindCtx* context, IMoniker* left, REFIID iid, void** object) override;
    // The inner moniker's name; E_FAIL without one.
    HRESULT STDMETHODCALLTYPE GetDisplayName(IBindCtx* context, IMoniker* left, LPOLESTR* name) override;

private:
    ~UrlMonikerWrapper() override;

    MKComHolder<IMoniker> m_inner;
    MKComHolder<IBindStatusCallback> m_proxy;
};
