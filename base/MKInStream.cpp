#include "base/MKInStream.h"

#include "base/MKStreamErrors.h"

#include <string.h>

bool MKInStream::ReadExactly(void* buffer, int n)
{
    // Wrapping streams may hand out fewer bytes than asked before the end, so
    // keep reading until the value is whole or the data is gone.
    uint8_t* bytes = static_cast<uint8_t*>(buffer);
    int got = 0;
    while (got < n) {
        int r = Read(bytes + got, n - got);
        if (r <= 0) {
            SetError(MKStreamErrorEnd);
            memset(buffer, 0, size_t(n));
            return false;
        }
        got += r;
    }
    return true;
}

bool MKInStream::ReadU8(uint8_t* out)
{
    return ReadExactly(out, 1);
}

bool MKInStream::ReadU16(uint16_t* out)
{
    uint8_t b[2];
    bool ok = ReadExactly(b, 2);
    *out = uint16_t(b[0] | (b[1] << 8));
    return ok;
}

bool MKInStream::ReadU32(uint32_t* out)
{
    uint8_t b[4];
    bool ok = ReadExactly(b, 4);
    *out = uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
    return ok;
}

bool MKInStream::ReadU64(uint64_t* out)
{
    uint8_t b[8];
    bool ok = ReadExactly(b, 8);
    uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
        value = (value << 8) | b[i];
    *out = value;
    return ok;
}

int MKInStream::Skip(int n)
{
    if (n <= 0)
        return 0;
    uint8_t scratch[4096];
    int total = 0;
    while (total < n) {
        int want = n - total > int(sizeof(scratch)) ? int(sizeof(scratch)) : n - total;
        int r = Read(scratch, want);
        if (r < 0)
            break;
        total += r;
        if (r < want)
            break;
    }
    return total;
}

char* MKInStream::ReadLine(char* buffer, int n)
{
    if (n <= 0)
        return nullptr;
    int stored = 0;
    while (stored < n - 1) {
        uint8_t c;
        if (!ReadU8(&c)) {
            if (stored == 0)
                return nullptr;
            break;
        }
        buffer[stored++] = char(c);
        if (c == '\n')
            break;
    }
    buffer[stored] = 0;
    return buffer;
}
