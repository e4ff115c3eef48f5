#pragma once
#include <stdint.h>

// Colour words are A << 24 | R << 16 | G << 8 | B, the byte order of a 32-bit
// DIB pixel (B, G, R, A in memory). Stored pixels are premultiplied; colours
// handed in and out by callers are straight.

inline uint32_t ColorAlpha(uint32_t c) { return c >> 24; }
inline uint32_t ColorRed(uint32_t c) { return (c >> 16) & 0xFF; }
inline uint32_t ColorGreen(uint32_t c) { return (c >> 8) & 0xFF; }
inline uint32_t ColorBlue(uint32_t c) { return c & 0xFF; }
inline uint32_t PackColor(uint32_t a, uint32_t r, uint32_t g, uint32_t b)
{
    return a << 24 | r << 16 | g << 8 | b;
}

// a * b / 255 rounded to nearest, exact for every pair of bytes.
inline uint32_t MulDiv255Round(uint32_t a, uint32_t b)
{
    uint32_t product = a * b + 128;
    return (product + (product >> 8)) >> 8;
}

// Straight (a, r, g, b) to a premultiplied pixel.
inline uint32_t PremultiplyArgb(uint32_t a, uint32_t r, uint32_t g, uint32_t b)
{
    if (a != 255) {
        r = MulDiv255Round(r, a);
        g = MulDiv255Round(g, a);
        b = MulDiv255Round(b, a);
    }
    return PackColor(a, r, g, b);
}

inline uint32_t PremultiplyColor(uint32_t c)
{
    return PremultiplyArgb(ColorAlpha(c), ColorRed(c), ColorGreen(c), ColorBlue(c));
}

// Premultiplied pixel to a straight colour by the 8.24 reciprocal table;
// alpha 255 stays as it is, alpha 0 gives 0.
uint32_t UnpremultiplyPixel(uint32_t pixel);
