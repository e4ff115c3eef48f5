#include "base/MKSid.h"

#include "base/MKDynLib.h"

namespace {

using CreateWellKnownSidFn = BOOL(WINAPI*)(WELL_KNOWN_SID_TYPE, PSID, PSID, DWORD*);

CreateWellKnownSidFn LookUpCreateWellKnownSid()
{
    static CreateWellKnownSidFn s_function = [] {
        CreateWellKnownSidFn found = nullptr;
        if (HMODULE advapi = GetModuleHandleW(L"Advapi32.dll"))
            MKCastProc(GetProcAddress(advapi, "CreateWellKnownSid"), found);
        return found;
    }();
    return s_function;
}

}  // namespace

bool MKSid::WellKnown(WELL_KNOWN_SID_TYPE type)
{
    CreateWellKnownSidFn create = LookUpCreateWellKnownSid();
    DWORD size = sizeof(m_buffer);
    m_valid = create && create(type, nullptr, m_buffer, &size);
    return m_valid;
}

bool MKSid::BuiltinAdministrators()
{
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    m_valid = InitializeSid(m_buffer, &nt, 2) != FALSE;
    if (m_valid) {
        *GetSidSubAuthority(m_buffer, 0) = SECURITY_BUILTIN_DOMAIN_RID;
        *GetSidSubAuthority(m_buffer, 1) = DOMAIN_ALIAS_RID_ADMINS;
    }
    return m_valid;
}
