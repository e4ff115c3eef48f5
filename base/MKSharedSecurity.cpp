#include "base/MKSharedSecurity.h"

#include <aclapi.h>

#include <new>

namespace {

bool s_enabledByDefault = true;
MKSharedSecurity* s_global = nullptr;

// Replaces the ACL in *acl by a new one made of the entries.
bool MKSetEntriesInAcl(PACL* acl, ULONG count, EXPLICIT_ACCESSW* entries)
{
    if (*acl) {
        LocalFree(*acl);
        *acl = nullptr;
    }
    return SetEntriesInAclW(count, entries, nullptr, acl) == ERROR_SUCCESS;
}

}  // namespace

MKSharedSecurity::MKSharedSecurity() : m_enabled(s_enabledByDefault) {}

MKSharedSecurity::~MKSharedSecurity()
{
    Free();
}

void MKSharedSecurity::SetEnabledByDefault(bool enabled)
{
    s_enabledByDefault = enabled;
}

bool MKSharedSecurity::Initialize()
{
    if (m_initialized)
        return true;
    if (!m_enabled) {
        m_inheritable = m_nonInheritable = nullptr;
        m_initialized = true;
        return true;
    }
    if (m_failed)
        return false;
    m_initialized = Build();
    m_failed = !m_initialized;
    return m_initialized;
}

bool MKSharedSecurity::Build()
{
    m_localSystem.WellKnown(WinLocalSystemSid);
    m_administrators.BuiltinAdministrators();
    m_users.WellKnown(WinBuiltinUsersSid);
    m_everyone.WellKnown(WinWorldSid);

    struct Trustee {
        MKSid* sid;
        TRUSTEE_TYPE type;
    } trustees[] = {
        {&m_localSystem, TRUSTEE_IS_WELL_KNOWN_GROUP},
        {&m_administrators, TRUSTEE_IS_GROUP},
        {&m_users, TRUSTEE_IS_WELL_KNOWN_GROUP},
        {&m_everyone, TRUSTEE_IS_WELL_KNOWN_GROUP},
    };
    EXPLICIT_ACCESSW entries[4] = {};
    ULONG count = 0;
    for (const Trustee& trustee : trustees) {
        if (!trustee.sid->IsValid())
            continue;
        EXPLICIT_ACCESSW& entry = entries[count++];
        entry.grfAccessPermissions = STANDARD_RIGHTS_ALL | 0x1FF;  // full access to files and folders
        entry.grfAccessMode = SET_ACCESS;
        entry.grfInheritance = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
        entry.Trustee.TrusteeForm = TRUSTEE_IS_SID;
        entry.Trustee.TrusteeType = trustee.type;
        entry.Trustee.ptstrName = static_cast<LPWSTR>(trustee.sid->Get());
    }
    if (count == 0)
        return false;
    if (!MKSetEntriesInAcl(&m_inheritableAcl, count, entries) || !m_inheritableAttributes.Init(m_inheritableAcl))
        return false;
    for (ULONG i = 0; i < count; ++i)
        entries[i].grfInheritance = NO_INHERITANCE;
    if (!MKSetEntriesInAcl(&m_nonInheritableAcl, count, entries) ||
        !m_nonInheritableAttributes.Init(m_nonInheritableAcl))
        return false;
    m_inheritable = m_inheritableAttributes.Get();
    m_nonInheritable = m_nonInheritableAttributes.Get();
    return true;
}

void MKSharedSecurity::Free()
{
    m_inheritable = m_nonInheritable = nullptr;
    if (m_inheritableAcl)
        LocalFree(m_inheritableAcl);
    if (m_nonInheritableAcl)
        LocalFree(m_nonInheritableAcl);
    m_inheritableAcl = m_nonInheritableAcl = nullptr;
}

bool MKSharedSecurity::CreateGlobal()
{
    if (s_global)
        return true;
    s_global = new (std::nothrow) MKSharedSecurity;
    if (s_global && !s_global->Initialize())
        DestroyGlobal();
    return s_global != nullptr;
}

void MKSharedSecurity::DestroyGlobal()
{
    delete s_global;
    s_global = nullptr;
}

MKSharedSecurity* MKSharedSecurity::Global()
{
    return s_global;
}
