#pragma once
#include "base/MKValue.h"

// Code 14: a version of up to four parts.
class MKValueVersion : public MKValue {
public:
    explicit MKValueVersion(const MKVersion& version) : MKValue(MKValueCodeVersion), m_version(version) {}

    const MKVersion& GetVersion() const { return m_version; }

private:
    MKVersion m_version;
};
