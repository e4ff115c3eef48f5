// Conversions between pixel types; each allocates exactly one result.
#include "addin/imaging/IndexedImage.h"
#include "addin/imaging/RasterImage.h"

#include <string.h>

namespace {

// True when pred holds for every pixel (padding is not read).
template <typename Pred>
bool EveryPixel(const RasterImage& image, Pred pred)
{
    const int width = image.GetWidth();
    const int bpp = image.GetBytesPerPixel();
    for (int r = 0; r < image.GetHeight(); ++r) {
        const uint8_t* p = image.GetRow(r);
        for (int x = 0; x < width; ++x, p += bpp) {
            if (!pred(p))
                return false;
        }
    }
    return true;
}

// A new image of the same size whose pixels are made by convert(in, out); null
// when the receiver is invalid or not of type `from`, or memory runs out.
template <typename Convert>
RasterImage* MapPixels(const RasterImage& image, PixelType from, PixelType to, Convert convert)
{
    if (!image.IsValid() || image.GetPixelType() != from)
        return nullptr;
    RasterImage* result = CreateRasterImage(to, image.GetWidth(), image.GetHeight());
    if (!result)
        return nullptr;
    const int width = image.GetWidth();
    const int inBytes = image.GetBytesPerPixel();
    const int outBytes = result->GetBytesPerPixel();
    for (int r = 0; r < image.GetHeight(); ++r) {
        const uint8_t* in = image.GetRow(r);
        uint8_t* out = result->GetRow(r);
        for (int x = 0; x < width; ++x, in += inBytes, out += outBytes)
            convert(in, out);
    }
    return result;
}

bool IsGrayRgb(const uint8_t* p)
{
    return p[0] == p[1] && p[1] == p[2];
}

RasterImage* KeepingProvenance(RasterImage* result, const RasterImage& from)
{
    if (result)
        result->CopyProvenance(from);
    return result;
}

}  // namespace

RasterImage* RasterImage::ToGrayIfGray() const
{
    if (!IsValid() || GetPixelType() != PixelType::Rgb || !EveryPixel(*this, IsGrayRgb))
        return nullptr;
    return KeepingProvenance(
        MapPixels(*this, PixelType::Rgb, PixelType::Gray, [](const uint8_t* in, uint8_t* out) { out[0] = in[0]; }),
        *this);
}

RasterImage* RasterImage::ToGrayAlphaIfGray() const
{
    if (!IsValid() || GetPixelType() != PixelType::Rgba || !EveryPixel(*this, IsGrayRgb))
        return nullptr;
    return KeepingProvenance(MapPixels(*this, PixelType::Rgba, PixelType::GrayAlpha,
                                       [](const uint8_t* in, uint8_t* out) {
                                           out[0] = in[0];
                                           out[1] = in[3];
                                       }),
                             *this);
}

RasterImage* RasterImage::ToGrayIfOpaque() const
{
    if (!IsValid() || GetPixelType() != PixelType::GrayAlpha ||
        !EveryPixel(*this, [](const uint8_t* p) { return p[1] == 255; }))
        return nullptr;
    return KeepingProvenance(
        MapPixels(*this, PixelType::GrayAlpha, PixelType::Gray, [](const uint8_t* in, uint8_t* out) { out[0] = in[0]; }),
        *this);
}

RasterImage* RasterImage::ToRgbIfOpaque() const
{
    if (!IsValid() || GetPixelType() != PixelType::Rgba ||
        !EveryPixel(*this, [](const uint8_t* p) { return p[3] == 255; }))
        return nullptr;
    return KeepingProvenance(MapPixels(*this, PixelType::Rgba, PixelType::Rgb,
                                       [](const uint8_t* in, uint8_t* out) { memcpy(out, in, 3); }),
                             *this);
}

RasterImage* RasterImage::AlphaToRgba() const
{
    return MapPixels(*this, PixelType::Alpha, PixelType::Rgba, [](const uint8_t* in, uint8_t* out) {
        out[0] = out[1] = out[2] = 255;
        out[3] = in[0];
    });
}

RasterImage* RasterImage::GrayToRgb() const
{
    return MapPixels(*this, PixelType::Gray, PixelType::Rgb,
                     [](const uint8_t* in, uint8_t* out) { out[0] = out[1] = out[2] = in[0]; });
}

RasterImage* RasterImage::GrayAlphaToRgba() const
{
    return MapPixels(*this, PixelType::GrayAlpha, PixelType::Rgba, [](const uint8_t* in, uint8_t* out) {
        out[0] = out[1] = out[2] = in[0];
        out[3] = in[1];
    });
}

RasterImage* RasterImage::IndexedToDirect() const
{
    const IndexedImage* indexed = AsIndexed();
    if (!indexed || !IsValid())
        return nullptr;
    auto entry = [indexed](const uint8_t* in) { return indexed->GetPaletteEntry(in[0]); };
    switch (indexed->GetPaletteType()) {
    case PixelType::Rgb:
        return MapPixels(*this, PixelType::Indexed, PixelType::Rgb,
                         [&](const uint8_t* in, uint8_t* out) { memcpy(out, entry(in), 3); });
    case PixelType::Gray:
        return MapPixels(*this, PixelType::Indexed, PixelType::Rgb,
                         [&](const uint8_t* in, uint8_t* out) { out[0] = out[1] = out[2] = entry(in)[0]; });
    case PixelType::Rgba:
        return MapPixels(*this, PixelType::Indexed, PixelType::Rgba,
                         [&](const uint8_t* in, uint8_t* out) { memcpy(out, entry(in), 4); });
    case PixelType::Alpha:
        return MapPixels(*this, PixelType::Indexed, PixelType::Rgba, [&](const uint8_t* in, uint8_t* out) {
            out[0] = out[1] = out[2] = 255;
            out[3] = entry(in)[3];
        });
    case PixelType::GrayAlpha:
        return MapPixels(*this, PixelType::Indexed, PixelType::Rgba, [&](const uint8_t* in, uint8_t* out) {
            const uint8_t* e = entry(in);
            out[0] = out[1] = out[2] = e[0];
            out[3] = e[3];
        });
    default:
        return nullptr;
    }
}

RasterImage* RasterImage::ExpandPalette() const
{
    const IndexedImage* indexed = AsIndexed();
    if (!indexed || !IsValid())
        return nullptr;
    auto entry = [indexed](const uint8_t* in) { return indexed->GetPaletteEntry(in[0]); };
    PixelType type = indexed->GetPaletteType();
    switch (type) {
    case PixelType::Rgb:
        return MapPixels(*this, PixelType::Indexed, type, [&](const uint8_t* in, uint8_t* out) { memcpy(out, entry(in), 3); });
    case PixelType::Rgba:
        return MapPixels(*this, PixelType::Indexed, type, [&](const uint8_t* in, uint8_t* out) { memcpy(out, entry(in), 4); });
    case PixelType::Alpha:
        return MapPixels(*this, PixelType::Indexed, type, [&](const uint8_t* in, uint8_t* out) { out[0] = entry(in)[3]; });
    case PixelType::Gray:
        return MapPixels(*this, PixelType::Indexed, type, [&](const uint8_t* in, uint8_t* out) { out[0] = entry(in)[0]; });
    case PixelType::GrayAlpha:
        return MapPixels(*this, PixelType::Indexed, type, [&](const uint8_t* in, uint8_t* out) {
            out[0] = entry(in)[0];
            out[1] = entry(in)[3];
        });
    default:
        return nullptr;
    }
}

RasterImage* RasterImage::ToRgb()
{
    RasterImage* expanded = this;
    if (!IsValid() || !ExpandToDirectColor(&expanded, false))
        return nullptr;
    if (expanded->GetPixelType() == PixelType::Rgb)
        return expanded;
    RasterImage* result = MapPixels(*expanded, PixelType::Rgba, PixelType::Rgb,
                                    [](const uint8_t* in, uint8_t* out) { memcpy(out, in, 3); });
    if (result)
        result->CopyProvenance(*this);
    if (expanded != this)
        expanded->Release();
    return result;
}

bool ExpandToDirectColor(RasterImage** slot, bool releaseOld)
{
    if (!slot || !*slot)
        return false;
    RasterImage* image = *slot;
    RasterImage* expanded = nullptr;
    switch (image->GetPixelType()) {
    case PixelType::Rgb:
    case PixelType::Rgba:
        return true;
    case PixelType::Alpha:
        expanded = image->AlphaToRgba();
        break;
    case PixelType::Gray:
        expanded = image->GrayToRgb();
        break;
    case PixelType::GrayAlpha:
        expanded = image->GrayAlphaToRgba();
        break;
    case PixelType::Indexed:
        expanded = image->IndexedToDirect();
        break;
    default:
        return false;
    }
    if (!expanded)
        return false;
    *slot = expanded;
    if (releaseOld)
        image->Release();
    return true;
}
