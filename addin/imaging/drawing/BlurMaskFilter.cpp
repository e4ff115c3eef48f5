#include "addin/imaging/drawing/BlurMaskFilter.h"

#include "addin/imaging/drawing/PremulColor.h"
#include "addin/imaging/drawing/StackBlur.h"

#include <math.h>
#include <new>

int BlurMaskFilter::StackRadiusFor(float radius)
{
    // A blur of radius r has the spread (sigma) of a Gaussian of 0.57735 r +
    // 0.5; the stack blur's tent of radius R has a variance of R (R + 2) / 6.
    double sigma = 0.57735 * radius + 0.5;
    int r = int(ceil(sqrt(1 + 6 * sigma * sigma) - 1));
    return r < 1 ? 1 : r > kMaxStackBlurRadius ? kMaxStackBlurRadius : r;
}

BlurMaskFilter* BlurMaskFilter::Create(float radius, int32_t style)
{
    if (!(radius > 0) || style < kNormal || style > kInner)
        return nullptr;
    return new (std::nothrow) BlurMaskFilter(StackRadiusFor(radius), Style(style));
}

bool BlurMaskFilter::BlurAlpha(uint8_t* alpha, int width, int height, int radius)
{
    if (width <= 0 || height <= 0 || radius <= 0)
        return true;
    std::vector<uint32_t> stack;
    try {
        stack.resize(size_t(2 * radius + 1));
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (int y = 0; y < height; ++y)
        StackBlurLine(alpha + ptrdiff_t(y) * width, width, 1, radius, stack.data());
    for (int x = 0; x < width; ++x)
        StackBlurLine(alpha + x, height, width, radius, stack.data());
    return true;
}

bool BlurMaskFilter::Filter(DrawMask& mask) const
{
    std::vector<uint8_t> shape;
    try {
        if (m_style != kNormal)
            shape = mask.alpha;
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!BlurAlpha(mask.alpha.data(), mask.width, mask.height, m_blurRadius))
        return false;
    for (size_t i = 0; i < shape.size(); ++i) {
        uint32_t blur = mask.alpha[i], inside = shape[i];
        switch (m_style) {
        case kSolid:
            mask.alpha[i] = uint8_t(inside > blur ? inside : blur);
            break;
        case kOuter:
            mask.alpha[i] = uint8_t(MulDiv255Round(blur, 255 - inside));
            break;
        case kInner:
            mask.alpha[i] = uint8_t(MulDiv255Round(blur, inside));
            break;
        default:
            break;
        }
    }
    return true;
}
