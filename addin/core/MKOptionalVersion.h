#pragma once
#include "base/MKVersion.h"

// A version that may be unknown: absent until Set, and then read as 0.0.-1.-1.
class MKOptionalVersion {
public:
    MKOptionalVersion() = default;

    void Set(const MKVersion& value)
    {
        m_value = value;
        m_present = true;
    }
    void Clear()
    {
        m_value = MKVersion();
        m_present = false;
    }
    bool IsPresent() const { return m_present; }
    const MKVersion& GetValue() const { return m_value; }

private:
    bool m_present = false;
    MKVersion m_value;
};
