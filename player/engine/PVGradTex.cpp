#include "player/engine/PVGradTex.h"

#include <algorithm>
#include <cmath>

#include "player/engine/PVGradTexList.h"
#include "player/engine/PVImage.h"

namespace {

// Fills `count` colour entries from the gradient, the way the linear ramp
// is laid out: the first colour up to the first ratio, the last from the
// last ratio on, and between neighbouring ratios a..b (each scaled by
// `scale`, the upper end widened by `widen`) an integer blend. Ratios are
// taken as a running maximum: a gradient whose ratios go backwards still
// fills every entry instead of leaving some unset.
void FillRamp(const PVGradient& g, int scale, int widen, int count, PVRGBA* out)
{
    const int n = std::clamp<int>(g.count, 0, PVGradient::kMaxEntries);
    if (n == 0) {
        std::fill(out, out + count, PVRGBA{0, 0, 0, 255});
        return;
    }
    int ratios[PVGradient::kMaxEntries];
    for (int i = 0; i < n; ++i)
        ratios[i] = std::max<int>(g.ratios[i], i > 0 ? ratios[i - 1] : 0);
    std::fill(out, out + std::min(count, ratios[0] * scale), g.colors[0]);
    std::fill(out + std::min(count, ratios[n - 1] * scale), out + count, g.colors[n - 1]);
    for (int i = 0; i + 1 < n; ++i) {
        const int a = ratios[i] * scale;
        const int b = ratios[i + 1] * scale + widen;
        if (ratios[i] == ratios[i + 1])
            continue;
        const PVRGBA& c0 = g.colors[i];
        const PVRGBA& c1 = g.colors[i + 1];
        const int d = b - a;
        for (int p = a; p <= b && p < count; ++p) {
            auto mix = [&](int x, int y) { return static_cast<uint8_t>((x * (b - p) + y * (p - a)) / d); };
            out[p] = {mix(c0.red, c1.red), mix(c0.green, c1.green), mix(c0.blue, c1.blue), mix(c0.alpha, c1.alpha)};
        }
    }
}

void Store(const PVRGBA& c, int bytes, uint8_t* at)
{
    at[0] = c.red;
    at[1] = c.green;
    at[2] = c.blue;
    if (bytes == 4)
        at[3] = c.alpha;
}

}  // namespace

PVGradTex::~PVGradTex()
{
    if (owner_)
        owner_->Remove(this);
    if (name_ && release_)
        release_(releaseContext_, name_);
}

void PVGradTex::SetGradient(const PVGradient& gradient, bool linear)
{
    gradient_ = gradient;
    linear_ = linear;
}

PVImage* PVGradTex::BuildImage(uint32_t name, ReleaseTexture release, void* context)
{
    release_ = release;
    releaseContext_ = context;
    PVImage* image = MakeImage();
    if (image)
        name_ = name;
    return image;
}

PVImage* PVGradTex::MakeImage() const
{
    const int kind = gradient_.allOpaque ? PVImage::kRGB : PVImage::kRGBA;
    const int bytes = PVImage::BytesPerPixel(kind);
    if (linear_) {
        PVImage* image = PVImage::Create(kind, kLinearWidth, 1);
        if (!image)
            return nullptr;
        PVRGBA ramp[kLinearWidth];
        FillRamp(gradient_, 1, 0, kLinearWidth, ramp);
        for (int p = 0; p < kLinearWidth; ++p)
            Store(ramp[p], bytes, image->Row(0) + p * bytes);
        return image;
    }
    const int side = gradient_.count < 4 ? kSmallRadialSide : kLargeRadialSide;
    PVImage* image = PVImage::Create(kind, side, side);
    if (!image)
        return nullptr;
    PVRGBA table[512];
    FillRamp(gradient_, 2, 1, 512, table);
    const int h = side / 2;
    const float scale = 512.0f / h;
    for (int r = 0; r < h; ++r) {
        uint8_t* top = image->Row(r);
        uint8_t* bottom = image->Row(side - 1 - r);
        for (int c = 0; c < h; ++c) {
            const float dr = float(h - r), dc = float(h - c);
            const int entry = std::min(511, static_cast<int>(std::sqrt(dr * dr + dc * dc) * scale));
            for (uint8_t* row : {top, bottom}) {
                Store(table[entry], bytes, row + c * bytes);
                Store(table[entry], bytes, row + (side - 1 - c) * bytes);
            }
        }
    }
    return image;
}
