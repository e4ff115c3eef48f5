#include "base/MKValue.h"

#include "base/MKValueBlob.h"
#include "base/MKValuePlain.h"
#include "base/MKValueString.h"
#include "base/MKValueVersion.h"

#include <new>

namespace {

// Payload bytes of codes 0 to 52 (-1: not a fixed-size code).
const int16_t s_payloadSizes[53] = {
    1, 1, 1, 2, 4, 8, 1, 2, 4, 8,                // 0-9: bools and integers
    4, 8, 2, 8, -1, 16, 4, 0,                    // 10-17: float .. null (14 is a version)
    8, 8, 16, 8, 8, 16,                          // 18-23: pairs
    16, 16, 32, 12, 12, 24, 16, 16, 32,          // 24-32: quadruples and triples
    36, 72, 64, 128,                             // 33-36: matrices
    2, 4, 8, 12, 16, 20, 24, 32, 48, 64, 92, 128, 256, 384, 512, 1024  // 37-52: blocks
};

}  // namespace

int MKValuePayloadSize(int code)
{
    return code >= 0 && code <= MKValueCodeLastBlock ? s_payloadSizes[code] : -1;
}

MKString MKValue::GetString() const
{
    if (m_code != MKValueCodeString)
        return MKString();
    return static_cast<const MKValueString*>(this)->GetText();
}

int32_t MKValueGetInt32(const MKValue* node)
{
    if (!node || node->GetCode() != MKValueCodeInt32)
        return 0;
    int32_t value;
    memcpy(&value, node->GetPayload(), 4);
    return value;
}

bool MKValueGetBool(const MKValue* node)
{
    return node && node->GetCode() == MKValueCodeBool && node->GetPayload()[0] != 0;
}

MKVersion MKValueGetVersion(const MKValue* node)
{
    if (!node || node->GetCode() != MKValueCodeVersion)
        return MKVersion();
    return static_cast<const MKValueVersion*>(node)->GetVersion();
}

bool MKValueGetBlob(const MKValue* node, const uint8_t** data, int* size)
{
    *data = nullptr;
    *size = 0;
    if (!node || (node->GetCode() != MKValueCodeBlob && !node->HasRawPayload()))
        return false;
    const MKByteArray& bytes = static_cast<const MKValueBlob*>(node)->GetBytes();
    *data = bytes.GetData();
    *size = bytes.GetCount();
    return true;
}

MKValue* MKNewPlainValue(int code, const void* payload)
{
    if (code == MKValueCodeFalse)
        code = MKValueCodeBool;
    if (code >= MKValueCodeFirstBlock)
        return nullptr;
    switch (MKValuePayloadSize(code)) {
    case 0: return new (std::nothrow) MKValuePlain<0>(code, payload);
    case 1: {
        if (code != MKValueCodeBool)
            return new (std::nothrow) MKValuePlain<1>(code, payload);
        uint8_t value = payload && *static_cast<const uint8_t*>(payload) ? 1 : 0;
        return new (std::nothrow) MKValuePlain<1>(code, &value);
    }
    case 2: return new (std::nothrow) MKValuePlain<2>(code, payload);
    case 4: return new (std::nothrow) MKValuePlain<4>(code, payload);
    case 8: return new (std::nothrow) MKValuePlain<8>(code, payload);
    case 12: return new (std::nothrow) MKValuePlain<12>(code, payload);
    case 16: return new (std::nothrow) MKValuePlain<16>(code, payload);
    case 24: return new (std::nothrow) MKValuePlain<24>(code, payload);
    case 32: return new (std::nothrow) MKValuePlain<32>(code, payload);
    case 36: return new (std::nothrow) MKValuePlain<36>(code, payload);
    case 64: return new (std::nothrow) MKValuePlain<64>(code, payload);
    case 72: return new (std::nothrow) MKValuePlain<72>(code, payload);
    case 128: return new (std::nothrow) MKValuePlain<128>(code, payload);
    default: return nullptr;
    }
}

MKValue* MKNewBoolValue(bool value)
{
    uint8_t b = value ? 1 : 0;
    return MKNewPlainValue(MKValueCodeBool, &b);
}

MKValue* MKNewInt32Value(int32_t value)
{
    return MKNewPlainValue(MKValueCodeInt32, &value);
}
