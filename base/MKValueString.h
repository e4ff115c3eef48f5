#pragma once
#include "base/MKValue.h"

// Code 53: a string that may also be null (no text at all), which stays
// distinct from the empty string through writing and reading.
class MKValueString : public MKValue {
public:
    // The null string.
    MKValueString() : MKValue(MKValueCodeString), m_null(true) {}
    explicit MKValueString(const MKString& text) : MKValue(MKValueCodeString), m_text(text), m_null(false) {}

    bool IsNull() const { return m_null; }
    const MKString& GetText() const { return m_text; }

private:
    MKString m_text;
    bool m_null;
};
