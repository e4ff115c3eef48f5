#include "standins/clr/AssemblyObject.h"

#include "standins/clr/ClrLog.h"
#include "standins/clr/LoaderObject.h"
#include "standins/clr/PluginObject.h"

namespace standin_clr {

namespace {
// The runtime's TypeLoadException.
constexpr HRESULT kTypeLoadError = static_cast<HRESULT>(0x80131522);
}  // namespace

AssemblyObject::AssemblyObject(AppDomainObject* domain, AssemblyImage image)
    : m_domain(domain), m_image(std::move(image))
{
}

HRESULT AssemblyObject::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != Clr::kIidAssembly)
        return E_NOINTERFACE;
    *out = static_cast<Clr::_Assembly*>(this);
    AddRef();
    return S_OK;
}

ULONG AssemblyObject::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_refs));
}

ULONG AssemblyObject::Release()
{
    LONG left = InterlockedDecrement(&m_refs);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT AssemblyObject::get_FullName(BSTR* name)
{
    if (!name)
        return E_POINTER;
    *name = SysAllocString(m_image.fullName.c_str());
    return *name ? S_OK : E_OUTOFMEMORY;
}

HRESULT AssemblyObject::CreateInstance(BSTR typeName, VARIANT* object)
{
    std::wstring name = typeName ? typeName : L"";
    HRESULT hr = ClrLog::Enter(L"Assembly.CreateInstance(" + name + L")");
    if (FAILED(hr))
        return hr;
    if (!object)
        return E_POINTER;
    VariantInit(object);
    const AssemblyType* type = m_image.FindType(name);
    if (!type)
        return kTypeLoadError;
    IDispatch* made = nullptr;
    std::wstring kind = type->Field(L"Kind");
    if (kind == L"loader")
        made = new LoaderObject(m_domain, *type);
    else if (kind == L"kernel" || kind == L"plugin")
        made = PluginObject::Create(*type);
    if (!made)
        return kTypeLoadError;
    object->vt = VT_DISPATCH;
    object->pdispVal = made;
    return S_OK;
}

}  // namespace standin_clr
