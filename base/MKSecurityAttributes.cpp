#include "base/MKSecurityAttributes.h"

bool MKSecurityAttributes::Init(PACL acl)
{
    valid_ = false;
    if (!acl || !InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE))
        return false;
    attributes_.nLength = sizeof(attributes_);
    attributes_.lpSecurityDescriptor = &descriptor_;
    attributes_.bInheritHandle = FALSE;
    valid_ = true;
    return true;
}
