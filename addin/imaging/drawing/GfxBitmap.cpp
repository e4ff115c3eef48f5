#include "addin/imaging/RasterImage.h"
#include "addin/imaging/ImageFiles.h"
#include "addin/imaging/drawing/BitmapEffects.h"
#include "addin/imaging/drawing/BitmapText.h"
#include "addin/imaging/drawing/ConvolutionResizer.h"
#include "addin/imaging/drawing/GfxObjects.h"
#include "addin/imaging/drawing/PremulColor.h"
#include "base/MKString.h"

#include <objbase.h>
#include <string.h>

// The bitmap table's slots. Rectangles arrive as x, y, width, height.

namespace GfxBitmapSlots {

RECT RectOf(int32_t x, int32_t y, int32_t width, int32_t height)
{
    auto end = [](int32_t start, int32_t size) {
        int64_t e = int64_t(start) + size;
        return int32_t(e > INT32_MAX ? INT32_MAX : e < INT32_MIN ? INT32_MIN : e);
    };
    return {x, y, end(x, width), end(y, height)};
}

// The rectangle lies wholly inside the bitmap and is not empty.
bool InsideBitmap(const DrawBitmap& bitmap, int32_t x, int32_t y, int32_t width, int32_t height)
{
    return width > 0 && height > 0 && x >= 0 && x < bitmap.GetWidth() && y >= 0 && y < bitmap.GetHeight() &&
           int64_t(x) + width <= bitmap.GetWidth() && int64_t(y) + height <= bitmap.GetHeight();
}

void Release(GfxBitmap* bitmap)
{
    if (!GfxCheck(bitmap))
        return;
    GfxReleaseLock lock;
    if (bitmap->device)
        bitmap->device->Release();
    delete bitmap;
}

void EraseColor(GfxBitmap* bitmap, uint32_t color)
{
    if (GfxCheck(bitmap))
        bitmap->Bitmap().EraseColor(color);
}

void FillRect(GfxBitmap* bitmap, uint32_t color, int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (GfxCheck(bitmap) && InsideBitmap(bitmap->Bitmap(), x, y, width, height))
        FillRectColor(bitmap->Bitmap(), RectOf(x, y, width, height), color);
}

int32_t ScrollRect(GfxBitmap* bitmap, int32_t x, int32_t y, int32_t width, int32_t height, int32_t dx,
                   int32_t dy)
{
    if (!GfxCheck(bitmap))
        return 0;
    DrawBitmap& pixels = bitmap->Bitmap();
    bool whole = x <= 0 && y <= 0 && int64_t(x) + width >= pixels.GetWidth() &&
                 int64_t(y) + height >= pixels.GetHeight();
    RECT subset = RectOf(x, y, width, height);
    return pixels.ScrollRect(whole ? nullptr : &subset, dx, dy);
}

// A new device of the rectangle's size with a copy of its pixels; the
// rectangle is cut to the bitmap and its size written back.
GfxBitmap* Extract(GfxBitmap* bitmap, int32_t x, int32_t y, int32_t* width, int32_t* height)
{
    if (!GfxCheck(bitmap) || !width || !height)
        return nullptr;
    const DrawBitmap& source = bitmap->Bitmap();
    x = x < 0 ? 0 : x;
    y = y < 0 ? 0 : y;
    int32_t w = int32_t(int64_t(*width) < int64_t(source.GetWidth()) - x ? *width : int64_t(source.GetWidth()) - x);
    int32_t h =
        int32_t(int64_t(*height) < int64_t(source.GetHeight()) - y ? *height : int64_t(source.GetHeight()) - y);
    if (w <= 0 || h <= 0 || source.IsEmpty()) {
        *width = *height = 0;
        DrawBitmap empty;
        empty.Allocate(source.GetConfig() == BitmapConfig::A8 ? BitmapConfig::A8 : BitmapConfig::Argb8888, 0, 0);
        empty.SetOpaque(source.IsOpaque());
        return GfxWrapBitmap(std::move(empty));
    }
    int bpp = source.GetBytesPerPixel();
    GfxBitmap* copy;
    if (source.GetConfig() == BitmapConfig::A8) {
        // Alpha-only pixels stay one byte a pixel: no device holds them.
        DrawBitmap alpha;
        if (!alpha.Allocate(BitmapConfig::A8, w, h))
            return nullptr;
        copy = GfxWrapBitmap(std::move(alpha));
    } else {
        copy = GfxWrapDevice(BitmapPlatformDevice::MakeForScreen(w, h, source.IsOpaque(), nullptr));
    }
    if (!copy)
        return nullptr;
    DrawBitmap& target = copy->Bitmap();
    for (int32_t row = 0; row < h; ++row)
        memcpy(target.Row(row), source.Row(y + row) + ptrdiff_t(x) * bpp, size_t(w) * size_t(bpp));
    *width = w;
    *height = h;
    return copy;
}

// A size of 0 or less, or an empty source, answers an empty bitmap.
GfxBitmap* Resize(GfxBitmap* bitmap, int32_t width, int32_t height)
{
    if (!GfxCheck(bitmap))
        return nullptr;
    const DrawBitmap& source = bitmap->Bitmap();
    if (width > 0 && height > 0 && width == source.GetWidth() && height == source.GetHeight())
        return Extract(bitmap, 0, 0, &width, &height);
    DrawBitmap resized = ConvolutionResize(source, ConvolutionMethod::Lanczos3, width, height);
    bool wanted = width > 0 && height > 0 && !source.IsEmpty();
    if (resized.IsEmpty()) {
        if (wanted)
            return nullptr;  // out of memory
        if (!resized.Allocate(source.GetConfig() == BitmapConfig::A8 ? BitmapConfig::A8 : BitmapConfig::Argb8888,
                              0, 0))
            return nullptr;
        resized.SetOpaque(source.IsOpaque());
    }
    return GfxWrapBitmap(std::move(resized));
}

void Blur(GfxBitmap* bitmap, int32_t radiusX, int32_t radiusY)
{
    if (GfxCheck(bitmap))
        StackBlur(bitmap->Bitmap(), radiusX, radiusY);
}

void Shadow(GfxBitmap* bitmap, int32_t radiusX, int32_t radiusY, uint32_t color)
{
    if (GfxCheck(bitmap))
        MaskShadow(bitmap->Bitmap(), radiusX, radiusY, color);
}

void InnerShadow(GfxBitmap* bitmap, int32_t radiusX, int32_t radiusY, uint32_t color, double gamma,
                 int32_t inside)
{
    if (GfxCheck(bitmap))
        AlphaShadow(bitmap->Bitmap(), radiusX, radiusY, color, gamma, GfxFlag(inside));
}

void SetAlpha(GfxBitmap* bitmap, int32_t x, int32_t y, int32_t width, int32_t height, int32_t alpha)
{
    if (GfxCheck(bitmap) && width > 0 && height > 0)
        SetRectAlpha(bitmap->Bitmap(), RectOf(x, y, width, height), uint8_t(alpha));
}

void ApplyMask(GfxBitmap* bitmap, GfxBitmap* other, int32_t sourceX, int32_t sourceY, int32_t x, int32_t y,
               int32_t width, int32_t height, int32_t curve)
{
    if (GfxCheck(bitmap) && GfxCheck(other) && width > 0 && height > 0)
        MaskFromChannel(bitmap->Bitmap(), other->Bitmap(), sourceX, sourceY, RectOf(x, y, width, height),
                        GfxFlag(curve));
}

void LuminanceToAlphaSlot(GfxBitmap* bitmap)
{
    if (GfxCheck(bitmap))
        LuminanceToAlpha(bitmap->Bitmap());
}

// Written as PNG: straight RGBA, RGB when opaque, gray for alpha-only pixels.
int32_t SaveAsFile(GfxBitmap* bitmap, const wchar_t* path)
{
    if (!GfxCheck(bitmap) || !path || !*path)
        return 0;
    const DrawBitmap& pixels = bitmap->Bitmap();
    if (pixels.IsEmpty())
        return 0;
    bool alphaOnly = pixels.GetConfig() == BitmapConfig::A8;
    PixelType type = alphaOnly ? PixelType::Alpha : pixels.IsOpaque() ? PixelType::Rgb : PixelType::Rgba;
    RasterImage* image = CreateRasterImage(type, pixels.GetWidth(), pixels.GetHeight());
    if (!image)
        return 0;
    for (int y = 0; y < pixels.GetHeight(); ++y) {
        uint8_t* out = image->GetTopRow(y);
        for (int x = 0; x < pixels.GetWidth(); ++x) {
            uint32_t c = pixels.GetColor(x, y);
            if (alphaOnly) {
                *out++ = uint8_t(ColorAlpha(c));
                continue;
            }
            *out++ = uint8_t(ColorRed(c));
            *out++ = uint8_t(ColorGreen(c));
            *out++ = uint8_t(ColorBlue(c));
            if (type == PixelType::Rgba)
                *out++ = uint8_t(ColorAlpha(c));
        }
    }
    bool saved = SavePngFile(image, MKString(path), 9);
    image->Release();
    return saved;
}

uint32_t GetPixel(GfxBitmap* bitmap, int32_t x, int32_t y)
{
    return GfxCheck(bitmap) ? GetPixelColor(bitmap->Bitmap(), x, y) : 0;
}

void Tint(GfxBitmap* bitmap, uint32_t color, int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (GfxCheck(bitmap))
        TintRect(bitmap->Bitmap(), color, x, y, width, height);
}

void Gamma(GfxBitmap* bitmap, int32_t x, int32_t y, int32_t width, int32_t height, double gamma)
{
    if (GfxCheck(bitmap) && InsideBitmap(bitmap->Bitmap(), x, y, width, height))
        GammaRect(bitmap->Bitmap(), RectOf(x, y, width, height), gamma);
}

void MultiplyAlpha(GfxBitmap* bitmap, GfxBitmap* other, int32_t sourceX, int32_t sourceY, int32_t x, int32_t y,
                   int32_t width, int32_t height)
{
    if (GfxCheck(bitmap) && GfxCheck(other) && width > 0 && height > 0)
        MultiplyAlphaRect(bitmap->Bitmap(), other->Bitmap(), sourceX, sourceY, RectOf(x, y, width, height));
}

// The text form in a buffer the caller frees with CoTaskMemFree (no
// terminator); false, with null and 0, when there is nothing to give.
int32_t ToText(GfxBitmap* bitmap, wchar_t** text, int32_t* length)
{
    if (text)
        *text = nullptr;
    if (length)
        *length = 0;
    if (!GfxCheck(bitmap) || !text || !length)
        return 0;
    std::wstring form = BitmapToText(bitmap->Bitmap());
    if (form.empty() || form.size() > size_t(INT32_MAX) / sizeof(wchar_t))
        return 0;
    auto* buffer = static_cast<wchar_t*>(CoTaskMemAlloc(form.size() * sizeof(wchar_t)));
    if (!buffer)
        return 0;
    memcpy(buffer, form.data(), form.size() * sizeof(wchar_t));
    *text = buffer;
    *length = int32_t(form.size());
    return 1;
}

}  // namespace GfxBitmapSlots

extern const GfxSlot kGfxBitmapTable[kGfxBitmapSlots] = {
    GFX_SLOT(GfxBitmapSlots::Release),     GFX_SLOT(GfxBitmapSlots::EraseColor),
    GFX_SLOT(GfxBitmapSlots::FillRect),    GFX_SLOT(GfxBitmapSlots::ScrollRect),
    GFX_SLOT(GfxBitmapSlots::Resize),      GFX_SLOT(GfxBitmapSlots::Blur),
    GFX_SLOT(GfxBitmapSlots::Shadow),      GFX_SLOT(GfxBitmapSlots::InnerShadow),
    GFX_SLOT(GfxBitmapSlots::SetAlpha),    GFX_SLOT(GfxBitmapSlots::ApplyMask),
    GFX_SLOT(GfxBitmapSlots::LuminanceToAlphaSlot), GFX_SLOT(GfxBitmapSlots::SaveAsFile),
    GFX_SLOT(GfxBitmapSlots::GetPixel),    GFX_SLOT(GfxBitmapSlots::Tint),
    GFX_SLOT(GfxBitmapSlots::Gamma),       GFX_SLOT(GfxBitmapSlots::MultiplyAlpha),
    GFX_SLOT(GfxBitmapSlots::Extract),     GFX_SLOT(GfxBitmapSlots::ToText),
};
