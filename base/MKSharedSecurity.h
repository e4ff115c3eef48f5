#pragma once
#include <windows.h>

#include "base/MKSecurityAttributes.h"
#include "base/MKSid.h"

// Security attributes for files, folders and named objects shared between
// users and processes: full access for LocalSystem, Administrators, Users and
// Everyone, in an inheritable variant (for folders) and a non-inheritable one.
// Built once; a failed build is remembered and callers then create their
// objects without these attributes. Both attribute pointers stay null while
// shared security is switched off.
class MKSharedSecurity {
public:
    MKSharedSecurity();
    ~MKSharedSecurity();
    MKSharedSecurity(const MKSharedSecurity&) = delete;
    MKSharedSecurity& operator=(const MKSharedSecurity&) = delete;

    // True when the attributes are ready (or switched off); false when they
    // cannot be built, now or at an earlier try.
    bool Initialize();

    SECURITY_ATTRIBUTES* Inheritable() const { return m_inheritable; }
    SECURITY_ATTRIBUTES* NonInheritable() const { return m_nonInheritable; }

    // The process-wide switch read by new instances; on by default.
    static void SetEnabledByDefault(bool enabled);

    // The module's instance: created and initialised at module start (false,
    // leaving none, when that fails) and destroyed at module stop.
    static bool CreateGlobal();
    static void DestroyGlobal();
    static MKSharedSecurity* Global();

private:
    bool Build();
    void Free();

    bool m_enabled;
    MKSid m_localSystem;
    MKSid m_administrators;
    MKSid m_users;
    MKSid m_everyone;
    PACL m_inheritableAcl = nullptr;
    PACL m_nonInheritableAcl = nullptr;
    MKSecurityAttributes m_inheritableAttributes;
    MKSecurityAttributes m_nonInheritableAttributes;
    bool m_initialized = false;
    bool m_failed = false;
    SECURITY_ATTRIBUTES* m_inheritable = nullptr;
    SECURITY_ATTRIBUTES* m_nonInheritable = nullptr;
};
