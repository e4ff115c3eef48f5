#pragma once
#include "addin/effects/Plugin.h"
#include "base/MKComHolder.h"
#include "hostapi/PluginInterfaces.h"

class AddInCoreHost;

// The plug-in kernel: the first plug-in of the manager's list, which gets the
// callback object and offers the kernel's own interface.
class KernelPlugin final : public Plugin {
public:
    KernelPlugin(PluginHost* host, AddInCoreHost* owner, const PluginPackage* package);
    ~KernelPlugin() override;

    // The plug-in's initialisation, then the callback object handed over
    // through the kernel interface, and the kernel's answer that it loaded.
    bool Initialize() override;
    void Unload() override;

    bool IsReady();
    void Shutdown();
    // The kernel's slide object, with one reference; null without the kernel
    // interface or on failure.
    IUnknown* CreateObject(IUnknown* showWindow, IUnknown* slide, IUnknown* nodeHost);

private:
    AddInCoreHost* m_owner;
    MKComHolder<IKernelPlugin> m_kernel;
    IDispatch* m_callback = nullptr;
};
