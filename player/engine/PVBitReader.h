#pragma once
#include <cstdint>
#include <cstring>

// Bit fields of the file image, most significant bit first, read up to a
// bound. A reader lives in locals while a record's fields are read, so a
// field costs one unaligned load and two shifts instead of a loop per byte.
// Bits past the bound read as 0 and mark the reader overrun.
class PVBitReader {
public:
    // `bit` is the absolute bit position in `bytes`; fields end by bit
    // `endByte * 8`; the first `loadable` bytes may be loaded (beyond the
    // bound too: what lies there is shifted out).
    PVBitReader(const uint8_t* bytes, uint32_t bit, uint32_t endByte, uint32_t loadable)
        : bytes_(bytes), bit_(bit), endBit_(endByte * 8), loadEnd_(loadable)
    {
    }

    // n from 0 to 32.
    uint32_t UBits(int n)
    {
        if (n <= 0)
            return 0;
        const uint32_t byte = bit_ >> 3;
        if (bit_ + static_cast<uint32_t>(n) > endBit_ || byte + 8 > loadEnd_)
            return UBitsNearEnd(n);
        uint64_t word;
        std::memcpy(&word, bytes_ + byte, 8);
        word = __builtin_bswap64(word) << (bit_ & 7);
        bit_ += static_cast<uint32_t>(n);
        return static_cast<uint32_t>(word >> (64 - n));
    }
    int32_t SBits(int n)
    {
        if (n <= 0)
            return 0;
        const int shift = 32 - n;
        return static_cast<int32_t>(UBits(n) << shift) >> shift;
    }

    uint32_t Bit() const { return bit_; }
    bool Overrun() const { return overrun_; }

private:
    // The bits of the field that lie before the bound, then zeros.
    uint32_t UBitsNearEnd(int n)
    {
        uint32_t value = 0;
        for (int i = 0; i < n; ++i, ++bit_) {
            uint32_t b = 0;
            if (bit_ < endBit_)
                b = bytes_[bit_ >> 3] >> (7 - (bit_ & 7)) & 1;
            else
                overrun_ = true;
            value = value << 1 | b;
        }
        return value;
    }

    const uint8_t* bytes_;
    uint32_t bit_;
    uint32_t endBit_;
    uint32_t loadEnd_;  // bytes that may be loaded
    bool overrun_ = false;
};
