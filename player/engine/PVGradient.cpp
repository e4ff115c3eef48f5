#include "player/engine/PVGradient.h"

namespace {

bool SameTopBits(uint8_t a, uint8_t b)
{
    return ((a ^ b) & 0xF8) == 0;
}

}  // namespace

bool PVGradientEquals(const PVGradient& a, const PVGradient& b)
{
    if (a.count != b.count)
        return false;
    for (int i = 0; i < a.count && i < PVGradient::kMaxEntries; ++i) {
        const PVRGBA& x = a.colors[i];
        const PVRGBA& y = b.colors[i];
        if (a.ratios[i] != b.ratios[i] || !SameTopBits(x.red, y.red) || !SameTopBits(x.green, y.green) ||
            !SameTopBits(x.blue, y.blue) || !SameTopBits(x.alpha, y.alpha))
            return false;
    }
    return true;
}
