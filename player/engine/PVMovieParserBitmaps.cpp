// Readers of the JPEG and lossless bitmap tags.
#include <cstdlib>
#include <cstring>
#include <new>

#include "player/engine/InflateBlock.h"
#include "player/engine/PVBitmap.h"
#include "player/engine/PVCharDictionary.h"
#include "player/engine/PVImage.h"
#include "player/engine/PVJpegDecompressor.h"
#include "player/engine/PVMovieParser.h"

namespace {

// Deflate cannot expand its input more than this many times, so a bitmap
// whose pixels need more than that from its data is refused unread.
constexpr uint64_t kMaxInflateRatio = 1032;

// Some writers put an empty stream's end marker before its start marker:
// the two markers are swapped back in place.
void SwapLeadingMarkers(uint8_t* data, uint32_t length)
{
    if (length >= 4 && data[0] == 0xFF && data[1] == 0xD9 && data[2] == 0xFF && data[3] == 0xD8) {
        data[1] = 0xD8;
        data[3] = 0xD9;
    }
}

// A bitmap of `image` (always taken) into the dictionary.
bool AddBitmap(PVCharDictionary& dictionary, int id, PVImage* image)
{
    auto* bitmap = new (std::nothrow) PVBitmap(id);
    if (!bitmap) {
        delete image;
        return false;
    }
    if (!bitmap->SetImage(image) || !dictionary.Add(bitmap)) {
        delete bitmap;
        return false;
    }
    return true;
}

// Puts one alpha byte per pixel, row by row, into the alpha channel of an
// RGBA or grey-and-alpha image.
void SetAlpha(PVImage& image, const uint8_t* alpha)
{
    const int bpp = PVImage::BytesPerPixel(image.Kind());
    for (int y = 0; y < image.Height(); ++y) {
        uint8_t* out = image.Row(y) + bpp - 1;
        for (int x = 0; x < image.Width(); ++x, out += bpp)
            *out = *alpha++;
    }
}

// The image of an inflated lossless bitmap: colour table (format 3), then
// rows padded to 4 bytes. Null when memory runs out.
PVImage* LosslessImage(int format, bool withAlpha, int width, int height, int tableSize, const uint8_t* data)
{
    PVImage* image;
    if (format == 3) {
        image = PVImage::Create(PVImage::kPalette, width, height, tableSize);
        if (!image)
            return nullptr;
        image->SetPalette(data, tableSize, withAlpha ? PVImage::kRGBA : PVImage::kRGB);
        image->ReducePalette();
        data += tableSize * (withAlpha ? 4 : 3);
        // Index rows are padded the same way as the image's own.
        std::memcpy(image->Pixels(), data, size_t(image->Stride()) * height);
        return image;
    }
    const int kind = format == 5 && withAlpha ? PVImage::kRGBA : PVImage::kRGB;
    image = PVImage::Create(kind, width, height);
    if (!image)
        return nullptr;
    const int bpp = format == 4 ? 2 : 4;
    const size_t rowBytes = (size_t(width) * bpp + 3) & ~size_t(3);
    // One loop per pixel form, so no pixel pays for the choice.
    for (int y = 0; y < height; ++y, data += rowBytes) {
        const uint8_t* in = data;
        uint8_t* out = image->Row(y);
        if (format == 4) {
            for (int x = 0; x < width; ++x, in += 2, out += 3) {
                // Big-endian 0RRRRRGGGGGBBBBB.
                const unsigned v = unsigned(in[0]) << 8 | in[1];
                out[0] = uint8_t(((v >> 10) & 0x1F) << 3);
                out[1] = uint8_t(((v >> 5) & 0x1F) << 3);
                out[2] = uint8_t((v & 0x1F) << 3);
            }
        } else if (withAlpha) {
            // Alpha, red, green, blue: read as a little-endian word, one byte's
            // rotation makes red, green, blue, alpha.
            for (int x = 0; x < width; ++x, in += 4, out += 4) {
                uint32_t argb;
                std::memcpy(&argb, in, 4);
                const uint32_t rgba = argb >> 8 | argb << 24;
                std::memcpy(out, &rgba, 4);
            }
        } else {
            for (int x = 0; x < width; ++x, in += 4, out += 3) {
                out[0] = in[1];
                out[1] = in[2];
                out[2] = in[3];
            }
        }
    }
    image->Reduce();
    return image;
}

}  // namespace

bool PVMovieParser::ReadJPEGTables(PVMovie&, int)
{
    uint8_t* data = image_ + pos_;
    const uint32_t length = end_ - pos_;
    SwapLeadingMarkers(data, length);
    if (!jpegTables_ && !(jpegTables_ = PVJpegDecompressor::Create()))
        return false;
    // An empty tag brings no tables; the images then carry their own.
    if (length == 0 || jpegTables_->ReadTables(data, length))
        return true;
    delete jpegTables_;
    jpegTables_ = nullptr;
    return false;
}

bool PVMovieParser::ReadDefineBits(PVMovie&, int)
{
    const uint16_t id = ReadU16();
    if (overrun_ || !jpegTables_)
        return false;
    PVImage* image = jpegTables_->Decode(image_ + pos_, end_ - pos_, false);
    return image && AddBitmap(*dictionary_, id, image);
}

bool PVMovieParser::ReadDefineBitsJPEG(bool withAlpha)
{
    const uint16_t id = ReadU16();
    const uint32_t length = withAlpha ? ReadU32() : end_ - pos_;
    if (overrun_ || length > end_ - pos_)
        return false;
    uint8_t* data = image_ + pos_;
    SwapLeadingMarkers(data, length);
    PVJpegDecompressor* decompressor = PVJpegDecompressor::Create();
    if (!decompressor)
        return false;
    PVImage* image = decompressor->Decode(data, length, withAlpha);
    delete decompressor;
    if (!image)
        return false;
    if (withAlpha) {
        // One alpha byte per pixel, deflated, after the JPEG data.
        const uint32_t pixels = uint32_t(image->Width()) * uint32_t(image->Height());
        auto* alpha = static_cast<uint8_t*>(std::malloc(pixels));
        const bool inflated = alpha && InflateBlock(data + length, end_ - pos_ - length, alpha, pixels);
        if (inflated)
            SetAlpha(*image, alpha);
        std::free(alpha);
        if (!inflated) {
            delete image;
            return false;
        }
    }
    return AddBitmap(*dictionary_, id, image);
}

bool PVMovieParser::ReadDefineBitsLossless(bool withAlpha)
{
    const uint16_t id = ReadU16();
    const int format = ReadU8();
    const int width = ReadU16();
    const int height = ReadU16();
    const int tableSize = format == 3 ? ReadU8() + 1 : 0;
    if (overrun_ || width == 0 || height == 0 || (format != 3 && format != 4 && format != 5))
        return false;
    const int bpp = format == 3 ? 1 : format == 4 ? 2 : 4;
    const uint64_t rowBytes = (uint64_t(width) * bpp + 3) & ~uint64_t(3);
    const uint64_t size = uint64_t(tableSize) * (withAlpha ? 4 : 3) + rowBytes * height;
    const uint32_t compressed = end_ - pos_;
    if (uint64_t(width) * height > PVBitmap::kMaxPixels || size > compressed * kMaxInflateRatio)
        return false;
    auto* buffer = static_cast<uint8_t*>(std::malloc(size_t(size)));
    if (!buffer)
        return false;
    PVImage* image = nullptr;
    if (InflateBlock(image_ + pos_, compressed, buffer, uint32_t(size)))
        image = LosslessImage(format, withAlpha, width, height, tableSize, buffer);
    std::free(buffer);
    return image && AddBitmap(*dictionary_, id, image);
}
