#include "addin/imaging/ImageLimits.h"
#include "addin/imaging/drawing/BitmapText.h"
#include "addin/imaging/drawing/BlurMaskFilter.h"
#include "addin/imaging/drawing/DrawImageDecoder.h"
#include "addin/imaging/drawing/EmbossMaskFilter.h"
#include "addin/imaging/drawing/GfxObjects.h"
#include "addin/imaging/drawing/SkBlurDrawLooper.h"

#include <math.h>
#include <new>

// The factory's slots: every object a plug-in holds is made here.

namespace GfxFactorySlots {

bool ValidTileMode(int32_t mode) { return mode >= 0 && mode <= 2; }

GfxShader* WrapShader(DrawShader* shader)
{
    if (!shader)
        return nullptr;
    auto* wrapper = new (std::nothrow) GfxShader();
    if (wrapper)
        wrapper->shader = shader;
    else
        shader->Release();
    return wrapper;
}

GfxHandle* WrapHandle(DrawMaskFilter* filter, DrawLooper* looper)
{
    if (!filter && !looper)
        return nullptr;
    auto* wrapper = new (std::nothrow) GfxHandle();
    if (wrapper) {
        wrapper->filter = filter;
        wrapper->looper = looper;
    } else if (filter) {
        filter->Release();
    } else {
        looper->Release();
    }
    return wrapper;
}

// Loaders answer the bitmap's size and opaque flag, or 0, 0 and opaque.
GfxBitmap* AnswerLoaded(bool decoded, DrawBitmap& bitmap, int32_t* width, int32_t* height, int32_t* opaque)
{
    GfxBitmap* wrapper = decoded ? GfxWrapBitmap(std::move(bitmap)) : nullptr;
    if (width)
        *width = wrapper ? wrapper->Bitmap().GetWidth() : 0;
    if (height)
        *height = wrapper ? wrapper->Bitmap().GetHeight() : 0;
    if (opaque)
        *opaque = wrapper ? wrapper->Bitmap().IsOpaque() : 1;
    return wrapper;
}

int32_t Requested(const int32_t* size) { return size ? *size : 0; }

void Release(GfxFactory* factory)
{
    if (GfxCheck(factory))
        delete factory;
}

// Ends a paint canvas: when the last holder lets go, the pixels go to the DC,
// in its coordinates (the canvas was moved by -x, -y for that). A canvas that
// never reached the caller copies nothing: an opaque device's pixels start
// undefined.
struct PaintCanvasEnd {
    HDC dc;
    int32_t x, y, width, height;
    bool armed = false;
    void operator()(DrawCanvas* c) const
    {
        if (armed && width > 0 && height > 0) {
            c->RestoreToCount(1);
            c->GetDevice()->CopyToDC(dc, x, y, nullptr);
        }
        delete c;
    }
};

GfxCanvas* CreatePaintCanvas(GfxFactory* factory, HDC dc, int32_t opaque, int32_t x, int32_t y, int32_t width,
                             int32_t height)
{
    if (!GfxCheck(factory) || width < 0 || height < 0 || !ImageSizeAllowed(width ? width : 1, height ? height : 1))
        return nullptr;
    BitmapPlatformDevice* device = BitmapPlatformDevice::MakeForScreen(width, height, GfxFlag(opaque), nullptr);
    if (!device)
        return nullptr;
    std::shared_ptr<DrawCanvas> canvas;
    try {
        canvas.reset(new DrawCanvas(device->GetBitmap(), device), PaintCanvasEnd{dc, x, y, width, height});
    } catch (const std::bad_alloc&) {
    }
    device->Release();
    if (!canvas)
        return nullptr;
    canvas->Translate(float(-x), float(-y));
    PaintCanvasEnd* end = std::get_deleter<PaintCanvasEnd>(canvas);
    GfxCanvas* wrapper = GfxWrapCanvas(canvas);
    // Only a canvas the caller received, and so drew on, is copied out.
    if (wrapper && end)
        end->armed = true;
    return wrapper;
}

GfxCanvas* CreateCanvas(GfxFactory* factory, GfxBitmap* bitmap)
{
    if (!GfxCheck(factory) || !GfxCheck(bitmap))
        return nullptr;
    std::shared_ptr<DrawCanvas> canvas;
    if (bitmap->device) {
        canvas = std::make_shared<DrawCanvas>(bitmap->device->GetBitmap(), bitmap->device);
    } else {
        // The canvas keeps the pixels alive after the bitmap's release.
        std::shared_ptr<DrawBitmap> pixels = bitmap->owned;
        canvas.reset(new DrawCanvas(*pixels), [pixels](DrawCanvas* c) { delete c; });
    }
    return GfxWrapCanvas(std::move(canvas));
}

GfxPaint* CreatePaint(GfxFactory* factory, GfxPaint* other, uint32_t flags, int32_t style)
{
    if (!GfxCheck(factory) || (other && !GfxCheck(other)))
        return nullptr;
    auto* paint = new (std::nothrow) GfxPaint();
    if (!paint)
        return nullptr;
    if (other)
        paint->paint = other->paint;
    paint->paint.SetFlags(flags);
    paint->paint.SetStyle(DrawPaint::Style(style));
    return paint;
}

GfxPath* CreatePath(GfxFactory* factory, GfxPath* other)
{
    if (!GfxCheck(factory) || (other && !GfxCheck(other)))
        return nullptr;
    auto* path = new (std::nothrow) GfxPath();
    if (path && other)
        path->path = other->path;
    return path;
}

GfxShader* CreateBitmapShader(GfxFactory* factory, GfxBitmap* bitmap, int32_t tileX, int32_t tileY)
{
    if (!GfxCheck(factory) || !GfxCheck(bitmap) || !ValidTileMode(tileX) || !ValidTileMode(tileY))
        return nullptr;
    return WrapShader(DrawShader::Bitmap(bitmap->Bitmap(), TileMode(tileX), TileMode(tileY)));
}

GfxShader* CreateLinearGradient(GfxFactory* factory, const float* p0, const float* p1, const uint32_t* colors,
                                const float* positions, int32_t count, int32_t tile)
{
    if (!GfxCheck(factory) || !p0 || !p1 || !ValidTileMode(tile))
        return nullptr;
    return WrapShader(DrawShader::Linear({p0[0], p0[1]}, {p1[0], p1[1]}, colors, positions, count, TileMode(tile)));
}

GfxShader* CreateRadialGradient(GfxFactory* factory, const float* centre, float radius, const uint32_t* colors,
                                const float* positions, int32_t count, int32_t tile)
{
    if (!GfxCheck(factory) || !centre || !ValidTileMode(tile))
        return nullptr;
    return WrapShader(
        DrawShader::Radial({centre[0], centre[1]}, radius, colors, positions, count, TileMode(tile)));
}

GfxShader* CreateTwoPointRadialGradient(GfxFactory* factory, const float* start, float startRadius,
                                        const float* end, float endRadius, const uint32_t* colors,
                                        const float* positions, int32_t count, int32_t tile)
{
    if (!GfxCheck(factory) || !start || !end || !ValidTileMode(tile))
        return nullptr;
    return WrapShader(DrawShader::TwoPointRadial({start[0], start[1]}, startRadius, {end[0], end[1]}, endRadius,
                                                 colors, positions, count, TileMode(tile)));
}

GfxShader* CreateSweepGradient(GfxFactory* factory, const float* centre, const uint32_t* colors,
                               const float* positions, int32_t count)
{
    if (!GfxCheck(factory) || !centre)
        return nullptr;
    return WrapShader(DrawShader::Sweep({centre[0], centre[1]}, colors, positions, count));
}

GfxBitmap* CreateBitmap(GfxFactory* factory, int32_t width, int32_t height, int32_t opaque, int32_t alphaOnly)
{
    if (!GfxCheck(factory) || width < 0 || height < 0 || !ImageSizeAllowed(width ? width : 1, height ? height : 1))
        return nullptr;
    if (GfxFlag(alphaOnly)) {
        DrawBitmap bitmap;
        if (!bitmap.Allocate(BitmapConfig::A8, width, height))
            return nullptr;
        return GfxWrapBitmap(std::move(bitmap));
    }
    return GfxWrapDevice(BitmapPlatformDevice::MakeForScreen(width, height, GfxFlag(opaque), nullptr));
}

GfxBitmap* LoadBitmapFile(GfxFactory* factory, const wchar_t* path, int32_t* width, int32_t* height,
                          int32_t* opaque)
{
    DrawBitmap bitmap;
    bool decoded = GfxCheck(factory) && DecodeImageFile(path, bitmap);
    return AnswerLoaded(decoded, bitmap, width, height, opaque);
}

GfxBitmap* DecodeBitmap(GfxFactory* factory, const uint8_t* data, int32_t size, int32_t* width, int32_t* height,
                        int32_t* opaque)
{
    DrawBitmap bitmap;
    bool decoded = GfxCheck(factory) && size > 0 && DecodeImageData(data, size_t(size), bitmap);
    return AnswerLoaded(decoded, bitmap, width, height, opaque);
}

GfxBitmap* LoadBitmapFileSized(GfxFactory* factory, const wchar_t* path, int32_t* width, int32_t* height,
                               int32_t* opaque)
{
    DrawBitmap bitmap;
    bool decoded = GfxCheck(factory) && DecodeFileSized(path, bitmap, BitmapConfig::Argb8888, Requested(width),
                                                        Requested(height), nullptr);
    return AnswerLoaded(decoded, bitmap, width, height, opaque);
}

GfxBitmap* DecodeBitmapSized(GfxFactory* factory, const uint8_t* data, int32_t size, int32_t* width,
                             int32_t* height, int32_t* opaque)
{
    DrawBitmap bitmap;
    bool decoded = GfxCheck(factory) && size > 0 &&
                   DecodeMemorySized(data, size_t(size), bitmap, BitmapConfig::Argb8888, Requested(width),
                                     Requested(height), nullptr);
    return AnswerLoaded(decoded, bitmap, width, height, opaque);
}

GfxBitmap* BitmapFromTextSlot(GfxFactory* factory, const wchar_t* text, int32_t* width, int32_t* height,
                              int32_t* opaque)
{
    DrawBitmap bitmap;
    bool decoded = GfxCheck(factory) && text && BitmapFromText(text, bitmap);
    return AnswerLoaded(decoded, bitmap, width, height, opaque);
}

GfxPicture* CreatePicture(GfxFactory* factory, GfxPicture* other)
{
    if (!GfxCheck(factory) || (other && !GfxCheck(other)))
        return nullptr;
    DrawPicture* picture = DrawPicture::Create(other ? other->picture : nullptr);
    if (!picture)
        return nullptr;
    auto* wrapper = new (std::nothrow) GfxPicture();
    if (wrapper)
        wrapper->picture = picture;
    else
        picture->Release();
    return wrapper;
}

GfxHandle* CreateBlurMaskFilter(GfxFactory* factory, float radius, int32_t style)
{
    if (!GfxCheck(factory))
        return nullptr;
    return WrapHandle(BlurMaskFilter::Create(radius, style), nullptr);
}

GfxHandle* CreateEmbossMaskFilter(GfxFactory* factory, float x, float y, float z, float ambient, float specular,
                                  float blurRadius)
{
    if (!GfxCheck(factory))
        return nullptr;
    const float direction[3] = {x, y, z};
    return WrapHandle(EmbossMaskFilter::Create(direction, ambient, specular, blurRadius), nullptr);
}

GfxHandle* CreateShadowLooper(GfxFactory* factory, float radius, float dx, float dy, uint32_t color)
{
    if (!GfxCheck(factory) || !isfinite(dx) || !isfinite(dy))
        return nullptr;
    return WrapHandle(nullptr, new (std::nothrow) vqz_skia::SkBlurDrawLooper(radius, dx, dy, color));
}

}  // namespace GfxFactorySlots

extern const GfxSlot kGfxFactoryTable[kGfxFactorySlots] = {
    GFX_SLOT(GfxFactorySlots::Release),
    GFX_SLOT(GfxFactorySlots::CreatePaintCanvas),
    GFX_SLOT(GfxFactorySlots::CreateCanvas),
    GFX_SLOT(GfxFactorySlots::CreatePaint),
    GFX_SLOT(GfxFactorySlots::CreatePath),
    GFX_SLOT(GfxFactorySlots::CreateBitmapShader),
    GFX_SLOT(GfxFactorySlots::CreateLinearGradient),
    GFX_SLOT(GfxFactorySlots::CreateRadialGradient),
    GFX_SLOT(GfxFactorySlots::CreateTwoPointRadialGradient),
    GFX_SLOT(GfxFactorySlots::CreateSweepGradient),
    GFX_SLOT(GfxFactorySlots::CreateBitmap),
    GFX_SLOT(GfxFactorySlots::LoadBitmapFile),
    GFX_SLOT(GfxFactorySlots::DecodeBitmap),
    GFX_SLOT(GfxFactorySlots::LoadBitmapFileSized),
    GFX_SLOT(GfxFactorySlots::DecodeBitmapSized),
    GFX_SLOT(GfxFactorySlots::BitmapFromTextSlot),
    GFX_SLOT(GfxFactorySlots::CreatePicture),
    GFX_SLOT(GfxFactorySlots::CreateBlurMaskFilter),
    GFX_SLOT(GfxFactorySlots::CreateEmbossMaskFilter),
    GFX_SLOT(GfxFactorySlots::CreateShadowLooper),
};
