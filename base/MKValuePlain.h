#pragma once
#include "base/MKValue.h"

#include <string.h>

// A node whose payload is a fixed number of bytes: bools (one byte 0 or 1),
// scalars, date-times, GUIDs, vectors and matrices, stored as their
// little-endian bytes in component order.
template <int Size>
class MKValuePlain : public MKValue {
public:
    // payload holds Size bytes; null gives zeros.
    MKValuePlain(int code, const void* payload) : MKValue(code)
    {
        if (Size > 0) {
            if (payload)
                memcpy(m_payload, payload, Size);
            else
                memset(m_payload, 0, sizeof(m_payload));
        }
    }

    const uint8_t* GetPayload() const override { return m_payload; }
    uint8_t* GetMutablePayload() { return m_payload; }

private:
    uint8_t m_payload[Size > 0 ? Size : 1];
};

// A new plain node for a code whose payload has a fixed size (0, 1 and 17
// included, not the block codes 37-52), with MKValuePayloadSize(code) bytes from
// payload (zeros when null); a bool node gets code 1. Null for another code or
// when memory runs out.
MKValue* MKNewPlainValue(int code, const void* payload);
MKValue* MKNewBoolValue(bool value);
MKValue* MKNewInt32Value(int32_t value);
