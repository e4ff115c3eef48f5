#include "ImageTestUtil.h"
#include "pixels/AreaAverage.h"
#include "addin/imaging/AreaResample.h"
#include "addin/imaging/ImageFilters.h"
#include "addin/imaging/ResizeImage.h"

#include <gtest/gtest.h>
#include <math.h>
#include <stdlib.h>

namespace {

// The kernels written out again from their formulas, in double precision, with
// the run-time library's own Bessel function as the second opinion on J1.
double ReferenceKernel(int filter, double x)
{
    const double pi = 3.14159265358979323846;
    double a = fabs(x);
    switch (filter) {
    case FilterTriangle:
        return a < 1 ? 1 - a : 0;
    case FilterHermite:
        return a < 1 ? (2 * a - 3) * a * a + 1 : 0;
    case FilterHanning:
        return 0.5 + 0.5 * cos(pi * x);
    case FilterHamming:
        return 0.54 + 0.46 * cos(pi * x);
    case FilterBlackman:
        return 0.42 + 0.5 * cos(pi * x) + 0.08 * cos(2 * pi * x);
    case FilterGaussian:
        return exp(-2 * x * x) * sqrt(2 / pi);
    case FilterQuadratic:
        return a < 0.5 ? 0.75 - a * a : (a < 1.5 ? 0.5 * (a - 1.5) * (a - 1.5) : 0);
    case FilterCubic:
        return a < 1 ? 0.5 * a * a * a - a * a + 2.0 / 3 : (a < 2 ? pow(2 - a, 3) / 6 : 0);
    case FilterCatrom:
        return a < 1 ? 0.5 * (3 * a * a * a - 5 * a * a + 2) : (a < 2 ? 0.5 * (-a * a * a + 5 * a * a - 8 * a + 4) : 0);
    case FilterMitchell:
        return a < 1 ? 7.0 / 6 * a * a * a - 2 * a * a + 8.0 / 9
                     : (a < 2 ? -7.0 / 18 * a * a * a + 2 * a * a - 10.0 / 3 * a + 16.0 / 9 : 0);
    case FilterLanczos:
        return x == 0 ? 1 : (a >= 3 ? 0 : 3 * sin(pi * a) * sin(pi * a / 3) / (pi * a * pi * a));
    case FilterBessel:
        return x == 0 ? pi / 4 : _j1(pi * x) / (2 * x);
    case FilterSinc:
        return x == 0 ? 1 : sin(pi * x) / (pi * x);
    default:  // Unknown, Point, Box (and Fast's unused entry)
        return x >= -0.5 && x < 0.5 ? 1 : 0;
    }
}

const float kSupport[17] = {0, 0, 0, 0.5f, 1, 1, 1, 1, 1, 1.25f, 1.5f, 2, 2, 2, 3, 3.2383f, 4};

// One pass along an axis: the window geometry in single precision as the
// resampler defines it, the weights and sums in double. `at(i, j)` is the
// sample at output line i, source position j.
template <typename Get, typename Put>
void ReferencePass(int filter, int inSize, int outSize, int lines, Get get, Put put)
{
    float factor = float(outSize) / float(inSize);
    float scale = 1 / factor > 1 ? 1 / factor : 1;
    float reach = kSupport[filter] * scale < 0.5f ? 0.5f : kSupport[filter] * scale;
    for (int o = 0; o < outSize; ++o) {
        float centre = (float(o) + 0.5f) / factor;
        int first = int(centre - reach + 0.5f), last = int(centre + reach - 0.5f);
        first = first < 0 ? 0 : first;
        last = last > inSize - 1 ? inSize - 1 : last;
        std::vector<double> w;
        double density = 0;
        for (int j = first; j <= last; ++j) {
            w.push_back(ReferenceKernel(filter, (double(j) - centre + 0.5) / scale) / scale);
            density += w.back();
        }
        if (density == 0) {  // no weight at all: the nearest sample
            w.assign(w.size(), 0.0);
            int nearest = int(centre) < first ? first : (int(centre) > last ? last : int(centre));
            w[nearest - first] = 1;
            density = 1;
        }
        for (int line = 0; line < lines; ++line) {
            double sum = 0;
            for (int j = first; j <= last; ++j)
                sum += w[j - first] / density * get(line, j);
            int v = int(sum + 0.5);
            put(line, o, v < 0 ? 0 : (v > 255 ? 255 : v));
        }
    }
}

// Samples (top-down, no padding) of the two-pass filter by the reference.
std::vector<uint8_t> ReferenceResize(const RasterImage& image, int width, int height, int filter)
{
    const int bpp = image.GetBytesPerPixel();
    const int w0 = image.GetWidth(), h0 = image.GetHeight();
    std::vector<uint8_t> src = TopDownSamples(image);
    auto horizontal = [&](const std::vector<uint8_t>& in, int inW, int rows) {
        std::vector<uint8_t> out(size_t(width) * rows * bpp);
        for (int c = 0; c < bpp; ++c)
            ReferencePass(
                filter, inW, width, rows, [&](int y, int x) { return double(in[(size_t(y) * inW + x) * bpp + c]); },
                [&](int y, int x, int v) { out[(size_t(y) * width + x) * bpp + c] = uint8_t(v); });
        return out;
    };
    auto vertical = [&](const std::vector<uint8_t>& in, int cols, int inH) {
        std::vector<uint8_t> out(size_t(cols) * height * bpp);
        // Rows stored bottom-up: the pass runs from the bottom row.
        for (int c = 0; c < bpp; ++c)
            ReferencePass(
                filter, inH, height, cols,
                [&](int x, int j) { return double(in[(size_t(inH - 1 - j) * cols + x) * bpp + c]); },
                [&](int x, int y, int v) { out[(size_t(height - 1 - y) * cols + x) * bpp + c] = uint8_t(v); });
        return out;
    };
    if (height >= h0)
        return vertical(horizontal(src, w0, h0), width, h0);
    return horizontal(vertical(src, w0, h0), w0, height);
}

ImageRef NoiseImage(PixelType type, int width, int height)
{
    // Smooth areas with edges: noise alone would hide filters that blur.
    return MakeImage(type, width, height, [](int x, int y, int c) {
        return ((x / 5 + y / 4) % 2 ? 200 : 40) + int(Noise(x, y, c) % 50) - 25 + c * 3;
    });
}

TEST(ResizeImage, EveryFilterMatchesTheReference)
{
    struct Size {
        int w0, h0, w1, h1;
    } sizes[] = {{37, 23, 61, 17}, {40, 30, 13, 45}, {9, 50, 3, 7}};
    const PixelType types[] = {PixelType::Rgb, PixelType::Rgba, PixelType::Gray, PixelType::GrayAlpha};
    for (int filter = 0; filter < kImageFilterCount; ++filter) {
        if (filter == FilterFast)
            continue;
        for (int s = 0; s < 3; ++s) {
            PixelType type = types[(filter + s) % 4];
            const Size& z = sizes[s];
            ImageRef image = NoiseImage(type, z.w0, z.h0);
            ImageRef result = Own(ResizeImage(image.Get(), z.w1, z.h1, filter, nullptr, nullptr));
            ASSERT_TRUE(result) << filter;
            ASSERT_EQ(type, result->GetPixelType());
            ASSERT_EQ(z.w1, result->GetWidth());
            ASSERT_EQ(z.h1, result->GetHeight());
            std::vector<uint8_t> expected = ReferenceResize(*image, z.w1, z.h1, filter);
            std::vector<uint8_t> actual = TopDownSamples(*result);
            int off = 0, worst = 0;
            for (size_t i = 0; i < actual.size(); ++i) {
                int d = abs(int(actual[i]) - int(expected[i]));
                off += d != 0;
                worst = d > worst ? d : worst;
            }
            EXPECT_LE(worst, 1) << GetImageFilter(filter).name << " size " << s;
            // Sums that land on a half (simple weights such as the triangle's
            // thirds) may round either way between single and double
            // precision; anything systematic would show on most samples.
            EXPECT_LE(off * 25, int(actual.size())) << GetImageFilter(filter).name << " size " << s;
        }
    }
}

TEST(ResizeImage, FilterTableNamesAndFallback)
{
    const wchar_t* names[] = {L"Unknown",  L"Fast",      L"Point", L"Box",     L"Triangle", L"Hermite",
                              L"Hanning",  L"Hamming",   L"Blackman", L"Gaussian", L"Quadratic", L"Cubic",
                              L"Catrom",   L"Mitchell",  L"Lanczos", L"Bessel",  L"Sinc"};
    for (int i = 0; i < kImageFilterCount; ++i) {
        EXPECT_STREQ(names[i], GetImageFilter(i).name);
        EXPECT_EQ(kSupport[i], GetImageFilter(i).support);
    }
    for (double t : {0.0, 0.5, 2.0, 7.9, 8.0, 8.1, 20.0, -3.3, 100.5})
        EXPECT_NEAR(_j1(t), BesselJ1(t), 1e-9) << t;

    ImageRef image = NoiseImage(PixelType::Rgb, 20, 11);
    std::vector<uint8_t> box = TopDownSamples(*Own(ResizeImage(image.Get(), 7, 30, FilterBox, nullptr, nullptr)));
    EXPECT_EQ(box, TopDownSamples(*Own(ResizeImage(image.Get(), 7, 30, -1, nullptr, nullptr))));
    EXPECT_EQ(box, TopDownSamples(*Own(ResizeImage(image.Get(), 7, 30, 17, nullptr, nullptr))));
}

TEST(ResizeImage, SmallCasesByHand)
{
    auto row = [](std::vector<int> values) {
        return MakeImage(PixelType::Gray, int(values.size()), 1, [values](int x, int, int) { return values[x]; });
    };
    auto resized = [](const ImageRef& image, int width, int filter) {
        return TopDownSamples(*Own(ResizeImage(image.Get(), width, 1, filter, nullptr, nullptr)));
    };
    EXPECT_EQ((std::vector<uint8_t>{10, 10, 20, 20}), resized(row({10, 20}), 4, FilterBox));
    EXPECT_EQ((std::vector<uint8_t>{15, 35}), resized(row({10, 20, 30, 40}), 2, FilterBox));
    // Unknown and Point take the nearest source sample.
    EXPECT_EQ((std::vector<uint8_t>{20, 50, 80}), resized(row({10, 20, 30, 40, 50, 60, 70, 80, 90}), 3, FilterPoint));
    EXPECT_EQ((std::vector<uint8_t>{20, 50, 80}), resized(row({10, 20, 30, 40, 50, 60, 70, 80, 90}), 3, FilterUnknown));
    EXPECT_EQ((std::vector<uint8_t>{10, 10, 20, 30, 30}), resized(row({10, 20, 30}), 5, FilterPoint));
    // 2 -> 3 puts the middle centre exactly on a tap edge, where the box weighs
    // nothing: the nearest sample, not black.
    EXPECT_EQ((std::vector<uint8_t>{10, 20, 20}), resized(row({10, 20}), 3, FilterBox));
    EXPECT_EQ((std::vector<uint8_t>{10, 20, 20}), resized(row({10, 20}), 3, FilterPoint));
}

TEST(ResizeImage, LanczosReachesThreePixelsAtScaleOne)
{
    ImageRef impulse = MakeImage(PixelType::Gray, 64, 1, [](int x, int, int) { return x == 32 ? 255 : 0; });
    ImageRef result = Own(ResizeImage(impulse.Get(), 65, 1, FilterLanczos, nullptr, nullptr));
    std::vector<uint8_t> out = TopDownSamples(*result);
    int lit = 0;
    for (int x = 0; x < 65; ++x) {
        float centre = (x + 0.5f) * 64.0f / 65.0f;
        if (fabs(32.5f - centre) >= 3.0f) {
            EXPECT_EQ(0, out[x]) << x;
        }
        lit += out[x] != 0;
    }
    EXPECT_GE(lit, 3);
}

TEST(ResizeImage, RefusesAndCopies)
{
    ImageRef indexed = Own(CreateRasterImage(PixelType::Indexed, 4, 4));
    ImageRef alpha = Own(CreateRasterImage(PixelType::Alpha, 4, 4));
    for (int filter : {FilterFast, FilterBox, FilterLanczos}) {
        EXPECT_EQ(nullptr, ResizeImage(indexed.Get(), 2, 2, filter, nullptr, nullptr));
        EXPECT_EQ(nullptr, ResizeImage(alpha.Get(), 2, 2, filter, nullptr, nullptr));
    }
    EXPECT_EQ(nullptr, ResizeImage(nullptr, 2, 2, FilterBox, nullptr, nullptr));

    ImageRef image = NoiseImage(PixelType::Rgba, 6, 5);
    image->SetName(L"n.png");
    image->SetPath(L"C:\\n.png");
    ImageRef same = Own(ResizeImage(image.Get(), 6, 5, FilterLanczos, nullptr, nullptr));
    EXPECT_EQ(TopDownSamples(*image), TopDownSamples(*same));
    EXPECT_TRUE(same->GetName().IsEmpty());
    EXPECT_TRUE(same->GetPath().IsEmpty());

    ImageRef tiny = Own(ResizeImage(image.Get(), 0, -4, FilterCubic, nullptr, nullptr));
    EXPECT_EQ(1, tiny->GetWidth());
    EXPECT_EQ(1, tiny->GetHeight());
}

TEST(ResizeImage, SizesTooLargeForTheWorkBuffersFailCleanly)
{
    // Tap tables and work rows for 2^29 + 1 output columns would need more
    // bytes than a 32-bit size can count: refused before anything is written.
    ImageRef image = NoiseImage(PixelType::Gray, 2, 2);
    const int huge = (1 << 29) + 1;
    for (int filter : {FilterPoint, FilterBox, FilterLanczos}) {
        EXPECT_EQ(nullptr, ResizeImage(image.Get(), huge, 1, filter, nullptr, nullptr)) << filter;
        EXPECT_EQ(nullptr, ResizeImage(image.Get(), 1, huge, filter, nullptr, nullptr)) << filter;
    }
    uint8_t destination[4] = {1, 2, 3, 4};
    EXPECT_FALSE(AreaAverage(2, 2, 1, image->GetStride(), image->GetPixels(), huge, 1, 4, destination,
                             AreaStep::Exact, nullptr, nullptr));
    EXPECT_EQ((std::vector<uint8_t>{1, 2, 3, 4}), std::vector<uint8_t>(destination, destination + 4));
}

TEST(ResizeImage, CancelStopsEveryFilterButFast)
{
    ImageRef image = NoiseImage(PixelType::Rgb, 30, 20);
    for (int filter = 0; filter < kImageFilterCount; ++filter) {
        int calls = 0;
        auto cancel = [](void* user) {
            ++*static_cast<int*>(user);
            return true;
        };
        RasterImage* result = ResizeImage(image.Get(), 11, 13, filter, cancel, &calls);
        if (filter == FilterFast) {
            EXPECT_NE(nullptr, result);
            EXPECT_EQ(0, calls);
            result->Release();
        } else {
            EXPECT_EQ(nullptr, result) << filter;
            EXPECT_EQ(1, calls) << filter;
        }
    }
}

// Area average of the source box [x0, x1) x [y0, y1) in double, for checking
// the fixed-point resampler away from its halving.
double AreaMean(const std::vector<uint8_t>& s, int width, int bpp, int c, double x0, double x1, double y0, double y1)
{
    double sum = 0, area = 0;
    for (int y = int(y0); y < y1; ++y) {
        double wy = std::min<double>(y + 1, y1) - std::max<double>(y, y0);
        for (int x = int(x0); x < x1; ++x) {
            double wx = std::min<double>(x + 1, x1) - std::max<double>(x, x0);
            sum += wx * wy * s[(size_t(y) * width + x) * bpp + c];
            area += wx * wy;
        }
    }
    return sum / area;
}

TEST(ResizeImage, FastAveragesAreas)
{
    struct Case {
        PixelType type;
        int w0, h0, w1, h1;
    } cases[] = {{PixelType::Rgb, 37, 23, 10, 7}, {PixelType::Rgba, 50, 40, 49, 13}, {PixelType::Gray, 31, 17, 5, 16}};
    for (const Case& c : cases) {
        ImageRef image = NoiseImage(c.type, c.w0, c.h0);
        ImageRef result = Own(ResizeImage(image.Get(), c.w1, c.h1, FilterFast, nullptr, nullptr));
        ASSERT_TRUE(result);
        // Rows bottom-up: compare in stored order.
        std::vector<uint8_t> src, out;
        int bpp = image->GetBytesPerPixel();
        for (int r = 0; r < c.h0; ++r)
            src.insert(src.end(), image->GetRow(r), image->GetRow(r) + c.w0 * bpp);
        for (int r = 0; r < c.h1; ++r)
            out.insert(out.end(), result->GetRow(r), result->GetRow(r) + c.w1 * bpp);
        double sx = double(c.w0) / c.w1, sy = double(c.h0) / c.h1;
        for (int y = 0; y < c.h1; ++y) {
            for (int x = 0; x < c.w1; ++x) {
                for (int k = 0; k < bpp; ++k) {
                    double mean = AreaMean(src, c.w0, bpp, k, x * sx, (x + 1) * sx, y * sy, (y + 1) * sy);
                    EXPECT_NEAR(mean, out[(size_t(y) * c.w1 + x) * bpp + k], 2.0) << x << "," << y;
                }
            }
        }
    }
}

TEST(ResizeImage, FastHalvesWhileSixteenTimesTooLarge)
{
    // 100 -> 5 is a ratio of 20: one 2 x 2 halving to 50 x 50, then 10 x 10
    // areas; every mean along the way is truncated.
    ImageRef image = MakeImage(PixelType::Gray, 100, 100, [](int x, int y, int) { return Noise(x, y, 0) % 256; });
    ImageRef result = Own(ResizeImage(image.Get(), 5, 5, FilterFast, nullptr, nullptr));
    ASSERT_TRUE(result);
    int halved[50][50];
    for (int r = 0; r < 50; ++r)
        for (int x = 0; x < 50; ++x) {
            const uint8_t* a = image->GetRow(2 * r);
            const uint8_t* b = image->GetRow(2 * r + 1);
            halved[r][x] = (a[2 * x] + a[2 * x + 1] + b[2 * x] + b[2 * x + 1]) >> 2;
        }
    bool differsFromDirect = false;
    for (int i = 0; i < 5; ++i)
        for (int k = 0; k < 5; ++k) {
            int rowsSum = 0, direct = 0;
            for (int r = 10 * i; r < 10 * i + 10; ++r) {
                int rowSum = 0;
                for (int x = 10 * k; x < 10 * k + 10; ++x)
                    rowSum += halved[r][x];
                rowsSum += rowSum / 10;
            }
            for (int r = 20 * i; r < 20 * i + 20; ++r)
                for (int x = 20 * k; x < 20 * k + 20; ++x)
                    direct += image->GetRow(r)[x];
            EXPECT_EQ(rowsSum / 10, result->GetRow(i)[k]) << i << "," << k;
            differsFromDirect |= rowsSum / 10 != direct / 400;
        }
    EXPECT_TRUE(differsFromDirect);

    // Width alone: 64 x 3 -> 2 x 3 halves pairs of columns twice (64 -> 32 -> 16).
    ImageRef wide = MakeImage(PixelType::Rgb, 64, 3, [](int x, int y, int c) { return (x * 7 + y * 31 + c) % 256; });
    ImageRef narrow = Own(AreaResample(*wide, 2, 3, nullptr, nullptr));
    ASSERT_TRUE(narrow);
    for (int r = 0; r < 3; ++r)
        for (int k = 0; k < 2; ++k)
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int q = 0; q < 8; ++q) {
                    const uint8_t* p = wide->GetRow(r) + (32 * k + 4 * q) * 3 + c;
                    int first = (p[0] + p[3]) >> 1, second = (p[6] + p[9]) >> 1;
                    sum += (first + second) >> 1;
                }
                EXPECT_EQ(sum / 8, narrow->GetRow(r)[k * 3 + c]);
            }
}

TEST(ResizeImage, FastAsksItsCallbackWhenGiven)
{
    ImageRef image = NoiseImage(PixelType::Rgb, 64, 64);
    int calls = 0;
    auto cancelSecond = [](void* user) { return ++*static_cast<int*>(user) == 2; };
    EXPECT_EQ(nullptr, AreaResample(*image, 2, 20, cancelSecond, &calls));  // before each of two halvings
    EXPECT_EQ(2, calls);
    EXPECT_EQ(nullptr, AreaResample(*image, 0, 5, nullptr, nullptr));
}

}  // namespace
