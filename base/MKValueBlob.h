#pragma once
#include "base/MKTArray.h"
#include "base/MKValue.h"

// Code 54, a block of bytes, or a node of codes 58-255, whose bytes are kept as
// read (HasRawPayload).
class MKValueBlob : public MKValue {
public:
    // code is 54 or 58-255; any other code is taken as 54.
    explicit MKValueBlob(int code = MKValueCodeBlob)
        : MKValue(code >= MKValueCodeFirstRaw && code <= 255 ? code : MKValueCodeBlob)
    {
    }

    bool HasRawPayload() const override { return GetCode() >= MKValueCodeFirstRaw; }
    const MKByteArray& GetBytes() const { return m_bytes; }
    MKByteArray& GetBytes() { return m_bytes; }

private:
    MKByteArray m_bytes;
};
