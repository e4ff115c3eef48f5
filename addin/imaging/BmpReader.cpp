#include "addin/imaging/BmpReader.h"

#include "addin/imaging/ImageFileReader.h"
#include "addin/imaging/ImageLimits.h"
#include "addin/imaging/IndexedImage.h"
#include "base/MKAlloc.h"

#include <stdlib.h>
#include <string.h>

namespace {

const uint32_t kCoreHeaderSize = 12;
const uint32_t kInfoHeaderSize = 40;
const uint32_t kLargestHeaderSize = 124;

enum Compression : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

struct BmpHeader {
    uint32_t dataOffset;
    uint32_t headerSize;
    int width;
    int height;  // always positive
    bool topDown;
    uint32_t bitCount;
    uint32_t compression;
    uint32_t colorsUsed;
    uint32_t masks[4];  // red, green, blue, alpha; 0 when not given
};

uint32_t Le32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

uint16_t Le16(const uint8_t* p)
{
    return uint16_t(p[0] | (p[1] << 8));
}

// Signature, file header and the bitmap header of any known size (core, info
// and the longer versions, whose fields start like the info header's). Bit-
// field masks are taken from inside a long header or from the three words
// that follow an info header.
bool ReadHeader(ImageFileReader& reader, BmpHeader& h)
{
    uint8_t signature[2];
    uint32_t fileSize, reserved;
    if (!reader.Read(signature, 2) || (signature[0] | 0x20) != 'b' || (signature[1] | 0x20) != 'm')
        return false;
    if (!reader.U32(fileSize) || !reader.U32(reserved) || !reader.U32(h.dataOffset) || !reader.U32(h.headerSize))
        return false;
    uint8_t header[kLargestHeaderSize] = {};
    if (h.headerSize < kCoreHeaderSize)
        return false;
    uint32_t stored = h.headerSize < kLargestHeaderSize ? h.headerSize : kLargestHeaderSize;
    if (!reader.Read(header + 4, stored - 4) || !reader.Skip(h.headerSize - stored))
        return false;
    memset(h.masks, 0, sizeof(h.masks));
    int64_t height;
    if (h.headerSize == kCoreHeaderSize) {
        h.width = Le16(header + 4);
        height = Le16(header + 6);
        h.bitCount = Le16(header + 10);
        h.compression = kRgb;
        h.colorsUsed = 0;
    } else {
        if (h.headerSize < 16)
            return false;
        h.width = int32_t(Le32(header + 4));
        height = int32_t(Le32(header + 8));
        h.bitCount = Le16(header + 14);
        h.compression = Le32(header + 16);
        h.colorsUsed = Le32(header + 32);
        if (h.compression == kBitFields) {
            if (h.headerSize >= 52) {
                for (int i = 0; i < 3; ++i)
                    h.masks[i] = Le32(header + 40 + 4 * i);
                if (h.headerSize >= 56)
                    h.masks[3] = Le32(header + 52);
            } else if (h.headerSize == kInfoHeaderSize) {
                for (int i = 0; i < 3; ++i) {
                    if (!reader.U32(h.masks[i]))
                        return false;
                }
            }
        }
    }
    h.topDown = height < 0;
    height = height < 0 ? -height : height;
    if (h.width <= 0 || height <= 0 || height > INT32_MAX)
        return false;
    h.height = int(height);
    return true;
}

// The layouts this reader decodes.
bool IsSupported(const BmpHeader& h)
{
    switch (h.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        return false;
    }
    switch (h.compression) {
    case kRgb:
        return true;
    case kRle8:
        return h.bitCount == 8 && !h.topDown;
    case kRle4:
        return h.bitCount == 4 && !h.topDown;
    case kBitFields:
        return h.bitCount == 16 || h.bitCount == 32;
    default:
        return false;
    }
}

// Writes n copies of one pixel value (RLE8) or alternating nibbles (RLE4)
// from column x on, clipped to the row.
void WriteRun(uint8_t* row, int width, int& x, int n, uint8_t value, BmpRleMode mode)
{
    for (int i = 0; i < n; ++i, ++x) {
        if (x < width)
            row[x] = mode == BmpRleMode::Rle8 ? value : uint8_t(i % 2 ? value & 0x0F : value >> 4);
    }
}

// Rows of `width` index bytes, `stride` bytes apart.
bool DecodeRle(ImageFileReader& reader, uint8_t* buffer, BmpRleMode mode, int width, int stride, int rows)
{
    int x = 0, y = 0;
    while (y < rows) {
        uint8_t n, v;
        if (!reader.U8(n) || !reader.U8(v))
            return true;
        uint8_t* row = buffer + ptrdiff_t(y) * stride;
        if (n > 0) {
            WriteRun(row, width, x, n, v, mode);
            continue;
        }
        if (v == 0) {  // end of line
            ++y;
            x = 0;
        } else if (v == 1) {  // end of bitmap
            return true;
        } else if (v == 2) {  // delta
            uint8_t dx, dy;
            if (!reader.U8(dx) || !reader.U8(dy))
                return true;
            x = x + dx < width ? x + dx : width;
            y += dy;
        } else {  // absolute run of v pixels, padded to whole words
            int bytes = mode == BmpRleMode::Rle8 ? v : (v + 1) / 2;
            uint8_t data[256];
            int got = 0;
            while (got < bytes && reader.U8(data[got]))
                ++got;
            // Pixels past the end of the data keep their value.
            const int pixels = mode == BmpRleMode::Rle8 ? got : 2 * got;
            for (int i = 0; i < v && i < pixels; ++i, ++x) {
                if (x < width)
                    row[x] = mode == BmpRleMode::Rle8 ? data[i] : uint8_t(i % 2 ? data[i / 2] & 0x0F : data[i / 2] >> 4);
            }
            if (got < bytes || (bytes % 2 && !reader.Skip(1)))
                return true;
        }
    }
    // The rows are used up: the end-of-bitmap marker that normally follows is
    // read and dropped, and may be missing.
    uint8_t trailer[2];
    reader.Read(trailer, 2);
    return true;
}

// One file row into one image row.
void ConvertRow(const BmpHeader& h, const uint8_t* in, uint8_t* out, bool rgb565)
{
    const int width = h.width;
    switch (h.bitCount) {
    case 1:
        for (int x = 0; x < width; ++x)
            out[x] = (in[x >> 3] >> (7 - (x & 7))) & 1;
        break;
    case 4:
        for (int x = 0; x < width; ++x)
            out[x] = x % 2 ? in[x / 2] & 0x0F : in[x / 2] >> 4;
        break;
    case 8:
        memcpy(out, in, size_t(width));
        break;
    case 16:
        for (int x = 0; x < width; ++x, in += 2, out += 3) {
            unsigned v = unsigned(in[0] | (in[1] << 8));
            if (rgb565) {
                out[0] = uint8_t((v >> 8) & 0xF8);
                out[1] = uint8_t((v >> 5) << 2);
            } else {
                out[0] = uint8_t((v >> 10) << 3);
                out[1] = uint8_t((v >> 5) << 3);
            }
            out[2] = uint8_t(v << 3);
        }
        break;
    case 24:
        for (int x = 0; x < width; ++x, in += 3, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
        break;
    default:  // 32
        for (int x = 0; x < width; ++x, in += 4, out += 4) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
            out[3] = in[3];
        }
        break;
    }
}

// Reads the colour table (only its first 256 entries are kept) into RGB
// triples; false on a short read. Non-indexed layouts skip theirs.
bool ReadColourTable(ImageFileReader& reader, const BmpHeader& h, uint8_t* rgb, int* count)
{
    uint64_t entries = h.colorsUsed ? h.colorsUsed : (h.bitCount < 16 ? 1u << h.bitCount : 0);
    const int entrySize = h.headerSize == kCoreHeaderSize ? 3 : 4;
    const uint64_t kept = entries < 256 ? entries : 256;
    *count = int(kept);
    for (uint64_t i = 0; i < kept; ++i) {
        uint8_t entry[4];
        if (!reader.Read(entry, size_t(entrySize)))
            return false;
        rgb[3 * i] = entry[2];
        rgb[3 * i + 1] = entry[1];
        rgb[3 * i + 2] = entry[0];
    }
    // The rest lies before the pixel data, which a later skip reaches; a table
    // that runs past the data offset is read through.
    return true;
}

RasterImage* Decode(ImageFileReader& reader)
{
    BmpHeader h;
    if (!ReadHeader(reader, h) || !IsSupported(h) || !ImageSizeAllowed(h.width, h.height))
        return nullptr;
    uint8_t palette[256 * 3];
    int paletteCount = 0;
    if (!ReadColourTable(reader, h, palette, &paletteCount))
        return nullptr;
    if (h.dataOffset > reader.Position() && !reader.Skip(h.dataOffset - reader.Position()))
        return nullptr;
    const bool rle = h.compression == kRle8 || h.compression == kRle4;
    const uint64_t rowSize = (uint64_t(h.bitCount) * uint64_t(h.width) + 31) / 32 * 4;
    // Stored pixels need the file to hold them all: a header claiming more
    // than that must not cost the memory of the picture it cannot fill.
    if (!rle && rowSize * uint64_t(h.height) > reader.Remaining())
        return nullptr;

    const bool indexed = h.bitCount <= 8;
    const PixelType type = indexed ? PixelType::Indexed : (h.bitCount == 32 ? PixelType::Rgba : PixelType::Rgb);
    RasterImage* image = CreateRasterImage(type, h.width, h.height);
    if (!image)
        return nullptr;

    bool ok = true;
    if (rle) {
        // Straight into the image, one index byte per pixel, bottom row first
        // like the file; pixels the data skip stay index 0.
        memset(image->GetPixels(), 0, size_t(image->GetStride()) * size_t(h.height));
        ok = DecodeRle(reader, image->GetPixels(), h.compression == kRle8 ? BmpRleMode::Rle8 : BmpRleMode::Rle4,
                       h.width, image->GetStride(), h.height);
    } else {
        uint8_t* row = static_cast<uint8_t*>(MKAlloc(size_t(rowSize)));
        ok = row != nullptr;
        const bool rgb565 = h.compression == kBitFields && h.masks[1] == 0x07E0;
        bool alphaAllZero = true;
        for (int j = 0; ok && j < h.height; ++j) {
            ok = reader.Read(row, size_t(rowSize));
            if (!ok)
                break;
            uint8_t* out = image->GetRow(h.topDown ? h.height - 1 - j : j);
            ConvertRow(h, row, out, rgb565);
            if (h.bitCount == 32) {
                for (int x = 0; x < h.width && alphaAllZero; ++x)
                    alphaAllZero = out[4 * x + 3] == 0;
            }
        }
        MKFree(row);
        // Most 32-bit files leave the fourth byte unused and write it as 0:
        // read as alpha, such a picture would vanish. So a fourth byte that
        // is 0 everywhere is padding, unless the file declares an alpha mask;
        // any other value anywhere makes the fourth bytes alpha as they stand.
        if (ok && h.bitCount == 32 && alphaAllZero && h.masks[3] == 0) {
            for (int r = 0; r < h.height; ++r) {
                uint8_t* p = image->GetRow(r);
                for (int x = 0; x < h.width; ++x)
                    p[4 * x + 3] = 255;
            }
        }
    }
    if (!ok) {
        image->Release();
        return nullptr;
    }
    if (IndexedImage* indexedImage = image->AsIndexed())
        indexedImage->SetPaletteRgb(paletteCount, palette);
    image->SetFileType(ImageFileType::Bmp);
    return image;
}

}  // namespace

bool BmpReadSize(FILE* file, int* width, int* height)
{
    if (!file)
        return false;
    ImageFileReader reader(file);
    BmpHeader h;
    if (!ReadHeader(reader, h))
        return false;
    if (width)
        *width = h.width;
    if (height)
        *height = h.height;
    return true;
}

RasterImage* BmpDecode(FILE* file)
{
    if (!file)
        return nullptr;
    ImageFileReader reader(file);
    return Decode(reader);
}

RasterImage* BmpDecodeData(const uint8_t* data, size_t size)
{
    if (!data)
        return nullptr;
    ImageFileReader reader(data, size);
    return Decode(reader);
}

bool BmpDecodeRle(FILE* file, uint8_t* buffer, BmpRleMode mode, int width, int rows)
{
    if (!file || !buffer || width <= 0 || rows <= 0)
        return false;
    ImageFileReader reader(file);
    return DecodeRle(reader, buffer, mode, width, width, rows);
}
