#include "addin/imaging/drawing/PremulColor.h"

namespace {

struct ReciprocalTable {
    uint32_t scale[256];
    constexpr ReciprocalTable() : scale{}
    {
        for (uint32_t a = 1; a < 256; ++a)
            scale[a] = ((255u << 24) + (a >> 1)) / a;
    }
};

constexpr ReciprocalTable kReciprocal;

uint32_t ApplyScale(uint32_t scale, uint32_t component)
{
    return uint32_t((uint64_t(scale) * component + (1u << 23)) >> 24);
}

}  // namespace

uint32_t UnpremultiplyPixel(uint32_t pixel)
{
    uint32_t a = ColorAlpha(pixel);
    if (a == 255)
        return pixel;
    if (a == 0)
        return 0;
    uint32_t s = kReciprocal.scale[a];
    auto clamp = [](uint32_t v) { return v > 255 ? 255u : v; };
    return PackColor(a, clamp(ApplyScale(s, ColorRed(pixel))), clamp(ApplyScale(s, ColorGreen(pixel))),
                     clamp(ApplyScale(s, ColorBlue(pixel))));
}
