#pragma once
#include "base/MKComHolder.h"
#include "base/MKString.h"
#include "base/MKVersion.h"
#include "hostapi/ClrInterfaces.h"

#include <stdint.h>

class ClrHost;
class ClrObject;

// A public key token, when the assembly has one.
struct AssemblyToken {
    bool present = false;
    uint64_t value = 0;
};

// One assembly loaded into the host's domain, with the identity parsed from
// its full display name. Owned by the ClrHost that recorded it.
class AssemblyName {
public:
    // Takes a reference on the assembly and parses its full name.
    AssemblyName(ClrHost* host, Clr::_Assembly* assembly);
    virtual ~AssemblyName() = default;
    AssemblyName(const AssemblyName&) = delete;
    AssemblyName& operator=(const AssemblyName&) = delete;

    // "<simple>, Version=<version>, Culture=neutral, PublicKeyToken=<16 hex
    // digits or null>".
    static MKString FormatDisplayName(const MKString& simpleName, const MKVersion& version,
                                      const AssemblyToken& token);
    // A new object of the type, or null.
    ClrObject* CreateInstance(const wchar_t* typeName) const;
    // Parses the full name: "<simple>, Version=..., Culture=..., PublicKeyToken=...".
    void ParseFullName();

    Clr::_Assembly* GetAssembly() const { return m_assembly.Get(); }
    const MKString& GetFullName() const { return m_fullName; }
    const MKString& GetSimpleName() const { return m_simpleName; }
    const MKVersion& GetVersion() const { return m_version; }
    const AssemblyToken& GetToken() const { return m_token; }

private:
    ClrHost* m_host;
    MKComHolder<Clr::_Assembly> m_assembly;
    MKString m_fullName;
    MKString m_simpleName;
    MKVersion m_version;
    AssemblyToken m_token;
};
