#include "addin/imaging/drawing/BitmapEffects.h"

#include "addin/imaging/drawing/PremulColor.h"
#include "addin/imaging/drawing/StackBlur.h"

#include <math.h>
#include <string.h>
#include <vector>

namespace {

const uint8_t kMaskCurve[256] = {
    0,   2,   3,   4,   5,   6,   7,   7,   8,   9,   9,   10,  10,  11,  12,  12,  12,  13,  14,  14,  14,  15,
    16,  16,  17,  17,  18,  19,  20,  20,  21,  22,  22,  22,  24,  24,  25,  26,  27,  27,  27,  29,  30,  30,
    30,  31,  33,  32,  34,  35,  35,  36,  36,  37,  39,  39,  40,  41,  41,  42,  43,  44,  45,  45,  46,  47,
    48,  48,  49,  50,  51,  52,  53,  53,  54,  55,  57,  57,  58,  59,  59,  60,  62,  62,  63,  64,  65,  66,
    66,  68,  69,  70,  70,  71,  72,  73,  74,  75,  76,  76,  78,  78,  80,  81,  81,  83,  84,  85,  86,  86,
    88,  89,  89,  91,  91,  92,  93,  95,  95,  97,  97,  99,  100, 100, 101, 102, 104, 105, 106, 107, 108, 108,
    109, 110, 112, 113, 114, 115, 116, 117, 118, 119, 121, 121, 122, 124, 125, 125, 127, 128, 129, 129, 131, 132,
    133, 134, 135, 137, 137, 139, 139, 140, 142, 143, 145, 146, 147, 147, 148, 149, 151, 152, 153, 154, 155, 157,
    157, 159, 160, 161, 162, 164, 165, 166, 167, 169, 170, 170, 172, 173, 174, 175, 176, 178, 179, 180, 181, 182,
    184, 185, 186, 187, 188, 190, 191, 192, 193, 195, 195, 197, 198, 199, 200, 201, 203, 204, 205, 206, 208, 209,
    211, 212, 213, 214, 215, 217, 218, 219, 221, 221, 223, 224, 225, 227, 228, 229, 230, 232, 233, 235, 235, 237,
    238, 239, 241, 242, 243, 244, 246, 247, 248, 250, 251, 253, 254, 255,
};

bool IsArgb(const DrawBitmap& bitmap)
{
    return bitmap.GetConfig() == BitmapConfig::Argb8888 && !bitmap.IsEmpty();
}

// The rectangle cut to the bitmap; false when nothing is left.
bool ClipToBitmap(const DrawBitmap& bitmap, RECT& rect)
{
    if (rect.left < 0)
        rect.left = 0;
    if (rect.top < 0)
        rect.top = 0;
    if (rect.right > bitmap.GetWidth())
        rect.right = bitmap.GetWidth();
    if (rect.bottom > bitmap.GetHeight())
        rect.bottom = bitmap.GetHeight();
    return rect.left < rect.right && rect.top < rect.bottom;
}

// The destination rectangle cut so that the matching source pixels, from
// (sourceX, sourceY) on, lie inside the source too; (dx, dy) leads from a
// destination pixel to its source pixel.
bool ClipToBoth(const DrawBitmap& bitmap, const DrawBitmap& source, int sourceX, int sourceY, RECT& rect, int* dx,
                int* dy)
{
    if (!IsArgb(source))
        return false;
    *dx = sourceX - rect.left;
    *dy = sourceY - rect.top;
    RECT inSource = {rect.left - sourceX, rect.top - sourceY, rect.left - sourceX + source.GetWidth(),
                     rect.top - sourceY + source.GetHeight()};
    RECT cut;
    if (!IntersectRect(&cut, &rect, &inSource))
        return false;
    rect = cut;
    return ClipToBitmap(bitmap, rect);
}

bool MakeGammaTable(double gamma, double base, uint8_t* table)
{
    if (!(gamma > 0.0))
        return false;
    for (int i = 0; i < 256; ++i)
        table[i] = uint8_t(int(255.0 * pow(base * (i / 255.0), 1.0 / gamma) + 0.5) & 0xFF);
    return true;
}

// Blurs one byte of every pixel and clears the other three.
void BlurOneChannel(DrawBitmap& bitmap, int radiusX, int radiusY, int channel)
{
    StackBlurPixels(bitmap.GetPixels(), bitmap.GetWidth(), bitmap.GetHeight(), bitmap.GetRowBytes(), radiusX,
                    radiusY, 1u << channel);
    uint32_t keep = 0xFFu << (8 * channel);
    for (int y = 0; y < bitmap.GetHeight(); ++y) {
        uint32_t* row = bitmap.Row32(y);
        for (int x = 0; x < bitmap.GetWidth(); ++x)
            row[x] &= keep;
    }
}

}  // namespace

const uint8_t* MaskCurve() { return kMaskCurve; }

void LuminanceToAlpha(DrawBitmap& bitmap)
{
    if (!IsArgb(bitmap))
        return;
    for (int y = 0; y < bitmap.GetHeight(); ++y) {
        uint32_t* row = bitmap.Row32(y);
        for (int x = 0; x < bitmap.GetWidth(); ++x) {
            uint32_t c = row[x];
            if (ColorAlpha(c) < 255) {
                c = UnpremultiplyPixel(c);
                if (c == 0)
                    continue;
            }
            uint32_t r = ColorRed(c), g = ColorGreen(c), b = ColorBlue(c);
            if ((r | g | b) == 0)
                row[x] = 0;
            else if ((r & g & b) == 255)
                row[x] = 0xFFFFFFFF;
            else
                row[x] = PremultiplyArgb((11 * r + 16 * g + 5 * b + 16) >> 5, r, g, b);
        }
    }
}

void FillRectColor(DrawBitmap& bitmap, const RECT& rect, uint32_t color)
{
    if (!IsArgb(bitmap) || rect.left >= rect.right || rect.top >= rect.bottom || rect.left < 0 || rect.top < 0 ||
        rect.left >= bitmap.GetWidth() || rect.top >= bitmap.GetHeight() || rect.right > bitmap.GetWidth() ||
        rect.bottom > bitmap.GetHeight())
        return;
    uint32_t pixel = PremultiplyColor(color);
    for (int y = rect.top; y < rect.bottom; ++y) {
        uint32_t* row = bitmap.Row32(y);
        for (int x = rect.left; x < rect.right; ++x)
            row[x] = pixel;
    }
}

void SetRectAlpha(DrawBitmap& bitmap, const RECT& area, uint8_t alpha)
{
    RECT rect = area;
    if (!IsArgb(bitmap) || !ClipToBitmap(bitmap, rect))
        return;
    for (int y = rect.top; y < rect.bottom; ++y) {
        uint32_t* row = bitmap.Row32(y);
        if (alpha == 255) {
            for (int x = rect.left; x < rect.right; ++x)
                row[x] |= 0xFF000000;
        } else if (alpha == 0) {
            memset(row + rect.left, 0, size_t(rect.right - rect.left) * 4);
        } else {
            for (int x = rect.left; x < rect.right; ++x)
                row[x] = PremultiplyArgb(alpha, ColorRed(row[x]), ColorGreen(row[x]), ColorBlue(row[x]));
        }
    }
}

void MaskFromChannel(DrawBitmap& bitmap, const DrawBitmap& source, int sourceX, int sourceY, const RECT& area,
                     bool curve)
{
    RECT rect = area;
    int dx, dy;
    if (!IsArgb(bitmap) || bitmap.IsOpaque() || !ClipToBoth(bitmap, source, sourceX, sourceY, rect, &dx, &dy))
        return;
    for (int y = rect.top; y < rect.bottom; ++y) {
        uint32_t* row = bitmap.Row32(y);
        for (int x = rect.left; x < rect.right; ++x) {
            // An opaque source is read as opaque: GDI leaves its alpha 0.
            uint32_t m = ColorRed(source.GetColor(x + dx, y + dy));
            if (curve)
                m = kMaskCurve[m];
            if (m == 0) {
                row[x] = 0;
            } else {
                uint32_t c = UnpremultiplyPixel(row[x]);
                row[x] = m == 255 ? PackColor(255, ColorRed(c), ColorGreen(c), ColorBlue(c))
                                  : PremultiplyArgb(m, ColorRed(c), ColorGreen(c), ColorBlue(c));
            }
        }
    }
}

void MultiplyAlphaRect(DrawBitmap& bitmap, const DrawBitmap& source, int sourceX, int sourceY, const RECT& area)
{
    RECT rect = area;
    int dx, dy;
    if (!IsArgb(bitmap) || bitmap.IsOpaque() || source.IsOpaque() ||
        !ClipToBoth(bitmap, source, sourceX, sourceY, rect, &dx, &dy))
        return;
    for (int y = rect.top; y < rect.bottom; ++y) {
        uint32_t* row = bitmap.Row32(y);
        const uint32_t* sourceRow = source.Row32(y + dy);
        for (int x = rect.left; x < rect.right; ++x) {
            uint32_t d = ColorAlpha(row[x]), e = ColorAlpha(sourceRow[x + dx]);
            if (d == 0 || e == 0) {
                row[x] = 0;
            } else if (e != 255) {
                uint32_t c = UnpremultiplyPixel(row[x]);
                uint32_t a = d == 255 ? e : MulDiv255Round(d, e);
                row[x] = PremultiplyArgb(a, ColorRed(c), ColorGreen(c), ColorBlue(c));
            }
        }
    }
}

void StackBlur(DrawBitmap& bitmap, int radiusX, int radiusY)
{
    if (!IsArgb(bitmap))
        return;
    StackBlurPixels(bitmap.GetPixels(), bitmap.GetWidth(), bitmap.GetHeight(), bitmap.GetRowBytes(), radiusX,
                    radiusY, bitmap.IsOpaque() ? 0x7u : 0xFu);
}

void MaskShadow(DrawBitmap& bitmap, int radiusX, int radiusY, uint32_t color)
{
    if (!IsArgb(bitmap))
        return;
    bitmap.SetOpaque(false);
    BlurOneChannel(bitmap, radiusX, radiusY, 2);
    uint32_t ramp[256];
    uint32_t a = ColorAlpha(color);
    for (uint32_t i = 0; i < 256; ++i)
        ramp[i] = PremultiplyArgb((a * i + 127) / 255, ColorRed(color), ColorGreen(color), ColorBlue(color));
    for (int y = 0; y < bitmap.GetHeight(); ++y) {
        uint32_t* row = bitmap.Row32(y);
        for (int x = 0; x < bitmap.GetWidth(); ++x)
            row[x] = ramp[ColorRed(row[x])];
    }
}

bool AlphaShadow(DrawBitmap& bitmap, int radiusX, int radiusY, uint32_t color, double gamma, bool inside)
{
    uint8_t levels[256];
    if (!MakeGammaTable(gamma, ColorAlpha(color) / 255.0, levels))
        return false;
    if (!IsArgb(bitmap))
        return true;
    bitmap.SetOpaque(false);
    int width = bitmap.GetWidth(), height = bitmap.GetHeight();
    std::vector<uint8_t> earlier;
    if (inside) {
        earlier.resize(size_t(width) * size_t(height));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                earlier[size_t(y) * width + x] = uint8_t(ColorAlpha(bitmap.Row32(y)[x]));
    }
    BlurOneChannel(bitmap, radiusX, radiusY, 3);
    uint32_t ramp[256];
    for (int i = 0; i < 256; ++i)
        ramp[i] = PremultiplyArgb(levels[i], ColorRed(color), ColorGreen(color), ColorBlue(color));
    for (int y = 0; y < height; ++y) {
        uint32_t* row = bitmap.Row32(y);
        for (int x = 0; x < width; ++x) {
            uint32_t level = 255 - ColorAlpha(row[x]);
            if (inside)
                level = MulDiv255Round(level, earlier[size_t(y) * width + x]);
            row[x] = ramp[level];
        }
    }
    return true;
}

bool GammaRect(DrawBitmap& bitmap, const RECT& area, double gamma)
{
    uint8_t table[256];
    if (!MakeGammaTable(gamma, 1.0, table))
        return false;
    RECT rect = area;
    if (!IsArgb(bitmap) || !ClipToBitmap(bitmap, rect))
        return true;
    for (int y = rect.top; y < rect.bottom; ++y) {
        uint32_t* row = bitmap.Row32(y);
        for (int x = rect.left; x < rect.right; ++x) {
            uint32_t c = bitmap.GetColor(x, y);
            if (c == 0)
                continue;
            uint32_t rgb = c & 0xFFFFFF;
            if (rgb == 0 || rgb == 0xFFFFFF)
                continue;
            row[x] = PremultiplyArgb(ColorAlpha(c), table[ColorRed(c)], table[ColorGreen(c)], table[ColorBlue(c)]);
        }
    }
    return true;
}

void TintRect(DrawBitmap& bitmap, uint32_t tint, int x, int y, int width, int height)
{
    uint32_t at = ColorAlpha(tint);
    RECT rect = {x, y, x + width, y + height};
    if (at == 0 || width <= 0 || height <= 0 || !IsArgb(bitmap) || !ClipToBitmap(bitmap, rect))
        return;
    const uint32_t tc[3] = {ColorRed(tint), ColorGreen(tint), ColorBlue(tint)};
    for (int row = rect.top; row < rect.bottom; ++row) {
        uint32_t* pixels = bitmap.Row32(row);
        for (int column = rect.left; column < rect.right; ++column) {
            uint32_t c = bitmap.GetColor(column, row);
            uint32_t in[3] = {ColorRed(c), ColorGreen(c), ColorBlue(c)};
            uint32_t out[3];
            for (int i = 0; i < 3; ++i) {
                uint32_t p = MulDiv255Round(tc[i], in[i]);
                if (at != 255)
                    p = (at * p + (255 - at) * in[i] + 127) / 255;
                out[i] = p > 255 ? 255 : p;
            }
            pixels[column] = PremultiplyArgb(ColorAlpha(c), out[0], out[1], out[2]);
        }
    }
}

uint32_t GetPixelColor(const DrawBitmap& bitmap, int x, int y)
{
    return bitmap.Contains(x, y) && !bitmap.IsEmpty() ? bitmap.GetColor(x, y) : 0;
}
