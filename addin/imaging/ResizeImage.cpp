#include "addin/imaging/ResizeImage.h"

#include "addin/imaging/AreaResample.h"
#include "base/MKAlloc.h"

#include <emmintrin.h>
#include <string.h>

namespace {

// Where each output sample of one axis reads: taps first..first + count - 1 of
// the source axis with their normalised weights (maxTaps floats per output).
class AxisWeights {
public:
    AxisWeights() = default;
    ~AxisWeights()
    {
        MKFree(m_first);
        MKFree(m_weights);
    }
    AxisWeights(const AxisWeights&) = delete;
    AxisWeights& operator=(const AxisWeights&) = delete;

    bool Build(int inSize, int outSize, const ImageFilter& filter);

    int First(int i) const { return m_first[2 * i]; }
    int Count(int i) const { return m_first[2 * i + 1]; }
    const float* Weights(int i) const { return m_weights + ptrdiff_t(i) * m_maxTaps; }
    int MaxTaps() const { return m_maxTaps; }

private:
    int* m_first = nullptr;  // pairs {first tap, tap count}
    float* m_weights = nullptr;
    int m_maxTaps = 0;
};

bool AxisWeights::Build(int inSize, int outSize, const ImageFilter& filter)
{
    const float factor = float(outSize) / float(inSize);
    const float scale = 1.0f / factor > 1.0f ? 1.0f / factor : 1.0f;
    float reach = filter.support * scale;
    if (reach < 0.5f)
        reach = 0.5f;

    // Counted in 64 bits: a huge output size must fail, not wrap to a small
    // block.
    const uint64_t firstBytes = uint64_t(outSize) * 2 * sizeof(int);
    m_first = firstBytes <= INT32_MAX ? static_cast<int*>(MKAlloc(size_t(firstBytes))) : nullptr;
    if (!m_first)
        return false;
    for (int i = 0; i < outSize; ++i) {
        float centre = (float(i) + 0.5f) / factor;
        int first = int(centre - reach + 0.5f);
        int last = int(centre + reach - 0.5f);
        if (first < 0)
            first = 0;
        if (last > inSize - 1)
            last = inSize - 1;
        // Every window holds at least one tap, even where float rounding puts
        // the centre on the last source sample's far edge.
        if (first > inSize - 1)
            first = inSize - 1;
        if (last < first)
            last = first;
        m_first[2 * i] = first;
        m_first[2 * i + 1] = last - first + 1;
        if (last - first + 1 > m_maxTaps)
            m_maxTaps = last - first + 1;
    }

    uint64_t count = uint64_t(outSize) * uint64_t(m_maxTaps);
    if (count * sizeof(float) > INT32_MAX)
        return false;
    m_weights = static_cast<float*>(MKAlloc(size_t(count) * sizeof(float)));
    if (!m_weights)
        return false;

    for (int i = 0; i < outSize; ++i) {
        const float centre = (float(i) + 0.5f) / factor;
        const int first = First(i);
        const int taps = Count(i);
        float* w = m_weights + ptrdiff_t(i) * m_maxTaps;
        float density = 0.0f;
        for (int t = 0; t < taps; ++t) {
            float x = (float(first + t) - centre + 0.5f) / scale;
            w[t] = float(filter.kernel(x)) / scale;
            density += w[t];
        }
        if (density != 0.0f && density != 1.0f) {
            for (int t = 0; t < taps; ++t)
                w[t] /= density;
        } else if (density == 0.0f) {
            // A window whose weights all vanish (a narrow kernel whose centre
            // falls exactly on a tap edge) would give a black sample: take the
            // source sample nearest to the centre instead.
            int nearest = int(centre) - first;
            if (nearest < 0)
                nearest = 0;
            if (nearest > taps - 1)
                nearest = taps - 1;
            for (int t = 0; t < taps; ++t)
                w[t] = t == nearest ? 1.0f : 0.0f;
        }
        for (int t = taps; t < m_maxTaps; ++t)
            w[t] = 0.0f;
    }
    return true;
}

// trunc(sum + 0.5) clamped to 0..255, for four sums at once; sums far outside
// the range (or NaN) clamp like their neighbours.
inline __m128i RoundToInts(__m128 sum)
{
    __m128 v = _mm_add_ps(sum, _mm_set1_ps(0.5f));
    v = _mm_min_ps(_mm_max_ps(v, _mm_set1_ps(-1.0f)), _mm_set1_ps(256.0f));
    return _mm_cvttps_epi32(v);
}

inline uint8_t RoundToByte(float sum)
{
    float v = sum + 0.5f;
    if (!(v > -1.0f))
        v = -1.0f;
    if (v > 256.0f)
        v = 256.0f;
    int i = int(v);
    return uint8_t(i < 0 ? 0 : (i > 255 ? 255 : i));
}

// Source columns -> output columns, one row at a time. The row is widened to
// floats once; each output pixel sums its taps over all channels in one vector
// (the fourth lane of a 3-channel pixel reads a neighbour and is dropped).
bool HorizontalPass(const RasterImage& src, RasterImage& dst, const AxisWeights& weights,
                    ImageCancelCallback cancel, void* user)
{
    const int channels = src.GetBytesPerPixel();
    const int samples = src.GetWidth() * channels;
    const int outWidth = dst.GetWidth();
    const uint64_t rowBytes = (uint64_t(samples) + 4) * sizeof(float);
    float* row = rowBytes <= INT32_MAX ? static_cast<float*>(MKAlloc(size_t(rowBytes))) : nullptr;
    if (!row)
        return false;
    memset(row + samples, 0, 4 * sizeof(float));
    bool ok = true;
    for (int r = 0; r < src.GetHeight() && ok; ++r) {
        if (cancel && cancel(user)) {
            ok = false;
            break;
        }
        const uint8_t* in = src.GetRow(r);
        for (int i = 0; i < samples; ++i)
            row[i] = float(in[i]);
        uint8_t* out = dst.GetRow(r);
        for (int x = 0; x < outWidth; ++x, out += channels) {
            const float* w = weights.Weights(x);
            const float* p = row + ptrdiff_t(weights.First(x)) * channels;
            const int taps = weights.Count(x);
            __m128 sum = _mm_setzero_ps();
            for (int t = 0; t < taps; ++t, p += channels)
                sum = _mm_add_ps(sum, _mm_mul_ps(_mm_set1_ps(w[t]), _mm_loadu_ps(p)));
            __m128i ints = RoundToInts(sum);
            ints = _mm_packs_epi32(ints, ints);
            int packed = _mm_cvtsi128_si32(_mm_packus_epi16(ints, ints));
            memcpy(out, &packed, size_t(channels));
        }
    }
    MKFree(row);
    return ok;
}

// Source rows -> output rows. Sixteen samples at a time stay in registers
// across all taps; the sums run in the same order as the scalar tail's.
bool VerticalPass(const RasterImage& src, RasterImage& dst, const AxisWeights& weights,
                  ImageCancelCallback cancel, void* user)
{
    const int samples = src.GetWidth() * src.GetBytesPerPixel();
    const uint8_t** rows = static_cast<const uint8_t**>(MKAlloc(size_t(weights.MaxTaps()) * sizeof(uint8_t*)));
    if (!rows)
        return false;
    const __m128i zero = _mm_setzero_si128();
    bool ok = true;
    for (int y = 0; y < dst.GetHeight(); ++y) {
        if (cancel && cancel(user)) {
            ok = false;
            break;
        }
        const int taps = weights.Count(y);
        const float* w = weights.Weights(y);
        for (int t = 0; t < taps; ++t)
            rows[t] = src.GetRow(weights.First(y) + t);
        uint8_t* out = dst.GetRow(y);
        int i = 0;
        for (; i + 16 <= samples; i += 16) {
            __m128 s0 = _mm_setzero_ps(), s1 = _mm_setzero_ps(), s2 = _mm_setzero_ps(), s3 = _mm_setzero_ps();
            for (int t = 0; t < taps; ++t) {
                __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[t] + i));
                __m128i lo = _mm_unpacklo_epi8(v, zero);
                __m128i hi = _mm_unpackhi_epi8(v, zero);
                __m128 wt = _mm_set1_ps(w[t]);
                s0 = _mm_add_ps(s0, _mm_mul_ps(wt, _mm_cvtepi32_ps(_mm_unpacklo_epi16(lo, zero))));
                s1 = _mm_add_ps(s1, _mm_mul_ps(wt, _mm_cvtepi32_ps(_mm_unpackhi_epi16(lo, zero))));
                s2 = _mm_add_ps(s2, _mm_mul_ps(wt, _mm_cvtepi32_ps(_mm_unpacklo_epi16(hi, zero))));
                s3 = _mm_add_ps(s3, _mm_mul_ps(wt, _mm_cvtepi32_ps(_mm_unpackhi_epi16(hi, zero))));
            }
            __m128i a = _mm_packs_epi32(RoundToInts(s0), RoundToInts(s1));
            __m128i b = _mm_packs_epi32(RoundToInts(s2), RoundToInts(s3));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(a, b));
        }
        for (; i < samples; ++i) {
            float sum = 0.0f;
            for (int t = 0; t < taps; ++t)
                sum += w[t] * float(rows[t][i]);
            out[i] = RoundToByte(sum);
        }
    }
    MKFree(rows);
    return ok;
}

RasterImage* FilterResize(const RasterImage& image, int width, int height, const ImageFilter& filter,
                          ImageCancelCallback cancel, void* user)
{
    const PixelType type = image.GetPixelType();
    AxisWeights across, down;
    if (!across.Build(image.GetWidth(), width, filter) || !down.Build(image.GetHeight(), height, filter))
        return nullptr;
    RasterImage* result = CreateRasterImage(type, width, height);
    if (!result)
        return nullptr;

    // Enlarging vertically: widen the rows first, so the tall pass runs on the
    // final width; otherwise shrink the height first.
    const bool acrossFirst = height >= image.GetHeight();
    RasterImage* middle = acrossFirst ? CreateRasterImage(type, width, image.GetHeight())
                                      : CreateRasterImage(type, image.GetWidth(), height);
    bool ok = middle != nullptr;
    if (ok && acrossFirst)
        ok = HorizontalPass(image, *middle, across, cancel, user) && VerticalPass(*middle, *result, down, cancel, user);
    else if (ok)
        ok = VerticalPass(image, *middle, down, cancel, user) && HorizontalPass(*middle, *result, across, cancel, user);
    if (middle)
        middle->Release();
    if (!ok) {
        result->Release();
        return nullptr;
    }
    return result;
}

}  // namespace

RasterImage* ResizeImage(const RasterImage* image, int width, int height, int filter,
                         ImageCancelCallback cancel, void* user)
{
    if (!image || !image->IsValid())
        return nullptr;
    PixelType type = image->GetPixelType();
    if (type != PixelType::Rgb && type != PixelType::Rgba && type != PixelType::Gray && type != PixelType::GrayAlpha)
        return nullptr;
    width = width < 1 ? 1 : width;
    height = height < 1 ? 1 : height;
    if (width == image->GetWidth() && height == image->GetHeight())
        return image->Clone();
    if (filter == FilterFast)
        return AreaResample(*image, width, height, nullptr, nullptr);
    return FilterResize(*image, width, height, GetImageFilter(filter), cancel, user);
}
