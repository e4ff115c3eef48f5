#include "addin/core/KernelPlugin.h"

#include "addin/core/AddInCoreHost.h"
#include "addin/effects/ClrObject.h"

KernelPlugin::KernelPlugin(PluginHost* host, AddInCoreHost* owner, const PluginPackage* package)
    : Plugin(host, package), m_owner(owner)
{
}

KernelPlugin::~KernelPlugin()
{
    Unload();
}

bool KernelPlugin::Initialize()
{
    if (!Plugin::Initialize())
        return false;
    if (!m_callback)
        m_callback = m_owner->MakeCallbackObject(this);
    IKernelPlugin* kernel = nullptr;
    if (!m_callback || !GetObject() ||
        FAILED(GetObject()->QueryInterface(IID_IKernelPlugin, reinterpret_cast<void**>(&kernel))) || !kernel)
        return false;
    m_kernel.Attach(kernel);
    if (FAILED(m_kernel->SetCallback(m_callback)))
        return false;
    return QueryLoaded();
}

void KernelPlugin::Unload()
{
    m_kernel.Release();
    Plugin::Unload();
    if (m_callback) {
        m_owner->DetachPluginObject(m_callback);
        m_callback->Release();
        m_callback = nullptr;
    }
}

bool KernelPlugin::IsReady()
{
    long ready = 0;
    return m_kernel && SUCCEEDED(m_kernel->IsReady(&ready)) && ready != 0;
}

void KernelPlugin::Shutdown()
{
    if (m_kernel)
        m_kernel->Shutdown();
}

IUnknown* KernelPlugin::CreateObject(IUnknown* showWindow, IUnknown* slide, IUnknown* nodeHost)
{
    IUnknown* object = nullptr;
    if (!m_kernel || FAILED(m_kernel->CreateObject(showWindow, slide, nodeHost, &object))) {
        if (object)
            object->Release();
        return nullptr;
    }
    return object;
}
