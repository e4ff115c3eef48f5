#pragma once
#include <stdint.h>

// The 48-bit linear congruential generator (multiplier 0x5DEECE66D, addend
// 11) behind GUIDs made without the RPC library and the update engine's
// record scrambling: its sequence must never change.
class MKRandom {
public:
    static constexpr uint64_t kMultiplier = 0x5DEECE66Dull;
    static constexpr uint64_t kMask = (uint64_t(1) << 48) - 1;

    // The state is the 64-bit seed XOR the multiplier, cut to 48 bits.
    MKRandom(uint32_t seedLow, uint32_t seedHigh);

    uint64_t GetState() const { return m_state; }
    // state := state x multiplier + 11, modulo 2^48.
    void Advance() { m_state = (m_state * kMultiplier + 11) & kMask; }
    // Advances, then answers bits 40-47 of the new state.
    uint8_t NextByte()
    {
        Advance();
        return uint8_t(m_state >> 40);
    }

private:
    uint64_t m_state;
};
