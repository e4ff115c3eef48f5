#include "addin/imaging/drawing/EmbossMaskFilter.h"

#include "addin/imaging/drawing/BlurMaskFilter.h"

#include <math.h>
#include <new>

namespace {

// Height of a fully covered pixel against one pixel of run: steep enough that
// a blurred edge shows, flat enough that the light still reaches it.
constexpr float kHeightScale = 1.0f / 32;
// How tightly the highlight gathers around the mirror direction.
constexpr int kShininess = 8;

uint8_t ToByte(float value)
{
    return value <= 0 ? 0 : value >= 1 ? 255 : uint8_t(value * 255 + 0.5f);
}

}  // namespace

EmbossMaskFilter* EmbossMaskFilter::Create(const float direction[3], float ambient, float specular, float blurRadius)
{
    if (!direction || !(blurRadius > 0) || !isfinite(ambient) || !isfinite(specular))
        return nullptr;
    float length = sqrtf(direction[0] * direction[0] + direction[1] * direction[1] + direction[2] * direction[2]);
    if (!(length > 0) || !isfinite(length))
        return nullptr;
    auto* filter = new (std::nothrow) EmbossMaskFilter();
    if (!filter)
        return nullptr;
    for (int i = 0; i < 3; ++i)
        filter->m_light[i] = direction[i] / length;
    filter->m_ambient = ambient;
    filter->m_specular = specular;
    filter->m_blurRadius = BlurMaskFilter::StackRadiusFor(blurRadius);
    return filter;
}

bool EmbossMaskFilter::Filter(DrawMask& mask) const
{
    int width = mask.width, height = mask.height;
    std::vector<uint8_t> heights;
    try {
        heights = mask.alpha;
        mask.multiply.assign(mask.alpha.size(), 0);
        mask.add.assign(mask.alpha.size(), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!BlurMaskFilter::BlurAlpha(heights.data(), width, height, m_blurRadius))
        return false;
    auto at = [&](int x, int y) {
        x = x < 0 ? 0 : x >= width ? width - 1 : x;
        y = y < 0 ? 0 : y >= height ? height - 1 : y;
        return float(heights[size_t(y) * size_t(width) + size_t(x)]);
    };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // The normal of the height field by central differences.
            float nx = (at(x - 1, y) - at(x + 1, y)) * kHeightScale;
            float ny = (at(x, y - 1) - at(x, y + 1)) * kHeightScale;
            float nz = 2;
            float length = sqrtf(nx * nx + ny * ny + nz * nz);
            nx /= length;
            ny /= length;
            nz /= length;
            float diffuse = nx * m_light[0] + ny * m_light[1] + nz * m_light[2];
            if (diffuse < 0)
                diffuse = 0;
            // The light mirrored about the normal, seen from straight above.
            float mirrorZ = 2 * diffuse * nz - m_light[2];
            float highlight = mirrorZ > 0 ? m_specular * powf(mirrorZ, kShininess) : 0;
            size_t i = size_t(y) * size_t(width) + size_t(x);
            mask.multiply[i] = ToByte(m_ambient + diffuse);
            mask.add[i] = ToByte(highlight);
        }
    }
    return true;
}
