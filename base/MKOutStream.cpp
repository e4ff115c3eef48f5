#include "base/MKOutStream.h"

bool MKOutStream::WriteU8(uint8_t value)
{
    return Write(&value, 1);
}

bool MKOutStream::WriteU16(uint16_t value)
{
    uint8_t b[2] = {uint8_t(value), uint8_t(value >> 8)};
    return Write(b, 2);
}

bool MKOutStream::WriteU32(uint32_t value)
{
    uint8_t b[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
    return Write(b, 4);
}

bool MKOutStream::WriteU64(uint64_t value)
{
    uint8_t b[8];
    for (int i = 0; i < 8; ++i)
        b[i] = uint8_t(value >> (8 * i));
    return Write(b, 8);
}
