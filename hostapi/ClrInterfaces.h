#pragma once
#include <windows.h>
#include <oaidl.h>
#include <mscoree.h>

// The .NET runtime's unmanaged hosting interfaces as the runtime publishes
// them: the shim's exports, ICorRuntimeHost (from the platform headers), and
// the application domain and assembly interfaces of the runtime's core
// library, whose virtual tables below follow the published slot order. Only
// the members a host calls carry exact parameter types; the others keep their
// slots with parameters of the same size.

namespace Clr {

// Start-up flags of CorBindToRuntimeEx.
inline constexpr DWORD kStartupConcurrentGc = 0x1;
inline constexpr DWORD kStartupLoaderSafeMode = 0x10;

typedef HRESULT(STDAPICALLTYPE* CorBindToRuntimeExFn)(LPCWSTR version, LPCWSTR buildFlavor, DWORD startupFlags,
                                                     REFCLSID classId, REFIID iid, void** out);
typedef HRESULT(STDAPICALLTYPE* GetCorVersionFn)(LPWSTR buffer, DWORD size, DWORD* length);

inline constexpr CLSID kClsidCorRuntimeHost = {
    0xCB2F6723, 0xAB3A, 0x11D2, {0x9C, 0x40, 0x00, 0xC0, 0x4F, 0xA3, 0x0A, 0x3E}};
inline constexpr IID kIidCorRuntimeHost = {
    0xCB2F6722, 0xAB3A, 0x11D2, {0x9C, 0x40, 0x00, 0xC0, 0x4F, 0xA3, 0x0A, 0x3E}};
inline constexpr IID kIidAppDomain = {
    0x05F696DC, 0x2B29, 0x3663, {0xAD, 0x8B, 0xC4, 0x38, 0x9C, 0xF2, 0xA7, 0x13}};
inline constexpr IID kIidAssembly = {
    0x17156360, 0x2F1A, 0x384A, {0xBC, 0x52, 0xFD, 0xE9, 0x3C, 0x21, 0x5C, 0x5B}};

struct _Assembly;

// System._AppDomain: an IUnknown interface whose first four methods repeat
// IDispatch's.
struct _AppDomain : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, void** info) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                                    DISPID* ids) = 0;
    virtual HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                                             VARIANT* result, EXCEPINFO* exception, UINT* argumentError) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ToString(BSTR* text) = 0;
    virtual HRESULT STDMETHODCALLTYPE Equals(VARIANT other, VARIANT_BOOL* equal) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetHashCode(long* hash) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetType(IUnknown** type) = 0;
    virtual HRESULT STDMETHODCALLTYPE InitializeLifetimeService(VARIANT* service) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetLifetimeService(VARIANT* service) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Evidence(IUnknown** evidence) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_DomainUnload(IUnknown* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_DomainUnload(IUnknown* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_AssemblyLoad(IUnknown* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_AssemblyLoad(IUnknown* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_ProcessExit(IUnknown* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_ProcessExit(IUnknown* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_TypeResolve(IUnknown* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_TypeResolve(IUnknown* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_ResourceResolve(IUnknown* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_ResourceResolve(IUnknown* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_AssemblyResolve(IUnknown* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_AssemblyResolve(IUnknown* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_UnhandledException(IUnknown* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_UnhandledException(IUnknown* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefineDynamicAssembly(IUnknown* name, long access, IUnknown** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefineDynamicAssembly_2(IUnknown* name, long access, BSTR dir,
                                                              IUnknown** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefineDynamicAssembly_3(IUnknown* name, long access, IUnknown* evidence,
                                                              IUnknown** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefineDynamicAssembly_4(IUnknown* name, long access, IUnknown* required,
                                                              IUnknown* optional, IUnknown* refused,
                                                              IUnknown** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefineDynamicAssembly_5(IUnknown* name, long access, BSTR dir,
                                                              IUnknown* evidence, IUnknown** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefineDynamicAssembly_6(IUnknown* name, long access, BSTR dir,
                                                              IUnknown* required, IUnknown* optional,
                                                              IUnknown* refused, IUnknown** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefineDynamicAssembly_7(IUnknown* name, long access, IUnknown* evidence,
                                                              IUnknown* required, IUnknown* optional,
                                                              IUnknown* refused, IUnknown** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefineDynamicAssembly_8(IUnknown* name, long access, BSTR dir,
                                                              IUnknown* evidence, IUnknown* required,
                                                              IUnknown* optional, IUnknown* refused,
                                                              IUnknown** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefineDynamicAssembly_9(IUnknown* name, long access, BSTR dir,
                                                              IUnknown* evidence, IUnknown* required,
                                                              IUnknown* optional, IUnknown* refused,
                                                              VARIANT_BOOL synchronized, IUnknown** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateInstance(BSTR assembly, BSTR type, IUnknown** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateInstanceFrom(BSTR file, BSTR type, IUnknown** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateInstance_2(BSTR assembly, BSTR type, SAFEARRAY* attributes,
                                                       IUnknown** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateInstanceFrom_2(BSTR file, BSTR type, SAFEARRAY* attributes,
                                                           IUnknown** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateInstance_3(BSTR assembly, BSTR type, VARIANT_BOOL ignoreCase,
                                                       long binding, IUnknown* binder, SAFEARRAY* args,
                                                       IUnknown* culture, SAFEARRAY* attributes,
                                                       IUnknown* evidence, IUnknown** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateInstanceFrom_3(BSTR file, BSTR type, VARIANT_BOOL ignoreCase,
                                                           long binding, IUnknown* binder, SAFEARRAY* args,
                                                           IUnknown* culture, SAFEARRAY* attributes,
                                                           IUnknown* evidence, IUnknown** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE Load(IUnknown* name, _Assembly** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE Load_2(BSTR name, _Assembly** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE Load_3(SAFEARRAY* rawAssembly, _Assembly** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE Load_4(SAFEARRAY* rawAssembly, SAFEARRAY* rawSymbolStore,
                                             _Assembly** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE Load_5(SAFEARRAY* rawAssembly, SAFEARRAY* rawSymbolStore,
                                             IUnknown* evidence, _Assembly** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE Load_6(IUnknown* name, IUnknown* evidence, _Assembly** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE Load_7(BSTR name, IUnknown* evidence, _Assembly** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE ExecuteAssembly(BSTR file, IUnknown* evidence, long* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE ExecuteAssembly_2(BSTR file, long* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE ExecuteAssembly_3(BSTR file, IUnknown* evidence, SAFEARRAY* args,
                                                        long* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_FriendlyName(BSTR* name) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_BaseDirectory(BSTR* folder) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_RelativeSearchPath(BSTR* path) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ShadowCopyFiles(VARIANT_BOOL* on) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAssemblies(SAFEARRAY** assemblies) = 0;
    virtual HRESULT STDMETHODCALLTYPE AppendPrivatePath(BSTR path) = 0;
    virtual HRESULT STDMETHODCALLTYPE ClearPrivatePath() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetShadowCopyPath(BSTR path) = 0;
    virtual HRESULT STDMETHODCALLTYPE ClearShadowCopyPath() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetCachePath(BSTR path) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetData(BSTR name, VARIANT data) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetData(BSTR name, VARIANT* data) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetAppDomainPolicy(IUnknown* policy) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetThreadPrincipal(IUnknown* principal) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetPrincipalPolicy(long policy) = 0;
    virtual HRESULT STDMETHODCALLTYPE DoCallBack(IUnknown* callback) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DynamicDirectory(BSTR* folder) = 0;
};

// System.Reflection._Assembly, laid out like _AppDomain.
struct _Assembly : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, void** info) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                                    DISPID* ids) = 0;
    virtual HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                                             VARIANT* result, EXCEPINFO* exception, UINT* argumentError) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ToString(BSTR* text) = 0;
    virtual HRESULT STDMETHODCALLTYPE Equals(VARIANT other, VARIANT_BOOL* equal) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetHashCode(long* hash) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetType(IUnknown** type) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CodeBase(BSTR* text) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_EscapedCodeBase(BSTR* text) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetName(IUnknown** name) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetName_2(VARIANT_BOOL copiedName, IUnknown** name) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_FullName(BSTR* name) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_EntryPoint(IUnknown** method) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetType_2(BSTR name, IUnknown** type) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetType_3(BSTR name, VARIANT_BOOL throwOnError, IUnknown** type) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetExportedTypes(SAFEARRAY** types) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTypes(SAFEARRAY** types) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetManifestResourceStream(IUnknown* type, BSTR name, IUnknown** stream) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetManifestResourceStream_2(BSTR name, IUnknown** stream) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFile(BSTR name, IUnknown** stream) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFiles(SAFEARRAY** streams) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFiles_2(VARIANT_BOOL resources, SAFEARRAY** streams) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetManifestResourceNames(SAFEARRAY** names) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetManifestResourceInfo(BSTR name, IUnknown** info) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Location(BSTR* path) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Evidence(IUnknown** evidence) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCustomAttributes(IUnknown* type, VARIANT_BOOL inherit,
                                                          SAFEARRAY** attributes) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCustomAttributes_2(VARIANT_BOOL inherit, SAFEARRAY** attributes) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsDefined(IUnknown* type, VARIANT_BOOL inherit, VARIANT_BOOL* defined) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetObjectData(IUnknown* info, IUnknown* context) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_ModuleResolve(IUnknown* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_ModuleResolve(IUnknown* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetType_4(BSTR name, VARIANT_BOOL throwOnError, VARIANT_BOOL ignoreCase,
                                                IUnknown** type) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSatelliteAssembly(IUnknown* culture, _Assembly** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSatelliteAssembly_2(IUnknown* culture, IUnknown* version,
                                                             _Assembly** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE LoadModule(BSTR name, SAFEARRAY* rawModule, IUnknown** module) = 0;
    virtual HRESULT STDMETHODCALLTYPE LoadModule_2(BSTR name, SAFEARRAY* rawModule, SAFEARRAY* rawSymbols,
                                                   IUnknown** module) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateInstance(BSTR typeName, VARIANT* object) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateInstance_2(BSTR typeName, VARIANT_BOOL ignoreCase,
                                                       VARIANT* object) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateInstance_3(BSTR typeName, VARIANT_BOOL ignoreCase, long binding,
                                                       IUnknown* binder, SAFEARRAY* args, IUnknown* culture,
                                                       SAFEARRAY* attributes, VARIANT* object) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetLoadedModules(SAFEARRAY** modules) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetLoadedModules_2(VARIANT_BOOL resources, SAFEARRAY** modules) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetModules(SAFEARRAY** modules) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetModules_2(VARIANT_BOOL resources, SAFEARRAY** modules) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetModule(BSTR name, IUnknown** module) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetReferencedAssemblies(SAFEARRAY** names) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_GlobalAssemblyCache(VARIANT_BOOL* cached) = 0;
};

}  // namespace Clr
