#include "base/MKSecurityAttributes.h"

bool MKSecurityAttributes::Init(PACL acl)
{
    m_valid = false;
    if (!acl || !InitializeSecurityDescriptor(&m_descriptor, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&m_descriptor, TRUE, acl, FALSE))
        return false;
    m_attributes.nLength = sizeof(m_attributes);
    m_attributes.lpSecurityDescriptor = &m_descriptor;
    m_attributes.bInheritHandle = FALSE;
    m_valid = true;
    return true;
}
