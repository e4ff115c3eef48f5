#include "base/MKRandom.h"

MKRandom::MKRandom(uint32_t seedLow, uint32_t seedHigh)
    : m_state(((uint64_t(seedHigh) << 32) | seedLow) ^ kMultiplier)
{
    m_state &= kMask;
}
