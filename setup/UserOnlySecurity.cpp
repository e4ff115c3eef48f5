#include "setup/UserOnlySecurity.h"

bool UserOnlySecurity::ReadTokenUser()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    DWORD size = 0;
    BOOL ok = GetTokenInformation(token, TokenUser, user_, sizeof(user_), &size);
    CloseHandle(token);
    return ok != FALSE;
}

bool UserOnlySecurity::Init()
{
    if (!ReadTokenUser())
        return false;
    PSID sid = reinterpret_cast<TOKEN_USER*>(user_)->User.Sid;
    PACL acl = reinterpret_cast<PACL>(acl_);
    // Protected: the system would otherwise add the parent's inheritable
    // entries to these.
    return InitializeAcl(acl, sizeof(acl_), ACL_REVISION) &&
           AddAccessAllowedAceEx(acl, ACL_REVISION, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE, GENERIC_ALL, sid) &&
           attributes_.Init(acl) &&
           SetSecurityDescriptorControl(attributes_.Get()->lpSecurityDescriptor, SE_DACL_PROTECTED,
                                        SE_DACL_PROTECTED);
}
