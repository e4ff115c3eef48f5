#pragma once
#include <cstdint>
#include <cstring>

// Bit fields of the file image, most significant bit first, read up to a
// bound. A reader lives in locals while a record's fields are read, so a
// field costs two word loads and a few shifts instead of a loop per byte.
// Bits past the bound read as 0 and mark the reader overrun.
class PVBitReader {
public:
    // `bit` is the absolute bit position in `bytes`; fields end by bit
    // `endByte * 8`; the first `loadable` bytes may be loaded (beyond the
    // bound too: what lies there is shifted out).
    PVBitReader(const uint8_t* bytes, uint32_t bit, uint32_t endByte, uint32_t loadable)
        : bytes_(bytes), bit_(bit), endBit_(endByte * 8)
    {
        // A field that ends by fastEnd_ starts at a byte with 8 loadable
        // bytes from it.
        const uint32_t loadEnd = loadable >= 8 ? (loadable - 8) * 8 + 8 : 0;
        fastEnd_ = loadEnd < endBit_ ? loadEnd : endBit_;
    }

    // n from 0 to 32.
    uint32_t UBits(int n)
    {
        if (n <= 0)
            return 0;
        if (bit_ + static_cast<uint32_t>(n) > fastEnd_)
            return UBitsNearEnd(n);
        const uint32_t top = Top();
        bit_ += static_cast<uint32_t>(n);
        return top >> (32 - n);
    }
    int32_t SBits(int n)
    {
        if (n <= 0)
            return 0;
        const int shift = 32 - n;
        if (bit_ + static_cast<uint32_t>(n) > fastEnd_)
            return static_cast<int32_t>(UBitsNearEnd(n) << shift) >> shift;
        const int32_t top = static_cast<int32_t>(Top());
        bit_ += static_cast<uint32_t>(n);
        return top >> shift;
    }

    uint32_t Bit() const { return bit_; }
    bool Overrun() const { return overrun_; }

private:
    // The 32 bits from the read position; the caller has checked that the
    // 8 bytes from its byte may be loaded. Two 32-bit words keep this cheap
    // where registers are 32 bits wide.
    uint32_t Top() const
    {
        const uint8_t* p = bytes_ + (bit_ >> 3);
        uint32_t high, low;
        std::memcpy(&high, p, 4);
        std::memcpy(&low, p + 4, 4);
        const uint32_t skip = bit_ & 7;
        return __builtin_bswap32(high) << skip | (__builtin_bswap32(low) >> 1) >> (31 - skip);
    }
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
    uint32_t fastEnd_;
    bool overrun_ = false;
};
