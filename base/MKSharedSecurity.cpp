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

MKSharedSecurity::MKSharedSecurity() : enabled_(s_enabledByDefault) {}

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
    if (initialized_)
        return true;
    if (!enabled_) {
        inheritable_ = nonInheritable_ = nullptr;
        initialized_ = true;
        return true;
    }
    if (failed_)
        return false;
    initialized_ = Build();
    failed_ = !initialized_;
    return initialized_;
}

bool MKSharedSecurity::Build()
{
    localSystem_.WellKnown(WinLocalSystemSid);
    administrators_.BuiltinAdministrators();
    users_.WellKnown(WinBuiltinUsersSid);
    everyone_.WellKnown(WinWorldSid);

    struct Trustee {
        MKSid* sid;
        TRUSTEE_TYPE type;
    } trustees[] = {
        {&localSystem_, TRUSTEE_IS_WELL_KNOWN_GROUP},
        {&administrators_, TRUSTEE_IS_GROUP},
        {&users_, TRUSTEE_IS_WELL_KNOWN_GROUP},
        {&everyone_, TRUSTEE_IS_WELL_KNOWN_GROUP},
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
    if (!MKSetEntriesInAcl(&inheritableAcl_, count, entries) || !inheritableAttributes_.Init(inheritableAcl_))
        return false;
    for (ULONG i = 0; i < count; ++i)
        entries[i].grfInheritance = NO_INHERITANCE;
    if (!MKSetEntriesInAcl(&nonInheritableAcl_, count, entries) ||
        !nonInheritableAttributes_.Init(nonInheritableAcl_))
        return false;
    inheritable_ = inheritableAttributes_.Get();
    nonInheritable_ = nonInheritableAttributes_.Get();
    return true;
}

void MKSharedSecurity::Free()
{
    inheritable_ = nonInheritable_ = nullptr;
    if (inheritableAcl_)
        LocalFree(inheritableAcl_);
    if (nonInheritableAcl_)
        LocalFree(nonInheritableAcl_);
    inheritableAcl_ = nonInheritableAcl_ = nullptr;
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
