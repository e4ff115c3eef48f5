#include "player/engine/PVImageScale.h"

#include <cstddef>
#include <cstdlib>

#include "addin/imaging/DownsampleHalf.h"

namespace {

constexpr uint32_t kOne = 65536;  // 1.0 in 16.16 fixed point
// A partial last pixel or row weighing this little or less is left out.
constexpr uint32_t kNegligible = 16;

// Pixels being halved: rows of `stride` bytes.
struct Plane {
    const uint8_t* pixels;
    int width;
    int height;
    int stride;
};

// 2 x 2 boxes; an odd last column or row is dropped. `out` may be the
// plane's own memory (every output byte lies at or before its inputs).
void HalveBoth(const Plane& in, int bpp, int outStride, uint8_t* out)
{
    const int width = in.width / 2;
    for (int r = 0; r < in.height / 2; ++r) {
        const uint8_t* a = in.pixels + ptrdiff_t(2 * r) * in.stride;
        const uint8_t* b = a + in.stride;
        uint8_t* o = out + ptrdiff_t(r) * outStride;
        for (int x = 0; x < width; ++x, a += 2 * bpp, b += 2 * bpp, o += bpp) {
            for (int c = 0; c < bpp; ++c)
                o[c] = uint8_t((a[c] + a[c + bpp] + b[c] + b[c + bpp]) >> 2);
        }
    }
}

// Vertical pairs; an odd last row is dropped.
void HalveHeight(const Plane& in, int bpp, int outStride, uint8_t* out)
{
    const int samples = in.width * bpp;
    for (int r = 0; r < in.height / 2; ++r) {
        const uint8_t* a = in.pixels + ptrdiff_t(2 * r) * in.stride;
        const uint8_t* b = a + in.stride;
        uint8_t* o = out + ptrdiff_t(r) * outStride;
        for (int i = 0; i < samples; ++i)
            o[i] = uint8_t((a[i] + b[i]) >> 1);
    }
}

// Where destination column k reads: the source pixel its span starts in
// with that pixel's weight, `whole` fully covered pixels after it, then the
// pixel the span ends in with its weight (0 when left out). A span inside
// one pixel (whole < 0) takes that pixel.
struct ColumnSpan {
    int start;
    int whole;
    uint32_t firstWeight;
    uint32_t lastWeight;
};

void FillSpans(ColumnSpan* spans, int count, int sourceCount, uint32_t step)
{
    for (int k = 0; k < count; ++k) {
        const uint64_t from = uint64_t(k) * step;
        const uint64_t to = from + step;
        ColumnSpan& span = spans[k];
        span.start = int(from >> 16);
        const int end = int(to >> 16);
        span.whole = end == span.start ? -1 : end - span.start - 1;
        span.firstWeight = kOne - uint32_t(from & 0xFFFF);
        span.lastWeight = uint32_t(to & 0xFFFF);
        if (span.lastWeight <= kNegligible || end >= sourceCount)
            span.lastWeight = 0;
    }
}

template <int Bpp>
void AverageRow(const ColumnSpan* spans, int width, uint32_t step, const uint8_t* row, uint32_t* out)
{
    for (int k = 0; k < width; ++k, out += Bpp) {
        const ColumnSpan& span = spans[k];
        const uint8_t* p = row + span.start * Bpp;
        if (span.whole < 0) {
            for (int c = 0; c < Bpp; ++c)
                out[c] = p[c];
            continue;
        }
        uint32_t sum[Bpp];
        for (int c = 0; c < Bpp; ++c)
            sum[c] = p[c] * span.firstWeight;
        for (int j = 0; j < span.whole; ++j) {
            p += Bpp;
            for (int c = 0; c < Bpp; ++c)
                sum[c] += uint32_t(p[c]) << 16;
        }
        if (span.lastWeight) {
            p += Bpp;
            for (int c = 0; c < Bpp; ++c)
                sum[c] += p[c] * span.lastWeight;
        }
        for (int c = 0; c < Bpp; ++c)
            out[c] = sum[c] / step;
    }
}

void AverageRow(int bpp, const ColumnSpan* spans, int width, uint32_t step, const uint8_t* row, uint32_t* out)
{
    switch (bpp) {
    case 1:
        return AverageRow<1>(spans, width, step, row, out);
    case 2:
        return AverageRow<2>(spans, width, step, row, out);
    case 3:
        return AverageRow<3>(spans, width, step, row, out);
    default:
        return AverageRow<4>(spans, width, step, row, out);
    }
}

// Halves `plane` along each axis that is 16 or more times too large, into
// `work` (allocated at the first halving, reused after). False on
// cancellation or lack of memory.
bool HalveWhileTooLarge(Plane& plane, int bpp, int width, int height, uint8_t*& work, PVScaleCancel cancel,
                        void* argument)
{
    for (;;) {
        const bool halveX = int64_t(plane.width) >= 16 * int64_t(width);
        const bool halveY = int64_t(plane.height) >= 16 * int64_t(height);
        if (!halveX && !halveY)
            return true;
        if (cancel && cancel(argument))
            return false;
        const int newWidth = halveX ? plane.width / 2 : plane.width;
        const int newHeight = halveY ? plane.height / 2 : plane.height;
        const int newStride = (newWidth * bpp + 3) & ~3;
        if (!work) {
            work = static_cast<uint8_t*>(std::malloc(size_t(newStride) * size_t(newHeight)));
            if (!work)
                return false;
        }
        if (halveX && halveY)
            HalveBoth(plane, bpp, newStride, work);
        else if (halveX)
            DownsampleHalf(plane.width & ~1, plane.height, bpp, plane.stride, plane.pixels, newStride, work);
        else
            HalveHeight(plane, bpp, newStride, work);
        plane = {work, newWidth, newHeight, newStride};
    }
}

}  // namespace

bool ScaleImage(int sourceWidth, int sourceHeight, int bytesPerPixel, int sourceStride, const uint8_t* source,
                int width, int height, int stride, uint8_t* destination, PVScaleCancel cancel, void* cancelArgument)
{
    const int bpp = bytesPerPixel;
    if (sourceWidth <= 0 || sourceHeight <= 0 || width <= 0 || height <= 0 || bpp < 1 || bpp > 4)
        return false;

    Plane plane = {source, sourceWidth, sourceHeight, sourceStride};
    uint8_t* work = nullptr;
    if (!HalveWhileTooLarge(plane, bpp, width, height, work, cancel, cancelArgument)) {
        std::free(work);
        return false;
    }

    // Exact truncation of ratio x 65536, so no span ends past the source.
    const uint32_t stepX = uint32_t((uint64_t(plane.width) << 16) / uint32_t(width));
    const uint32_t stepY = uint32_t((uint64_t(plane.height) << 16) / uint32_t(height));
    const size_t samples = size_t(width) * size_t(bpp);
    auto* spans = static_cast<ColumnSpan*>(std::malloc(sizeof(ColumnSpan) * size_t(width)));
    // Per destination pixel: the current row's averages, then the sums.
    auto* buffer = static_cast<uint32_t*>(std::malloc(sizeof(uint32_t) * 2 * samples));
    bool ok = spans && buffer;
    uint32_t* current = buffer;
    uint32_t* sum = buffer + samples;
    if (ok)
        FillSpans(spans, width, plane.width, stepX);

    // The last source row of one destination row starts the next: it is
    // averaged once.
    int averaged = -1;
    auto average = [&](int r) {
        if (r != averaged)
            AverageRow(bpp, spans, width, stepX, plane.pixels + ptrdiff_t(r) * plane.stride, current);
        averaged = r;
    };
    uint64_t from = 0;
    for (int i = 0; i < height && ok; ++i, from += stepY) {
        if (i % 8 == 0 && cancel && cancel(cancelArgument)) {
            ok = false;
            break;
        }
        const uint64_t to = from + stepY;
        const int first = int(from >> 16);
        const int end = int(to >> 16);
        uint8_t* out = destination + ptrdiff_t(i) * stride;
        if (end == first) {
            average(first);
            for (size_t k = 0; k < samples; ++k)
                out[k] = uint8_t(current[k]);
            continue;
        }
        const uint32_t endWeight = uint32_t(to & 0xFFFF);
        const int last = endWeight > kNegligible && end < plane.height ? end : end - 1;
        for (int r = first; r <= last; ++r) {
            average(r);
            const uint32_t weight = r == first ? kOne - uint32_t(from & 0xFFFF) : r < end ? kOne : endWeight;
            if (r == first) {
                for (size_t k = 0; k < samples; ++k)
                    sum[k] = current[k] * weight;
            } else {
                for (size_t k = 0; k < samples; ++k)
                    sum[k] += current[k] * weight;
            }
        }
        for (size_t k = 0; k < samples; ++k)
            out[k] = uint8_t(sum[k] / stepY);
    }
    std::free(spans);
    std::free(buffer);
    std::free(work);
    return ok;
}
