#include "addin/imaging/drawing/StackBlur.h"

#include <stddef.h>
#include <vector>

namespace {

// The published tables are the smallest shift giving a multiplier above 256,
// the multiplier rounded up: 2^shift / (r + 1)^2 in (256, 512].
struct BlurTables {
    uint16_t multiplier[256];
    uint8_t shift[256];
    constexpr BlurTables() : multiplier{}, shift{}
    {
        for (uint32_t r = 0; r <= kMaxStackBlurRadius; ++r) {
            uint64_t d = uint64_t(r + 1) * (r + 1);
            uint32_t s = 0;
            while ((uint64_t(1) << s) <= 256 * d)
                ++s;
            multiplier[r] = uint16_t(((uint64_t(1) << s) + d - 1) / d);
            shift[r] = uint8_t(s);
        }
    }
};

constexpr BlurTables kTables;

int ClampRadius(int radius) { return radius > kMaxStackBlurRadius ? kMaxStackBlurRadius : radius; }

}  // namespace

uint32_t StackBlurMultiplier(int radius) { return radius >= 0 && radius < 256 ? kTables.multiplier[radius] : 0; }

int StackBlurShift(int radius) { return radius >= 0 && radius < 256 ? kTables.shift[radius] : 0; }

void StackBlurLine(uint8_t* line, int count, ptrdiff_t step, int radius, uint32_t* stack)
{
    int div = 2 * radius + 1;
    uint64_t mul = kTables.multiplier[radius];
    int shr = kTables.shift[radius];
    uint32_t first = line[0];
    uint32_t sum = 0, outSum = first * uint32_t(radius + 1), inSum = 0;
    for (int i = 0; i <= radius; ++i) {
        stack[i] = first;
        sum += first * uint32_t(i + 1);
    }
    for (int i = 1; i <= radius; ++i) {
        uint32_t p = line[(i < count - 1 ? i : count - 1) * step];
        stack[radius + i] = p;
        sum += p * uint32_t(radius + 1 - i);
        inSum += p;
    }
    int sp = radius;
    int xp = radius < count - 1 ? radius : count - 1;
    const uint8_t* in = line + xp * step;
    uint8_t* out = line;
    for (int x = 0; x < count; ++x, out += step) {
        *out = uint8_t((sum * mul) >> shr);
        sum -= outSum;
        int k = sp + div - radius;
        if (k >= div)
            k -= div;
        outSum -= stack[k];
        if (xp < count - 1) {
            ++xp;
            in += step;
        }
        stack[k] = *in;
        inSum += *in;
        sum += inSum;
        if (++sp == div)
            sp = 0;
        outSum += stack[sp];
        inSum -= stack[sp];
    }
}

void StackBlurPixels(uint8_t* pixels, int width, int height, int rowBytes, int radiusX, int radiusY,
                     unsigned channelMask)
{
    if (width <= 0 || height <= 0)
        return;
    radiusX = ClampRadius(radiusX);
    radiusY = ClampRadius(radiusY);
    int largest = radiusX > radiusY ? radiusX : radiusY;
    std::vector<uint32_t> stack(size_t(2 * largest + 1));
    if (radiusX > 0) {
        for (int y = 0; y < height; ++y) {
            uint8_t* row = pixels + ptrdiff_t(y) * rowBytes;
            for (int c = 0; c < 4; ++c)
                if (channelMask & (1u << c))
                    StackBlurLine(row + c, width, 4, radiusX, stack.data());
        }
    }
    if (radiusY > 0) {
        for (int x = 0; x < width; ++x) {
            uint8_t* column = pixels + ptrdiff_t(x) * 4;
            for (int c = 0; c < 4; ++c)
                if (channelMask & (1u << c))
                    StackBlurLine(column + c, height, rowBytes, radiusY, stack.data());
        }
    }
}
