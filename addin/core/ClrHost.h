#pragma once
#include "base/MKDynLib.h"
#include "base/MKHashMap.h"
#include "base/MKString.h"
#include "base/MKTArray.h"
#include "base/MKVersion.h"
#include "hostapi/ClrInterfaces.h"

#include <stdint.h>

class AssemblyName;
class MKSafeArray;
struct AssemblyToken;

// The .NET runtime bound into the process, one application domain of it and
// a catalogue of the assemblies loaded there. The runtime shim is loaded at
// Start and freed at Stop; assemblies recorded die with Stop.
class ClrHost {
public:
    ClrHost();
    virtual ~ClrHost();
    ClrHost(const ClrHost&) = delete;
    ClrHost& operator=(const ClrHost&) = delete;

    // Binds and starts the runtime (once) and creates the named domain, or
    // takes the default one without a name. With `create` set, Stop unloads
    // the domain it created. False on any failure.
    bool Start(const wchar_t* domainName, bool create);
    // Releases the assemblies, the domain, the runtime and the shim; nothing
    // when nothing is bound.
    void Stop();
    // Stop, but leaves the runtime itself running: for a host whose runtime
    // others in the process were already using when it started.
    void Detach();
    bool IsBound() const { return m_runtime != nullptr; }

    // The first recorded assembly of the simple name whose major version is
    // the wanted one and whose minor is at least the wanted one, with the
    // token when one is required; null when none.
    AssemblyName* FindAssembly(const MKString& simpleName, const MKVersion& wanted, bool requireToken,
                               uint64_t token) const;
    // Loads a byte image (with its symbols when the array holds any) into the
    // domain; the recorded assembly or null.
    AssemblyName* LoadAssemblyImage(MKSafeArray& image, MKSafeArray* symbols);
    // Records the assembly, which the host then owns; a full name recorded
    // already keeps the first record, and the answer is that record (the
    // new one is deleted).
    AssemblyName* AddAssembly(AssemblyName* assembly);
    bool EnumerateLoadedAssemblies();

    const MKVersion& GetRuntimeVersion() const { return m_runtimeVersion; }
    const MKString& GetDomainName() const { return m_domainName; }
    int GetAssemblyCount() const { return m_assemblies.GetCount(); }
    AssemblyName* GetAssemblyAt(int index) const { return m_assemblies.SafeGetAt(index); }

private:
    bool Bind();
    void Shutdown(bool stopRuntime);

    MKDynLib* m_shim = nullptr;
    ICorRuntimeHost* m_runtime = nullptr;
    MKString m_domainName;
    bool m_domainCreated = false;
    Clr::_AppDomain* m_domain = nullptr;
    MKTArray<AssemblyName*> m_assemblies;
    // Simple name -> MKTArray<AssemblyName*>* (owned), all versions in order.
    MKHashMap m_bySimpleName;
    // Full display name -> AssemblyName*.
    MKHashMap m_byFullName;
    MKVersion m_runtimeVersion;
};
