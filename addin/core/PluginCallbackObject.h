#pragma once
#include "base/MKDispatchObject.h"

#include <stdint.h>

class KernelCallbackServices;
class MKString;

// The object handed to the plug-in kernel at its start: the update check
// object, the product's title, the kernel version, the update settings and
// history, a salted digest, the preferences blob, the installation identifier
// and the update-check value, by DISPID.
// Once the kernel unloaded (Detach) every call answers E_NOTIMPL.
class PluginCallbackObject final : public MKDispatchObject {
public:
    // The object's own interface identity, which QueryInterface answers.
    static const IID kIdentity;

    explicit PluginCallbackObject(KernelCallbackServices* services);

    void Detach() { m_services = nullptr; }

    // SHA-1 of the text's UTF-8 bytes followed by the product's salt, as 40
    // lower-case hexadecimal digits.
    static MKString SaltedDigest(const MKString& text);

protected:
    HRESULT HandleInvoke(DISPID id, DISPPARAMS* params, VARIANT* result) override;

private:
    ~PluginCallbackObject() override = default;

    KernelCallbackServices* m_services;
};
