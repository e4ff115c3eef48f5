#pragma once
#include <windows.h>

#include "base/MKSecurityAttributes.h"

// Security attributes that give the user of the process token full access and
// nobody else any, inherited by everything created inside a folder made with
// them. The parent folder's entries are not merged in, so a shared temporary
// folder lends no one else a way to write there.
class UserOnlySecurity {
public:
    UserOnlySecurity() = default;
    UserOnlySecurity(const UserOnlySecurity&) = delete;
    UserOnlySecurity& operator=(const UserOnlySecurity&) = delete;

    // False when the token's user or the descriptor cannot be had.
    bool Init();

    // Valid after a successful Init, for as long as this object lives.
    SECURITY_ATTRIBUTES* Get() { return attributes_.Get(); }

private:
    bool ReadTokenUser();

    // TOKEN_USER followed by its SID.
    alignas(DWORD) BYTE user_[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE] = {};
    alignas(DWORD) BYTE acl_[sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + SECURITY_MAX_SID_SIZE] = {};
    MKSecurityAttributes attributes_;
};
