#pragma once
#include <cstdint>
#include <cstring>

// The first 0 byte in [from, stop), or stop when there is none. Bytes before
// `loadEnd` may be read beyond `stop`, so the scan takes a word at a time:
// movies hold hundreds of thousands of short names, labels and targets.
inline const uint8_t* PVFindZero(const uint8_t* from, const uint8_t* stop, const uint8_t* loadEnd)
{
    const uint8_t* at = from;
    while (at < stop && loadEnd - at >= 4) {
        uint32_t word;
        std::memcpy(&word, at, 4);
        if ((word - 0x01010101u) & ~word & 0x80808080u)
            break;  // a 0 lies in this word
        at += 4;
    }
    while (at < stop && *at)
        ++at;
    return at < stop ? at : stop;
}
