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
    DWORD size = sizeof(buffer_);
    valid_ = create && create(type, nullptr, buffer_, &size);
    return valid_;
}

bool MKSid::BuiltinAdministrators()
{
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    valid_ = InitializeSid(buffer_, &nt, 2) != FALSE;
    if (valid_) {
        *GetSidSubAuthority(buffer_, 0) = SECURITY_BUILTIN_DOMAIN_RID;
        *GetSidSubAuthority(buffer_, 1) = DOMAIN_ALIAS_RID_ADMINS;
    }
    return valid_;
}
