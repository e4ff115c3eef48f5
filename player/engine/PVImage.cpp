#include "player/engine/PVImage.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

#include "pixels/PixelTypes.h"
#include "player/engine/PVImageScale.h"

namespace {

bool IsGrey(const uint8_t* p)
{
    return p[0] == p[1] && p[1] == p[2];
}

}  // namespace

int PVImage::BytesPerPixel(int kind)
{
    return ::BytesPerPixel(static_cast<PixelType>(kind));
}

PVImage* PVImage::Create(int kind, int width, int height, int paletteEntries)
{
    const int bpp = BytesPerPixel(kind);
    if (bpp == 0 || width <= 0 || height <= 0 || width > (INT_MAX - 3) / bpp)
        return nullptr;
    const int stride = (width * bpp + 3) & ~3;
    uint64_t size = static_cast<uint64_t>(stride) * static_cast<uint64_t>(height);
    // Rows of three-byte pixels without padding get a spare byte, so a
    // four-byte read of the last pixel stays inside the buffer.
    if (stride == 3 * width)
        size |= 1;
    if (size > INT_MAX)
        return nullptr;

    auto* image = new (std::nothrow) PVImage;
    if (!image)
        return nullptr;
    image->width_ = width;
    image->height_ = height;
    image->kind_ = kind;
    image->stride_ = stride;
    image->pixels_ = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(size), 1));
    bool ok = image->pixels_ != nullptr;
    if (ok && kind == kPalette) {
        image->paletteCapacity_ = paletteEntries > 256 ? paletteEntries : 256;
        image->paletteCount_ = paletteEntries > 0 ? paletteEntries : 1;
        image->palette_ = static_cast<uint8_t*>(std::calloc(image->paletteCapacity_, 4));
        ok = image->palette_ != nullptr;
    }
    if (!ok) {
        delete image;
        return nullptr;
    }
    return image;
}

PVImage::~PVImage()
{
    std::free(pixels_);
    std::free(palette_);
}

bool PVImage::PaletteHasAlpha() const
{
    for (int i = 0; palette_ && i < paletteCount_; ++i) {
        if (palette_[4 * i + 3] != 255)
            return true;
    }
    return false;
}

PVImage* PVImage::Clone() const
{
    if (kind_ == kPalette && (paletteCount_ <= 0 || paletteKind_ == kPalette))
        return nullptr;
    PVImage* copy = Create(kind_, width_, height_, paletteCount_);
    if (!copy)
        return nullptr;
    std::memcpy(copy->pixels_, pixels_, static_cast<size_t>(stride_) * height_);
    if (palette_) {
        std::memcpy(copy->palette_, palette_, static_cast<size_t>(paletteCapacity_) * 4);
        copy->paletteKind_ = paletteKind_;
    }
    return copy;
}

bool PVImage::SetPalette(const uint8_t* entries, int count, int entryKind)
{
    if (entryKind <= 0 || entryKind > 5 || !palette_ || count < 1 || count > paletteCapacity_)
        return false;
    uint8_t* out = palette_;
    for (int i = 0; i < count; ++i, out += 4) {
        switch (entryKind) {
        case kRGB:
            out[0] = entries[0];
            out[1] = entries[1];
            out[2] = entries[2];
            out[3] = 255;
            entries += 3;
            break;
        case kRGBA:
            std::memcpy(out, entries, 4);
            entries += 4;
            break;
        case kGreyAlpha:
            out[0] = out[1] = out[2] = entries[0];
            out[3] = entries[1];
            entries += 2;
            break;
        default:
            out[0] = out[1] = out[2] = entries[0];
            out[3] = 255;
            entries += 1;
            break;
        }
    }
    paletteCount_ = count;
    paletteKind_ = entryKind;
    return true;
}

void PVImage::ReducePalette()
{
    if (!palette_ || paletteKind_ == kAlpha)
        return;
    bool alpha = false, colour = false;
    for (int i = 0; i < paletteCount_; ++i) {
        const uint8_t* entry = palette_ + 4 * i;
        alpha |= entry[3] != 255;
        colour |= !IsGrey(entry);
    }
    if (alpha) {
        if (paletteKind_ == kRGB)
            paletteKind_ = kRGBA;
        else if (paletteKind_ == kGrey)
            paletteKind_ = kGreyAlpha;
    } else {
        if (paletteKind_ == kRGBA)
            paletteKind_ = kRGB;
        else if (paletteKind_ == kGreyAlpha)
            paletteKind_ = kGrey;
    }
    if (!colour) {
        if (paletteKind_ == kRGB)
            paletteKind_ = kGrey;
        else if (paletteKind_ == kRGBA)
            paletteKind_ = kGreyAlpha;
    }
}

void PVImage::Reduce()
{
    if (kind_ != kRGB && kind_ != kRGBA && kind_ != kGreyAlpha)
        return;
    const int bpp = BytesPerPixel(kind_);
    // Only what can change the kind is looked for: greyness of colour kinds,
    // opacity of kinds with alpha.
    bool grey = kind_ != kGreyAlpha, opaque = kind_ != kRGB;
    for (int y = 0; y < height_ && (grey || opaque); ++y) {
        const uint8_t* row = Row(y);
        const uint8_t* rowEnd = row + static_cast<size_t>(width_) * bpp;
        // Each look stops at the first pixel that settles it.
        if (opaque) {
            const int alpha = kind_ == kGreyAlpha ? 1 : 3;
            for (const uint8_t* p = row; p < rowEnd; p += bpp) {
                if (p[alpha] != 255) {
                    opaque = false;
                    break;
                }
            }
        }
        if (grey) {
            for (const uint8_t* p = row; p < rowEnd; p += bpp) {
                if (!IsGrey(p)) {
                    grey = false;
                    break;
                }
            }
        }
    }

    int target;
    if (kind_ == kRGB)
        target = grey ? kGrey : kRGB;
    else if (kind_ == kRGBA)
        target = opaque ? (grey ? kGrey : kRGB) : (grey ? kGreyAlpha : kRGBA);
    else
        target = opaque ? kGrey : kGreyAlpha;
    if (target == kind_)
        return;

    // Each output pixel lies at or before its input pixel, so one forward
    // pass repacks in place.
    const int outBpp = BytesPerPixel(target);
    const int outStride = (width_ * outBpp + 3) & ~3;
    for (int y = 0; y < height_; ++y) {
        const uint8_t* in = Row(y);
        uint8_t* out = pixels_ + static_cast<size_t>(outStride) * y;
        if (target == kGrey) {
            for (int x = 0; x < width_; ++x, in += bpp)
                out[x] = in[0];
        } else if (target == kGreyAlpha) {
            for (int x = 0; x < width_; ++x, in += bpp, out += 2) {
                out[0] = in[0];
                out[1] = in[3];
            }
        } else {
            for (int x = 0; x < width_; ++x, in += bpp, out += 3) {
                out[0] = in[0];
                out[1] = in[1];
                out[2] = in[2];
            }
        }
    }
    kind_ = target;
    stride_ = outStride;
}

PVImage* PVImage::ExpandPalette()
{
    if (kind_ != kPalette)
        return this;
    if (paletteKind_ < kRGB || paletteKind_ > kGreyAlpha)
        return nullptr;
    PVImage* out = Create(paletteKind_, width_, height_);
    if (!out)
        return nullptr;
    const int bpp = BytesPerPixel(paletteKind_);
    for (int y = 0; y < height_; ++y) {
        const uint8_t* in = Row(y);
        uint8_t* o = out->Row(y);
        for (int x = 0; x < width_; ++x, o += bpp) {
            // Every index is below the 256 allocated entries.
            const uint8_t* entry = palette_ + 4 * in[x];
            switch (paletteKind_) {
            case kRGB:
                o[0] = entry[0];
                o[1] = entry[1];
                o[2] = entry[2];
                break;
            case kRGBA:
                std::memcpy(o, entry, 4);
                break;
            case kGreyAlpha:
                o[0] = entry[0];
                o[1] = entry[3];
                break;
            default:
                o[0] = entry[0];
                break;
            }
        }
    }
    return out;
}

PVImage* PVImage::ResizeNearest(int width, int height) const
{
    if (width == width_ && height == height_)
        return Clone();
    PVImage* out = Create(kind_, width, height, paletteCount_);
    if (!out)
        return nullptr;
    if (palette_) {
        std::memcpy(out->palette_, palette_, static_cast<size_t>(paletteCapacity_) * 4);
        out->paletteKind_ = paletteKind_;
    }
    const int bpp = BytesPerPixel(kind_);
    int* columns = static_cast<int*>(std::malloc(sizeof(int) * static_cast<size_t>(width)));
    if (!columns) {
        delete out;
        return nullptr;
    }
    for (int j = 0; j < width; ++j)
        columns[j] = static_cast<int>(static_cast<int64_t>(j) * width_ / width);
    int previous = -1;
    for (int i = 0; i < height; ++i) {
        const int source = static_cast<int>(static_cast<int64_t>(i) * height_ / height);
        uint8_t* o = out->Row(i);
        if (source == previous) {
            std::memcpy(o, out->Row(i - 1), static_cast<size_t>(out->stride_));
            continue;
        }
        previous = source;
        const uint8_t* in = Row(source);
        for (int j = 0; j < width; ++j, o += bpp)
            std::memcpy(o, in + columns[j] * bpp, bpp);
    }
    std::free(columns);
    return out;
}

PVImage* PVImage::ResizeArea(int width, int height) const
{
    if (kind_ == kPalette)
        return nullptr;
    if (width == width_ && height == height_)
        return Clone();
    PVImage* out = Create(kind_, width, height);
    if (!out)
        return nullptr;
    if (!ScaleImage(width_, height_, BytesPerPixel(kind_), stride_, pixels_, width, height, out->stride_,
                    out->pixels_)) {
        delete out;
        return nullptr;
    }
    return out;
}
