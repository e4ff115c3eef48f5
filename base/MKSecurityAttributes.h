#pragma once
#include <windows.h>

// A security descriptor with a discretionary ACL and the SECURITY_ATTRIBUTES
// that point at it (handles not inherited). The ACL is borrowed and must
// outlive this object; the attributes point into this object, so it stays put.
class MKSecurityAttributes {
public:
    MKSecurityAttributes() = default;
    MKSecurityAttributes(const MKSecurityAttributes&) = delete;
    MKSecurityAttributes& operator=(const MKSecurityAttributes&) = delete;

    // False for a null ACL or when the descriptor cannot be built.
    bool Init(PACL acl);

    bool IsValid() const { return m_valid; }
    SECURITY_ATTRIBUTES* Get() { return m_valid ? &m_attributes : nullptr; }

private:
    SECURITY_DESCRIPTOR m_descriptor = {};
    SECURITY_ATTRIBUTES m_attributes = {};
    bool m_valid = false;
};
