#include "standins/clr/LoaderObject.h"

#include "standins/clr/AppDomainObject.h"
#include "standins/clr/AssemblyObject.h"
#include "standins/clr/PluginObject.h"

namespace standin_clr {

LoaderObject::LoaderObject(AppDomainObject* domain, const AssemblyType& type)
    : ScriptedObject(L"Loader"), m_domain(domain), m_type(type)
{
    m_domain->AddRef();
}

LoaderObject::~LoaderObject()
{
    m_domain->Release();
}

void* LoaderObject::QueryOwn(REFIID iid)
{
    return iid == IID_IPPTPluginLoader ? static_cast<IPPTPluginLoader*>(this) : nullptr;
}

HRESULT LoaderObject::FindAssembly(BSTR displayName, IUnknown** assembly)
{
    std::wstring name = displayName ? displayName : L"";
    HRESULT hr = ClrLog::Enter(L"Loader.FindAssembly(" + name + L")");
    if (FAILED(hr))
        return hr;
    if (!assembly)
        return E_POINTER;
    *assembly = nullptr;
    if (AssemblyObject* found = m_domain->Find(name)) {
        found->AddRef();
        *assembly = found;
    }
    return S_OK;
}

HRESULT LoaderObject::LoadAssemblyFile(BSTR path, IUnknown** assembly)
{
    HRESULT hr = ClrLog::Enter(L"Loader.LoadAssemblyFile(" + std::wstring(path ? path : L"") + L")");
    if (FAILED(hr))
        return hr;
    if (!assembly)
        return E_POINTER;
    *assembly = nullptr;
    return E_NOTIMPL;
}

HRESULT LoaderObject::LoadAssemblyBytes(SAFEARRAY* image, IUnknown** assembly)
{
    HRESULT hr = ClrLog::Enter(L"Loader.LoadAssemblyBytes");
    if (FAILED(hr))
        return hr;
    if (!assembly)
        return E_POINTER;
    *assembly = nullptr;
    Clr::_Assembly* loaded = nullptr;
    hr = m_domain->Load_3(image, &loaded);
    *assembly = loaded;
    return hr;
}

HRESULT LoaderObject::CreatePluginObject(IUnknown* assembly, IDispatch** plugin)
{
    HRESULT hr = ClrLog::Enter(L"Loader.CreatePluginObject");
    if (FAILED(hr))
        return hr;
    if (!plugin)
        return E_POINTER;
    *plugin = nullptr;
    Clr::_Assembly* own = nullptr;
    if (!assembly || FAILED(assembly->QueryInterface(Clr::kIidAssembly, reinterpret_cast<void**>(&own))))
        return E_INVALIDARG;
    const AssemblyImage& image = static_cast<AssemblyObject*>(own)->Image();
    const AssemblyType* type = image.FindKind(L"kernel");
    if (!type)
        type = image.FindKind(L"plugin");
    if (type)
        *plugin = PluginObject::Create(*type);
    own->Release();
    return *plugin ? S_OK : static_cast<HRESULT>(0x80131522);
}

HRESULT LoaderObject::GetKernelVersion(BSTR* version)
{
    HRESULT hr = ClrLog::Enter(L"Loader.GetKernelVersion");
    if (FAILED(hr))
        return hr;
    if (!version)
        return E_POINTER;
    *version = SysAllocString(m_type.Field(L"KernelVersion").c_str());
    return S_OK;
}

}  // namespace standin_clr
