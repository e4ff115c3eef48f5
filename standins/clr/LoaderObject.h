#pragma once
#include "hostapi/PluginInterfaces.h"
#include "standins/clr/AssemblyImage.h"
#include "standins/clr/ScriptedObject.h"

namespace standin_clr {

class AppDomainObject;

// The loader assembly's loader type: finds and loads assemblies in its
// domain and creates plug-in objects from them. Logged as "Loader.<member>".
class LoaderObject : public ScriptedObject<IPPTPluginLoader> {
public:
    // Holds a reference on the domain.
    LoaderObject(AppDomainObject* domain, const AssemblyType& type);

    HRESULT STDMETHODCALLTYPE FindAssembly(BSTR displayName, IUnknown** assembly) override;
    HRESULT STDMETHODCALLTYPE Reserved2() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LoadAssemblyFile(BSTR path, IUnknown** assembly) override;
    HRESULT STDMETHODCALLTYPE LoadAssemblyBytes(SAFEARRAY* image, IUnknown** assembly) override;
    HRESULT STDMETHODCALLTYPE CreatePluginObject(IUnknown* assembly, IDispatch** plugin) override;
    HRESULT STDMETHODCALLTYPE GetKernelVersion(BSTR* version) override;

protected:
    void* QueryOwn(REFIID iid) override;

private:
    ~LoaderObject() override;

    AppDomainObject* m_domain;
    AssemblyType m_type;
};

}  // namespace standin_clr
