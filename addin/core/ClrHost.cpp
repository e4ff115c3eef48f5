#include "addin/core/ClrHost.h"

#include "addin/core/AssemblyName.h"
#include "base/MKSafeArray.h"

#include <new>

namespace {

typedef MKTArray<AssemblyName*> AssemblyList;

void DeleteAssemblyList(void* list)
{
    delete static_cast<AssemblyList*>(list);
}

}  // namespace

ClrHost::ClrHost() = default;

ClrHost::~ClrHost()
{
    if (m_shim)
        Stop();
    m_bySimpleName.DisposeAllValues(DeleteAssemblyList);
    m_byFullName.Clear();
}

bool ClrHost::Bind()
{
    m_shim = new (std::nothrow) MKDynLib;
    if (!m_shim || !m_shim->Load(L"mscoree.dll"))
        return false;
    Clr::CorBindToRuntimeExFn bind = nullptr;
    Clr::GetCorVersionFn version = nullptr;
    if (!MKCastProc(m_shim->GetProc("CorBindToRuntimeEx"), bind))
        return false;
    MKCastProc(m_shim->GetProc("GetCORVersion"), version);
    m_runtimeVersion = MKVersion();
    wchar_t text[128];
    DWORD length = 0;
    if (version && SUCCEEDED(version(text, 128, &length)) && text[0] == L'v')
        MKVersion::Parse(text + 1, m_runtimeVersion);
    ICorRuntimeHost* runtime = nullptr;
    HRESULT hr = bind(nullptr, L"wks", Clr::kStartupConcurrentGc | Clr::kStartupLoaderSafeMode,
                      Clr::kClsidCorRuntimeHost, Clr::kIidCorRuntimeHost, reinterpret_cast<void**>(&runtime));
    if (FAILED(hr) || !runtime)
        return false;
    if (runtime->Start() != S_OK) {
        runtime->Release();
        return false;
    }
    m_runtime = runtime;
    return true;
}

bool ClrHost::Start(const wchar_t* domainName, bool create)
{
    // A host already bound keeps its domain and the flag that unloads it.
    if (m_runtime)
        return true;
    m_domainName.Clear();
    m_domainCreated = false;
    if (m_shim) {
        // The shim of an earlier failed start.
        delete m_shim;
        m_shim = nullptr;
    }
    if (!Bind())
        return false;
    IUnknown* domain = nullptr;
    if (domainName) {
        if (FAILED(m_runtime->CreateDomain(domainName, nullptr, &domain)) || !domain)
            return false;
        m_domainName = domainName;
        m_domainCreated = create;
    } else if (FAILED(m_runtime->GetDefaultDomain(&domain)) || !domain) {
        return false;
    }
    HRESULT hr = domain->QueryInterface(Clr::kIidAppDomain, reinterpret_cast<void**>(&m_domain));
    domain->Release();
    if (FAILED(hr) || !m_domain) {
        m_domain = nullptr;
        return false;
    }
    EnumerateLoadedAssemblies();
    return true;
}

void ClrHost::Stop()
{
    Shutdown(true);
}

void ClrHost::Detach()
{
    Shutdown(false);
}

void ClrHost::Shutdown(bool stopRuntime)
{
    if (!m_shim)
        return;
    for (int i = m_assemblies.GetCount() - 1; i >= 0; --i)
        delete m_assemblies[i];
    m_assemblies.RemoveAll();
    m_bySimpleName.DisposeAllValues(DeleteAssemblyList);
    m_byFullName.Clear();
    if (m_domain) {
        if (m_domainCreated && m_runtime)
            m_runtime->UnloadDomain(m_domain);
        m_domain->Release();
        m_domain = nullptr;
    }
    if (m_runtime) {
        if (stopRuntime)
            m_runtime->Stop();
        m_runtime->Release();
        m_runtime = nullptr;
    }
    m_domainCreated = false;
    delete m_shim;
    m_shim = nullptr;
}

bool ClrHost::EnumerateLoadedAssemblies()
{
    if (!m_domain)
        return false;
    SAFEARRAY* array = nullptr;
    if (FAILED(m_domain->GetAssemblies(&array)) || !array)
        return false;
    MKSafeArray assemblies(VT_UNKNOWN);
    assemblies.Attach(array, true);
    VARTYPE type = VT_EMPTY;
    if (FAILED(SafeArrayGetVartype(array, &type)) || type != VT_UNKNOWN)
        return false;
    IUnknown** items = static_cast<IUnknown**>(assemblies.AccessData());
    if (!items)
        return false;
    for (int i = 0; i < assemblies.GetCount(); ++i) {
        Clr::_Assembly* assembly = nullptr;
        if (!items[i] || FAILED(items[i]->QueryInterface(Clr::kIidAssembly, reinterpret_cast<void**>(&assembly))))
            continue;
        if (AssemblyName* name = new (std::nothrow) AssemblyName(this, assembly))
            AddAssembly(name);
        assembly->Release();
    }
    return true;
}

AssemblyName* ClrHost::AddAssembly(AssemblyName* assembly)
{
    if (MKHashNode* known = m_byFullName.Find(assembly->GetFullName())) {
        delete assembly;
        return static_cast<AssemblyName*>(known->value);
    }
    AssemblyList* versions = nullptr;
    if (MKHashNode* node = m_bySimpleName.Find(assembly->GetSimpleName())) {
        versions = static_cast<AssemblyList*>(node->value);
    } else {
        versions = new (std::nothrow) AssemblyList;
        if (!versions || m_bySimpleName.Set(assembly->GetSimpleName(), versions) < 0) {
            delete versions;
            delete assembly;
            return nullptr;
        }
    }
    if (!m_assemblies.Add(assembly) || m_byFullName.Set(assembly->GetFullName(), assembly) < 0) {
        m_assemblies.RemoveAt(m_assemblies.IndexOf(assembly));
        delete assembly;
        return nullptr;
    }
    versions->Add(assembly);
    return assembly;
}

AssemblyName* ClrHost::FindAssembly(const MKString& simpleName, const MKVersion& wanted, bool requireToken,
                                    uint64_t token) const
{
    MKHashNode* node = m_bySimpleName.Find(simpleName);
    if (!node)
        return nullptr;
    const AssemblyList& versions = *static_cast<AssemblyList*>(node->value);
    for (int i = 0; i < versions.GetCount(); ++i) {
        AssemblyName* candidate = versions[i];
        const MKVersion& version = candidate->GetVersion();
        if (version.major != wanted.major || version.minor < wanted.minor)
            continue;
        if (requireToken && (!candidate->GetToken().present || candidate->GetToken().value != token))
            continue;
        return candidate;
    }
    return nullptr;
}

AssemblyName* ClrHost::LoadAssemblyImage(MKSafeArray& image, MKSafeArray* symbols)
{
    if (!m_domain || !image.Get())
        return nullptr;
    Clr::_Assembly* loaded = nullptr;
    HRESULT hr = symbols && symbols->Get() && symbols->GetCount() > 0
                     ? m_domain->Load_4(image.Get(), symbols->Get(), &loaded)
                     : m_domain->Load_3(image.Get(), &loaded);
    if (FAILED(hr) || !loaded)
        return nullptr;
    AssemblyName* name = new (std::nothrow) AssemblyName(this, loaded);
    loaded->Release();
    return name ? AddAssembly(name) : nullptr;
}
