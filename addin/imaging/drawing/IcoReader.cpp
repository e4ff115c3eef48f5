#include "addin/imaging/drawing/IcoReader.h"

#include "addin/imaging/ImageLimits.h"
#include "addin/imaging/PngCodec.h"
#include "addin/imaging/drawing/DrawImageDecoder.h"
#include "addin/imaging/drawing/PremulColor.h"

#include <string.h>

namespace {

uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

constexpr size_t kHeaderSize = 6;
constexpr size_t kEntrySize = 16;

bool DecodeDib(const uint8_t* data, size_t size, DrawBitmap& bitmap)
{
    if (size < 40)
        return false;
    uint32_t headerSize = U32(data);
    int32_t width = int32_t(U32(data + 4));
    int32_t doubleHeight = int32_t(U32(data + 8));
    uint16_t bits = U16(data + 14);
    uint32_t compression = U32(data + 16);
    uint32_t colorsUsed = U32(data + 32);
    int32_t height = doubleHeight / 2;
    if (headerSize < 40 || headerSize > size || compression != 0 || !ImageSizeAllowed(width, height) ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32))
        return false;
    uint64_t paletteCount = bits <= 8 ? (colorsUsed && colorsUsed < (1u << bits) ? colorsUsed : 1u << bits) : 0;
    uint64_t colorStride = (uint64_t(width) * bits + 31) / 32 * 4;
    uint64_t maskStride = (uint64_t(width) + 31) / 32 * 4;
    uint64_t paletteAt = headerSize, colorAt = paletteAt + paletteCount * 4;
    uint64_t maskAt = colorAt + colorStride * uint64_t(height);
    // Some writers leave out the AND mask of 32-bit images.
    bool hasMask = maskAt + maskStride * uint64_t(height) <= size;
    if (maskAt > size || (!hasMask && bits != 32))
        return false;
    if (!bitmap.Allocate(BitmapConfig::Argb8888, width, height))
        return false;
    const uint8_t* palette = data + paletteAt;
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        // Rows are stored bottom-up.
        const uint8_t* row = data + colorAt + colorStride * uint64_t(height - 1 - y);
        const uint8_t* maskRow = hasMask ? data + maskAt + maskStride * uint64_t(height - 1 - y) : nullptr;
        uint32_t* out = bitmap.Row32(y);
        for (int x = 0; x < width; ++x) {
            uint32_t b, g, r, a = 255;
            if (bits >= 24) {
                const uint8_t* p = row + size_t(x) * (bits / 8);
                b = p[0];
                g = p[1];
                r = p[2];
                if (bits == 32) {
                    a = p[3];
                    anyAlpha |= a != 0;
                }
            } else {
                uint32_t index = (row[size_t(x) * bits / 8] >> (8 - bits - (x * bits) % 8)) & ((1u << bits) - 1);
                if (index >= paletteCount)
                    index = 0;
                b = palette[index * 4];
                g = palette[index * 4 + 1];
                r = palette[index * 4 + 2];
            }
            if (bits != 32 && maskRow && (maskRow[x / 8] >> (7 - x % 8) & 1))
                a = 0;
            out[x] = PackColor(a, r, g, b);
        }
    }
    // A 32-bit image without any alpha takes its transparency from the mask.
    for (int y = 0; y < height; ++y) {
        const uint8_t* maskRow = hasMask ? data + maskAt + maskStride * uint64_t(height - 1 - y) : nullptr;
        uint32_t* out = bitmap.Row32(y);
        for (int x = 0; x < width; ++x) {
            uint32_t p = out[x];
            if (bits == 32 && !anyAlpha)
                p = (p & 0xFFFFFF) | (maskRow && (maskRow[x / 8] >> (7 - x % 8) & 1) ? 0 : 0xFF000000u);
            out[x] = PremultiplyColor(p);
        }
    }
    bitmap.SetOpaque(false);
    return true;
}

}  // namespace

bool IsIcoData(const uint8_t* data, size_t size)
{
    return data && size >= kHeaderSize && U16(data) == 0 && (U16(data + 2) == 1 || U16(data + 2) == 2) &&
           U16(data + 4) > 0;
}

bool DecodeIco(const uint8_t* data, size_t size, SkVQZ_ICOChooser& chooser, bool nearest, DrawBitmap& bitmap)
{
    bitmap.Reset();
    if (!IsIcoData(data, size))
        return false;
    int count = U16(data + 4);
    if (kHeaderSize + kEntrySize * size_t(count) > size)
        return false;
    chooser.Begin(count);
    for (int i = 0; i < count; ++i) {
        const uint8_t* entry = data + kHeaderSize + kEntrySize * size_t(i);
        // A size byte of 0 means 256.
        chooser.Inspect(i, BitmapConfig::Argb8888, entry[0] ? entry[0] : 256, entry[1] ? entry[1] : 256);
    }
    int chosen = nearest ? chooser.ChooseNearest() : chooser.Choose();
    if (chosen < 0)
        return false;
    const uint8_t* entry = data + kHeaderSize + kEntrySize * size_t(chosen);
    uint32_t length = U32(entry + 8), offset = U32(entry + 12);
    if (offset > size || length > size - offset)
        return false;
    const uint8_t* image = data + offset;
    bool decoded = IsPngData(image, length) ? DecodeImageData(image, length, bitmap)
                                             : DecodeDib(image, length, bitmap);
    if (!decoded)
        bitmap.Reset();
    return decoded;
}
