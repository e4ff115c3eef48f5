#include "pixels/AreaAverage.h"

#include <stddef.h>

#include "pixels/DownsampleHalf.h"
#include "base/MKAlloc.h"

namespace {

const uint32_t kOne = 65536;  // 1.0 in 16.16 fixed point
// A partial last pixel or row weighing this little or less is left out.
const uint32_t kNegligible = 16;
// A step this large or larger (a ratio of 16) calls for halving first.
const uint64_t kHalvingStep = uint64_t(16) << 16;

// Pixels being averaged: rows of `stride` bytes from `data`.
struct Plane {
    const uint8_t* data;
    int width;
    int height;
    int stride;
};

uint64_t StepOf(int source, int target, AreaStep how)
{
    if (how == AreaStep::Exact)
        return (uint64_t(source) << 16) / uint32_t(target);
    return uint64_t(float(source) / float(target) * 65536.0f);
}

// Halves the axes whose flag is set (an odd last column or row is dropped)
// into `out`, rows of the result's packed stride. `out` may be the plane's
// own memory when its stride is not smaller: each output byte lies at or
// before the first input byte it is made from.
Plane Halve(const Plane& in, int bpp, bool halveX, bool halveY, uint8_t* out)
{
    Plane result;
    result.width = halveX ? in.width / 2 : in.width;
    result.height = halveY ? in.height / 2 : in.height;
    result.stride = (bpp * result.width + 3) & ~3;
    result.data = out;
    if (halveX && !halveY) {
        DownsampleHalf(result.width * 2, result.height, bpp, in.stride, in.data, result.stride, out);
        return result;
    }
    const int samples = result.width * bpp;
    for (int r = 0; r < result.height; ++r) {
        const uint8_t* a = in.data + ptrdiff_t(2 * r) * in.stride;
        const uint8_t* b = a + in.stride;
        uint8_t* o = out + ptrdiff_t(r) * result.stride;
        if (!halveX) {
            for (int i = 0; i < samples; ++i)
                o[i] = uint8_t((a[i] + b[i]) >> 1);
            continue;
        }
        for (int x = 0; x < result.width; ++x, a += 2 * bpp, b += 2 * bpp, o += bpp) {
            for (int c = 0; c < bpp; ++c)
                o[c] = uint8_t((a[c] + a[c + bpp] + b[c] + b[c + bpp]) >> 2);
        }
    }
    return result;
}

// Halves `plane` along each axis whose step is still kHalvingStep or more,
// into `scratch` (allocated at the first halving, reused in place after).
// False on cancellation or lack of memory.
bool HalveWhileTooLarge(Plane& plane, int bpp, int width, int height, AreaStep step, uint8_t*& scratch,
                        ImageCancelCallback cancel, void* user)
{
    for (;;) {
        const bool halveX = StepOf(plane.width, width, step) >= kHalvingStep;
        const bool halveY = StepOf(plane.height, height, step) >= kHalvingStep;
        if (!halveX && !halveY)
            return true;
        if (cancel && cancel(user))
            return false;
        if (!scratch) {
            const int w = halveX ? plane.width / 2 : plane.width;
            const int h = halveY ? plane.height / 2 : plane.height;
            scratch = static_cast<uint8_t*>(MKAlloc(size_t((bpp * w + 3) & ~3) * size_t(h)));
            if (!scratch)
                return false;
        }
        plane = Halve(plane, bpp, halveX, halveY, scratch);
    }
}

// n / d for many n < 2^32 and one d: a double product rounded toward zero,
// corrected by one where the product fell on the wrong side of an integer.
class Divider {
public:
    explicit Divider(uint32_t d) : m_d(d ? d : 1), m_inverse(1.0 / double(m_d)) {}
    uint32_t Divide(uint32_t n) const
    {
        uint32_t q = uint32_t(double(n) * m_inverse);
        if (uint64_t(q) * m_d > n)
            --q;
        else if (uint64_t(q + 1) * m_d <= n)
            ++q;
        return q;
    }

private:
    uint32_t m_d;
    double m_inverse;
};

// Where output column k reads: the source pixel its span starts in with the
// weight of that pixel's used part, `whole` pixels of full weight after it,
// then the pixel the span ends in with its weight (0 when left out). A span
// inside one pixel (whole < 0) copies that pixel.
struct ColumnSpan {
    int start;
    int whole;
    uint32_t firstWeight;
    uint32_t lastWeight;
};

// Averages source rows horizontally into rows of width x bpp values.
class RowAverager {
public:
    RowAverager(int sourceWidth, int width, int bpp, uint32_t step) : m_width(width), m_bpp(bpp), m_divider(step)
    {
        const uint64_t bytes = uint64_t(width) * sizeof(ColumnSpan);
        if (bytes > INT32_MAX)
            return;
        m_spans = static_cast<ColumnSpan*>(MKAlloc(size_t(bytes)));
        if (!m_spans)
            return;
        for (int k = 0; k < width; ++k) {
            const uint64_t xa = uint64_t(k) * step;
            const uint64_t xb = xa + step;
            ColumnSpan& span = m_spans[k];
            span.start = int(xa >> 16);
            const int end = int(xb >> 16);
            span.whole = end == span.start ? -1 : end - span.start - 1;
            span.firstWeight = kOne - uint32_t(xa & 0xFFFF);
            span.lastWeight = uint32_t(xb & 0xFFFF);
            if (span.lastWeight <= kNegligible || end >= sourceWidth)
                span.lastWeight = 0;
        }
    }
    ~RowAverager() { MKFree(m_spans); }
    RowAverager(const RowAverager&) = delete;
    RowAverager& operator=(const RowAverager&) = delete;

    bool IsReady() const { return m_spans != nullptr; }

    void Average(const uint8_t* row, uint32_t* out) const
    {
        switch (m_bpp) {
        case 1:
            AverageOf<1>(row, out);
            break;
        case 2:
            AverageOf<2>(row, out);
            break;
        case 3:
            AverageOf<3>(row, out);
            break;
        default:
            AverageOf<4>(row, out);
            break;
        }
    }

private:
    template <int Bpp>
    void AverageOf(const uint8_t* row, uint32_t* out) const
    {
        for (int k = 0; k < m_width; ++k, out += Bpp) {
            const ColumnSpan& span = m_spans[k];
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
                out[c] = m_divider.Divide(sum[c]);
        }
    }

    int m_width;
    int m_bpp;
    Divider m_divider;
    ColumnSpan* m_spans = nullptr;
};

// Averages `plane`, no more than 16 times the destination along either axis,
// into the destination.
bool AverageAreas(const Plane& plane, int bpp, int width, int height, int stride, uint8_t* destination,
                  AreaStep step, ImageCancelCallback cancel, void* user)
{
    const uint32_t stepX = uint32_t(StepOf(plane.width, width, step));
    const uint32_t stepY = uint32_t(StepOf(plane.height, height, step));
    const size_t samples = size_t(width) * size_t(bpp);
    // Per destination sample: the current row's averages, then the sums. The
    // size is counted in 64 bits so a huge width fails instead of wrapping.
    const uint64_t workBytes = uint64_t(width) * uint64_t(bpp) * 2 * sizeof(uint32_t);
    uint32_t* current = workBytes <= INT32_MAX ? static_cast<uint32_t*>(MKAlloc(size_t(workBytes))) : nullptr;
    uint32_t* sum = current ? current + samples : nullptr;
    const RowAverager averager(plane.width, width, bpp, stepX);
    const Divider byStepY(stepY);
    bool ok = current && averager.IsReady();
    // The last source row of one output row starts the next one: it is
    // averaged once.
    int averagedRow = -1;
    auto averageRow = [&](int r) {
        if (r != averagedRow)
            averager.Average(plane.data + ptrdiff_t(r) * plane.stride, current);
        averagedRow = r;
    };
    uint64_t y0 = 0;
    for (int i = 0; i < height && ok; ++i, y0 += stepY) {
        if (i % 8 == 0 && cancel && cancel(user)) {
            ok = false;
            break;
        }
        const uint64_t y1 = y0 + stepY;
        const int first = int(y0 >> 16);
        const int end = int(y1 >> 16);
        uint8_t* out = destination + ptrdiff_t(i) * stride;
        if (end == first) {
            // The output row lies inside one source row.
            averageRow(first);
            for (size_t k = 0; k < samples; ++k)
                out[k] = uint8_t(current[k]);
            continue;
        }
        const uint32_t endWeight = uint32_t(y1 & 0xFFFF);
        const int last = endWeight > kNegligible && end < plane.height ? end : end - 1;
        for (int r = first; r <= last; ++r) {
            averageRow(r);
            if (r == first) {
                const uint32_t weight = kOne - uint32_t(y0 & 0xFFFF);
                for (size_t k = 0; k < samples; ++k)
                    sum[k] = current[k] * weight;
            } else {
                const uint32_t weight = r < end ? kOne : endWeight;
                for (size_t k = 0; k < samples; ++k)
                    sum[k] += current[k] * weight;
            }
        }
        for (size_t k = 0; k < samples; ++k)
            out[k] = uint8_t(byStepY.Divide(sum[k]));
    }
    MKFree(current);
    return ok;
}

}  // namespace

bool AreaAverage(int sourceWidth, int sourceHeight, int bytesPerPixel, int sourceStride, const uint8_t* source,
                 int width, int height, int stride, uint8_t* destination, AreaStep step,
                 ImageCancelCallback cancel, void* user)
{
    const int bpp = bytesPerPixel;
    if (sourceWidth <= 0 || sourceHeight <= 0 || width <= 0 || height <= 0 || bpp < 1 || bpp > 4)
        return false;
    Plane plane = {source, sourceWidth, sourceHeight, sourceStride};
    uint8_t* scratch = nullptr;
    const bool ok = HalveWhileTooLarge(plane, bpp, width, height, step, scratch, cancel, user) &&
                    AverageAreas(plane, bpp, width, height, stride, destination, step, cancel, user);
    MKFree(scratch);
    return ok;
}
