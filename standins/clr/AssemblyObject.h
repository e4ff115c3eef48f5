#pragma once
#include "hostapi/ClrInterfaces.h"
#include "standins/clr/AssemblyImage.h"
#include "standins/clr/NotImplemented.h"

namespace standin_clr {

class AppDomainObject;

// One loaded stand-in assembly: its full name and its type table. Creating
// a type makes the stand-in object of its kind. Members no host of ours
// calls answer E_NOTIMPL.
class AssemblyObject final : public Clr::_Assembly {
public:
    // One reference, the caller's; the domain is not owned and must outlive
    // the objects made from the assembly's loader type.
    AssemblyObject(AppDomainObject* domain, AssemblyImage image);

    const AssemblyImage& Image() const { return m_image; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE get_FullName(BSTR* name) override;
    HRESULT STDMETHODCALLTYPE CreateInstance(BSTR typeName, VARIANT* object) override;

    STANDIN_NOTIMPL(GetTypeInfoCount(UINT*))
    STANDIN_NOTIMPL(GetTypeInfo(UINT, LCID, void**))
    STANDIN_NOTIMPL(GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*))
    STANDIN_NOTIMPL(Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*))
    STANDIN_NOTIMPL(get_ToString(BSTR*))
    STANDIN_NOTIMPL(Equals(VARIANT, VARIANT_BOOL*))
    STANDIN_NOTIMPL(GetHashCode(long*))
    STANDIN_NOTIMPL(GetType(IUnknown**))
    STANDIN_NOTIMPL(get_CodeBase(BSTR*))
    STANDIN_NOTIMPL(get_EscapedCodeBase(BSTR*))
    STANDIN_NOTIMPL(GetName(IUnknown**))
    STANDIN_NOTIMPL(GetName_2(VARIANT_BOOL, IUnknown**))
    STANDIN_NOTIMPL(get_EntryPoint(IUnknown**))
    STANDIN_NOTIMPL(GetType_2(BSTR, IUnknown**))
    STANDIN_NOTIMPL(GetType_3(BSTR, VARIANT_BOOL, IUnknown**))
    STANDIN_NOTIMPL(GetExportedTypes(SAFEARRAY**))
    STANDIN_NOTIMPL(GetTypes(SAFEARRAY**))
    STANDIN_NOTIMPL(GetManifestResourceStream(IUnknown*, BSTR, IUnknown**))
    STANDIN_NOTIMPL(GetManifestResourceStream_2(BSTR, IUnknown**))
    STANDIN_NOTIMPL(GetFile(BSTR, IUnknown**))
    STANDIN_NOTIMPL(GetFiles(SAFEARRAY**))
    STANDIN_NOTIMPL(GetFiles_2(VARIANT_BOOL, SAFEARRAY**))
    STANDIN_NOTIMPL(GetManifestResourceNames(SAFEARRAY**))
    STANDIN_NOTIMPL(GetManifestResourceInfo(BSTR, IUnknown**))
    STANDIN_NOTIMPL(get_Location(BSTR*))
    STANDIN_NOTIMPL(get_Evidence(IUnknown**))
    STANDIN_NOTIMPL(GetCustomAttributes(IUnknown*, VARIANT_BOOL, SAFEARRAY**))
    STANDIN_NOTIMPL(GetCustomAttributes_2(VARIANT_BOOL, SAFEARRAY**))
    STANDIN_NOTIMPL(IsDefined(IUnknown*, VARIANT_BOOL, VARIANT_BOOL*))
    STANDIN_NOTIMPL(GetObjectData(IUnknown*, IUnknown*))
    STANDIN_NOTIMPL(add_ModuleResolve(IUnknown*))
    STANDIN_NOTIMPL(remove_ModuleResolve(IUnknown*))
    STANDIN_NOTIMPL(GetType_4(BSTR, VARIANT_BOOL, VARIANT_BOOL, IUnknown**))
    STANDIN_NOTIMPL(GetSatelliteAssembly(IUnknown*, Clr::_Assembly**))
    STANDIN_NOTIMPL(GetSatelliteAssembly_2(IUnknown*, IUnknown*, Clr::_Assembly**))
    STANDIN_NOTIMPL(LoadModule(BSTR, SAFEARRAY*, IUnknown**))
    STANDIN_NOTIMPL(LoadModule_2(BSTR, SAFEARRAY*, SAFEARRAY*, IUnknown**))
    STANDIN_NOTIMPL(CreateInstance_2(BSTR, VARIANT_BOOL, VARIANT*))
    STANDIN_NOTIMPL(CreateInstance_3(BSTR, VARIANT_BOOL, long, IUnknown*, SAFEARRAY*, IUnknown*, SAFEARRAY*,
                                     VARIANT*))
    STANDIN_NOTIMPL(GetLoadedModules(SAFEARRAY**))
    STANDIN_NOTIMPL(GetLoadedModules_2(VARIANT_BOOL, SAFEARRAY**))
    STANDIN_NOTIMPL(GetModules(SAFEARRAY**))
    STANDIN_NOTIMPL(GetModules_2(VARIANT_BOOL, SAFEARRAY**))
    STANDIN_NOTIMPL(GetModule(BSTR, IUnknown**))
    STANDIN_NOTIMPL(GetReferencedAssemblies(SAFEARRAY**))
    STANDIN_NOTIMPL(get_GlobalAssemblyCache(VARIANT_BOOL*))

private:
    ~AssemblyObject() = default;

    volatile LONG m_refs = 1;
    AppDomainObject* m_domain;
    AssemblyImage m_image;
};

}  // namespace standin_clr
