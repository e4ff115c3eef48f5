#pragma once
#include "hostapi/ClrInterfaces.h"
#include "standins/clr/NotImplemented.h"

#include <string>
#include <vector>

namespace standin_clr {

class AssemblyObject;

// One application domain of the stand-in runtime: its name and the
// assemblies loaded into it. A new domain already holds the runtime's core
// library and the assemblies of the files listed, ';'-separated, in
// VISTELLO_CLR_PRELOAD. Members no host of ours calls answer E_NOTIMPL.
class AppDomainObject final : public Clr::_AppDomain {
public:
    explicit AppDomainObject(std::wstring name);

    // The loaded assembly of that full name, without a reference; null when
    // none.
    AssemblyObject* Find(const std::wstring& fullName) const;
    // Loads the image's bytes; the new assembly with a reference, or null for
    // bytes that are no stand-in assembly.
    AssemblyObject* LoadBytes(const unsigned char* bytes, size_t size);
    const std::wstring& Name() const { return m_name; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE Load_3(SAFEARRAY* rawAssembly, Clr::_Assembly** out) override;
    HRESULT STDMETHODCALLTYPE Load_4(SAFEARRAY* rawAssembly, SAFEARRAY* rawSymbolStore,
                                     Clr::_Assembly** out) override;
    HRESULT STDMETHODCALLTYPE GetAssemblies(SAFEARRAY** assemblies) override;
    HRESULT STDMETHODCALLTYPE get_FriendlyName(BSTR* name) override;

    STANDIN_NOTIMPL(GetTypeInfoCount(UINT*))
    STANDIN_NOTIMPL(GetTypeInfo(UINT, LCID, void**))
    STANDIN_NOTIMPL(GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*))
    STANDIN_NOTIMPL(Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*))
    STANDIN_NOTIMPL(get_ToString(BSTR*))
    STANDIN_NOTIMPL(Equals(VARIANT, VARIANT_BOOL*))
    STANDIN_NOTIMPL(GetHashCode(long*))
    STANDIN_NOTIMPL(GetType(IUnknown**))
    STANDIN_NOTIMPL(InitializeLifetimeService(VARIANT*))
    STANDIN_NOTIMPL(GetLifetimeService(VARIANT*))
    STANDIN_NOTIMPL(get_Evidence(IUnknown**))
    STANDIN_NOTIMPL(add_DomainUnload(IUnknown*))
    STANDIN_NOTIMPL(remove_DomainUnload(IUnknown*))
    STANDIN_NOTIMPL(add_AssemblyLoad(IUnknown*))
    STANDIN_NOTIMPL(remove_AssemblyLoad(IUnknown*))
    STANDIN_NOTIMPL(add_ProcessExit(IUnknown*))
    STANDIN_NOTIMPL(remove_ProcessExit(IUnknown*))
    STANDIN_NOTIMPL(add_TypeResolve(IUnknown*))
    STANDIN_NOTIMPL(remove_TypeResolve(IUnknown*))
    STANDIN_NOTIMPL(add_ResourceResolve(IUnknown*))
    STANDIN_NOTIMPL(remove_ResourceResolve(IUnknown*))
    STANDIN_NOTIMPL(add_AssemblyResolve(IUnknown*))
    STANDIN_NOTIMPL(remove_AssemblyResolve(IUnknown*))
    STANDIN_NOTIMPL(add_UnhandledException(IUnknown*))
    STANDIN_NOTIMPL(remove_UnhandledException(IUnknown*))
    STANDIN_NOTIMPL(DefineDynamicAssembly(IUnknown*, long, IUnknown**))
    STANDIN_NOTIMPL(DefineDynamicAssembly_2(IUnknown*, long, BSTR, IUnknown**))
    STANDIN_NOTIMPL(DefineDynamicAssembly_3(IUnknown*, long, IUnknown*, IUnknown**))
    STANDIN_NOTIMPL(DefineDynamicAssembly_4(IUnknown*, long, IUnknown*, IUnknown*, IUnknown*, IUnknown**))
    STANDIN_NOTIMPL(DefineDynamicAssembly_5(IUnknown*, long, BSTR, IUnknown*, IUnknown**))
    STANDIN_NOTIMPL(DefineDynamicAssembly_6(IUnknown*, long, BSTR, IUnknown*, IUnknown*, IUnknown*, IUnknown**))
    STANDIN_NOTIMPL(DefineDynamicAssembly_7(IUnknown*, long, IUnknown*, IUnknown*, IUnknown*, IUnknown*, IUnknown**))
    STANDIN_NOTIMPL(DefineDynamicAssembly_8(IUnknown*, long, BSTR, IUnknown*, IUnknown*, IUnknown*, IUnknown*, IUnknown**))
    STANDIN_NOTIMPL(DefineDynamicAssembly_9(IUnknown*, long, BSTR, IUnknown*, IUnknown*, IUnknown*, IUnknown*, VARIANT_BOOL, IUnknown**))
    STANDIN_NOTIMPL(CreateInstance(BSTR, BSTR, IUnknown**))
    STANDIN_NOTIMPL(CreateInstanceFrom(BSTR, BSTR, IUnknown**))
    STANDIN_NOTIMPL(CreateInstance_2(BSTR, BSTR, SAFEARRAY*, IUnknown**))
    STANDIN_NOTIMPL(CreateInstanceFrom_2(BSTR, BSTR, SAFEARRAY*, IUnknown**))
    STANDIN_NOTIMPL(CreateInstance_3(BSTR, BSTR, VARIANT_BOOL, long, IUnknown*, SAFEARRAY*, IUnknown*, SAFEARRAY*, IUnknown*, IUnknown**))
    STANDIN_NOTIMPL(CreateInstanceFrom_3(BSTR, BSTR, VARIANT_BOOL, long, IUnknown*, SAFEARRAY*, IUnknown*, SAFEARRAY*, IUnknown*, IUnknown**))
    STANDIN_NOTIMPL(Load(IUnknown*, Clr::_Assembly**))
    STANDIN_NOTIMPL(Load_2(BSTR, Clr::_Assembly**))
    STANDIN_NOTIMPL(Load_5(SAFEARRAY*, SAFEARRAY*, IUnknown*, Clr::_Assembly**))
    STANDIN_NOTIMPL(Load_6(IUnknown*, IUnknown*, Clr::_Assembly**))
    STANDIN_NOTIMPL(Load_7(BSTR, IUnknown*, Clr::_Assembly**))
    STANDIN_NOTIMPL(ExecuteAssembly(BSTR, IUnknown*, long*))
    STANDIN_NOTIMPL(ExecuteAssembly_2(BSTR, long*))
    STANDIN_NOTIMPL(ExecuteAssembly_3(BSTR, IUnknown*, SAFEARRAY*, long*))
    STANDIN_NOTIMPL(get_BaseDirectory(BSTR*))
    STANDIN_NOTIMPL(get_RelativeSearchPath(BSTR*))
    STANDIN_NOTIMPL(get_ShadowCopyFiles(VARIANT_BOOL*))
    STANDIN_NOTIMPL(AppendPrivatePath(BSTR))
    STANDIN_NOTIMPL(ClearPrivatePath())
    STANDIN_NOTIMPL(SetShadowCopyPath(BSTR))
    STANDIN_NOTIMPL(ClearShadowCopyPath())
    STANDIN_NOTIMPL(SetCachePath(BSTR))
    STANDIN_NOTIMPL(SetData(BSTR, VARIANT))
    STANDIN_NOTIMPL(GetData(BSTR, VARIANT*))
    STANDIN_NOTIMPL(SetAppDomainPolicy(IUnknown*))
    STANDIN_NOTIMPL(SetThreadPrincipal(IUnknown*))
    STANDIN_NOTIMPL(SetPrincipalPolicy(long))
    STANDIN_NOTIMPL(DoCallBack(IUnknown*))
    STANDIN_NOTIMPL(get_DynamicDirectory(BSTR*))

private:
    ~AppDomainObject();
    HRESULT Load(SAFEARRAY* rawAssembly, Clr::_Assembly** out);
    void Preload(const std::wstring& path);

    volatile LONG m_refs = 1;
    std::wstring m_name;
    std::vector<AssemblyObject*> m_assemblies;
};

}  // namespace standin_clr
