#include "addin/imaging/drawing/DrawImageDecoder.h"

#include "addin/imaging/BmpReader.h"
#include "addin/imaging/GifReader.h"
#include "addin/imaging/ImageLimits.h"
#include "addin/imaging/JpegCodec.h"
#include "addin/imaging/PngCodec.h"
#include "addin/imaging/RasterImage.h"
#include "addin/imaging/drawing/IcoReader.h"
#include "addin/imaging/drawing/PremulColor.h"
#include "addin/imaging/drawing/SkVQZ_ICOChooser.h"
#include "base/MKFile.h"
#include "base/MKString.h"
#include "base/MKTArray.h"

#include <string.h>

namespace {

// Rgb or Rgba pictures (rows bottom-up) as premultiplied top-down bitmaps.
bool FromRasterImage(RasterImage* image, DrawBitmap& bitmap)
{
    bool converted = image && ExpandToDirectColor(&image, true);
    if (!converted) {
        if (image)
            image->Release();
        return false;
    }
    bool alpha = image->GetPixelType() == PixelType::Rgba;
    int width = image->GetWidth(), height = image->GetHeight();
    bool ok = bitmap.Allocate(BitmapConfig::Argb8888, width, height);
    // Opaque when no pixel is transparent, whatever the file's layout.
    uint32_t allAlpha = 0xFF;
    for (int y = 0; ok && y < height; ++y) {
        const uint8_t* in = image->GetTopRow(y);
        uint32_t* out = bitmap.Row32(y);
        for (int x = 0; x < width; ++x, in += alpha ? 4 : 3) {
            out[x] = alpha ? PremultiplyArgb(in[3], in[0], in[1], in[2]) : PackColor(255, in[0], in[1], in[2]);
            allAlpha &= out[x] >> 24;
        }
    }
    bitmap.SetOpaque(ok && allAlpha == 0xFF);
    image->Release();
    return ok;
}

// `nearest`: an icon gives the entry nearest the chooser's size, not only an
// exact match.
bool Decode(const uint8_t* data, size_t size, DrawBitmap& bitmap, SkVQZ_ICOChooser& chooser, bool nearest,
            DrawImageFormat* format)
{
    bitmap.Reset();
    DrawImageFormat kind = ImageFormatOf(data, size);
    bool ok = false;
    switch (kind) {
    case DrawImageFormat::Png:
        ok = FromRasterImage(PngDecode(data, size), bitmap);
        break;
    case DrawImageFormat::Jpeg:
        ok = FromRasterImage(JpegDecode(data, size, nullptr, nullptr), bitmap);
        break;
    case DrawImageFormat::Bmp:
        ok = FromRasterImage(BmpDecodeData(data, size), bitmap);
        break;
    case DrawImageFormat::Gif:
        ok = FromRasterImage(GifLoadFirstFrameData(data, size), bitmap);
        break;
    case DrawImageFormat::Ico:
        ok = DecodeIco(data, size, chooser, nearest, bitmap);
        break;
    default:
        break;
    }
    if (!ok) {
        bitmap.Reset();
        return false;
    }
    if (format)
        *format = kind;
    return true;
}

}  // namespace

bool IsPngData(const uint8_t* data, size_t size)
{
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    return data && size >= 8 && memcmp(data, kSignature, 8) == 0;
}

DrawImageFormat ImageFormatOf(const uint8_t* data, size_t size)
{
    if (!data || size < 4)
        return DrawImageFormat::Unknown;
    if (IsPngData(data, size))
        return DrawImageFormat::Png;
    if (data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF)
        return DrawImageFormat::Jpeg;
    if (data[0] == 'B' && data[1] == 'M')
        return DrawImageFormat::Bmp;
    if (memcmp(data, "GIF8", 4) == 0)
        return DrawImageFormat::Gif;
    if (IsIcoData(data, size))
        return DrawImageFormat::Ico;
    return DrawImageFormat::Unknown;
}

bool DecodeImageData(const uint8_t* data, size_t size, DrawBitmap& bitmap)
{
    SkVQZ_ICOChooser chooser(BitmapConfig::Argb8888, 0, 0);
    return Decode(data, size, bitmap, chooser, true, nullptr);
}

bool DecodeMemorySized(const uint8_t* data, size_t size, DrawBitmap& bitmap, BitmapConfig config, int width,
                       int height, DrawImageFormat* format)
{
    SkVQZ_ICOChooser chooser(config, width, height);
    return Decode(data, size, bitmap, chooser, false, format);
}

namespace {

// The whole file in memory; false when it cannot be read. An image file is
// far smaller than the pixels it may decode to: a larger file is not read
// into the host's memory at all.
bool ReadImageBytes(const wchar_t* path, MKByteArray& bytes)
{
    if (!path || !*path)
        return false;
    MKString name(path);
    int size = MKFileSize(name);
    return size >= 0 && size_t(size) <= kMaxImageBytes && MKReadFile(name, bytes);
}

}  // namespace

bool DecodeImageFile(const wchar_t* path, DrawBitmap& bitmap)
{
    bitmap.Reset();
    MKByteArray bytes;
    return ReadImageBytes(path, bytes) && DecodeImageData(bytes.GetData(), size_t(bytes.GetCount()), bitmap);
}

bool DecodeFileSized(const wchar_t* path, DrawBitmap& bitmap, BitmapConfig config, int width, int height,
                     DrawImageFormat* format)
{
    bitmap.Reset();
    MKByteArray bytes;
    return ReadImageBytes(path, bytes) &&
           DecodeMemorySized(bytes.GetData(), size_t(bytes.GetCount()), bitmap, config, width, height, format);
}
