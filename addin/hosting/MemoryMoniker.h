#pragma once
#include "addin/hosting/MonikerBase.h"

// A moniker that only has a display name. A node answers its site's
// GetMoniker with one named "C:\" so that its control resolves relative
// addresses against drive C:, where the virtual root lies. Binding it is
// refused (E_NOTIMPL).
class MemoryMoniker final : public MonikerBase {
public:
    explicit MemoryMoniker(const MKString& name) : m_name(name) {}

    HRESULT STDMETHODCALLTYPE GetDisplayName(IBindCtx* context, IMoniker* left, LPOLESTR* name) override;

private:
    ~MemoryMoniker() override = default;

    MKString m_name;
};
