#include "addin/imaging/drawing/BitmapEffects.h"
#include "addin/imaging/drawing/GfxObjects.h"

#include <math.h>

// The canvas table's slots.

namespace GfxCanvasSlots {

bool ValidRegionOp(int32_t op) { return op >= DrawCanvas::kDifference && op <= DrawCanvas::kReplace; }

// The paint a draw slot was given, or null when it is not a paint.
const DrawPaint* PaintOf(GfxPaint* paint) { return GfxCheck(paint) ? &paint->paint : nullptr; }

void Release(GfxCanvas* canvas)
{
    if (!GfxCheck(canvas))
        return;
    GfxReleaseLock lock;
    canvas->dc = nullptr;
    delete canvas;
}

HDC BeginPlatformPaint(GfxCanvas* canvas)
{
    if (!GfxCheck(canvas) || canvas->dc || !canvas->canvas->GetDevice())
        return nullptr;
    canvas->dc = canvas->canvas->GetDeviceContext();
    return canvas->dc;
}

void EndPlatformPaint(GfxCanvas* canvas)
{
    if (!GfxCheck(canvas) || !canvas->dc)
        return;
    canvas->dc = nullptr;
    // What GDI drew is in the pixels before the canvas draws again.
    canvas->canvas->GetDevice()->FlushGdi();
}

void DrawColor(GfxCanvas* canvas, uint32_t color)
{
    if (GfxCheck(canvas))
        canvas->canvas->DrawColor(color);
}

int32_t Save(GfxCanvas* canvas, uint32_t flags)
{
    return GfxCheck(canvas) ? canvas->canvas->Save(flags) : 0;
}

void Restore(GfxCanvas* canvas)
{
    if (GfxCheck(canvas))
        canvas->canvas->Restore();
}

int32_t GetSaveCount(GfxCanvas* canvas) { return GfxCheck(canvas) ? canvas->canvas->GetSaveCount() : 0; }

void RestoreToCount(GfxCanvas* canvas, int32_t count)
{
    if (GfxCheck(canvas))
        canvas->canvas->RestoreToCount(count);
}

int32_t Translate(GfxCanvas* canvas, float dx, float dy)
{
    return GfxCheck(canvas) && canvas->canvas->Translate(dx, dy);
}

int32_t Scale(GfxCanvas* canvas, float sx, float sy) { return GfxCheck(canvas) && canvas->canvas->Scale(sx, sy); }

int32_t Rotate(GfxCanvas* canvas, float degrees) { return GfxCheck(canvas) && canvas->canvas->Rotate(degrees); }

int32_t Skew(GfxCanvas* canvas, float sx, float sy) { return GfxCheck(canvas) && canvas->canvas->Skew(sx, sy); }

int32_t Concat(GfxCanvas* canvas, const void* matrix)
{
    return GfxCheck(canvas) && matrix && canvas->canvas->Concat(GfxReadMatrix(matrix));
}

void SetMatrix(GfxCanvas* canvas, const void* matrix)
{
    if (GfxCheck(canvas) && matrix)
        canvas->canvas->SetMatrix(GfxReadMatrix(matrix));
}

void ResetMatrix(GfxCanvas* canvas)
{
    if (GfxCheck(canvas))
        canvas->canvas->ResetMatrix();
}

void GetTotalMatrix(GfxCanvas* canvas, void* matrix)
{
    if (GfxCheck(canvas))
        GfxWriteMatrix(canvas->canvas->GetTotalMatrix(), matrix);
}

int32_t ClipRect(GfxCanvas* canvas, float x, float y, float width, float height, int32_t op)
{
    if (!GfxCheck(canvas) || !ValidRegionOp(op))
        return 0;
    return canvas->canvas->ClipRect(GfxRect(x, y, width, height), DrawCanvas::RegionOp(op));
}

int32_t ClipPath(GfxCanvas* canvas, GfxPath* path, int32_t op)
{
    if (!GfxCheck(canvas) || !GfxCheck(path) || !ValidRegionOp(op))
        return 0;
    return canvas->canvas->ClipPath(path->path, DrawCanvas::RegionOp(op));
}

int32_t GetClipBounds(GfxCanvas* canvas, float* x, float* y, float* width, float* height, int32_t edges)
{
    DrawRect bounds = {0, 0, 0, 0};
    bool any = GfxCheck(canvas) && canvas->canvas->GetClipBounds(
                                       &bounds, edges == DrawCanvas::kSoftEdges ? DrawCanvas::kSoftEdges
                                                                                : DrawCanvas::kHardEdges);
    if (!any)
        bounds = {0, 0, 0, 0};
    if (x)
        *x = bounds.left;
    if (y)
        *y = bounds.top;
    if (width)
        *width = bounds.right - bounds.left;
    if (height)
        *height = bounds.bottom - bounds.top;
    return any;
}

void DrawPoint(GfxCanvas* canvas, float x, float y, GfxPaint* paint)
{
    if (GfxCheck(canvas) && PaintOf(paint))
        canvas->canvas->DrawSinglePoint(x, y, paint->paint);
}

void DrawLine(GfxCanvas* canvas, float x0, float y0, float x1, float y1, GfxPaint* paint)
{
    if (GfxCheck(canvas) && PaintOf(paint))
        canvas->canvas->DrawLine(x0, y0, x1, y1, paint->paint);
}

void DrawRect(GfxCanvas* canvas, float x, float y, float width, float height, GfxPaint* paint)
{
    if (GfxCheck(canvas) && PaintOf(paint))
        canvas->canvas->DrawRectangle(GfxRect(x, y, width, height), paint->paint);
}

void DrawOval(GfxCanvas* canvas, float x, float y, float width, float height, GfxPaint* paint)
{
    if (GfxCheck(canvas) && PaintOf(paint))
        canvas->canvas->DrawOval(GfxRect(x, y, width, height), paint->paint);
}

void DrawCircle(GfxCanvas* canvas, float cx, float cy, float radius, GfxPaint* paint)
{
    if (GfxCheck(canvas) && PaintOf(paint))
        canvas->canvas->DrawCircle(cx, cy, radius, paint->paint);
}

void DrawArc(GfxCanvas* canvas, float x, float y, float width, float height, float start, float sweep,
             int32_t useCentre, GfxPaint* paint)
{
    if (GfxCheck(canvas) && PaintOf(paint))
        canvas->canvas->DrawArc(GfxRect(x, y, width, height), start, sweep, GfxFlag(useCentre), paint->paint);
}

void DrawRoundRect(GfxCanvas* canvas, float x, float y, float width, float height, float rx, float ry,
                   GfxPaint* paint)
{
    if (GfxCheck(canvas) && PaintOf(paint))
        canvas->canvas->DrawRoundRect(GfxRect(x, y, width, height), rx, ry, paint->paint);
}

void DrawPoints(GfxCanvas* canvas, int32_t mode, int32_t count, const float* points, GfxPaint* paint)
{
    if (!GfxCheck(canvas) || !PaintOf(paint) || mode < DrawCanvas::kPoints || mode > DrawCanvas::kPolygon ||
        count <= 0 || !points)
        return;
    // Pairs of floats are the layout of DrawPoint.
    static_assert(sizeof(::DrawPoint) == 2 * sizeof(float), "points cross as float pairs");
    canvas->canvas->DrawPoints(DrawCanvas::PointMode(mode), count, reinterpret_cast<const ::DrawPoint*>(points),
                               paint->paint);
}

void DrawPath(GfxCanvas* canvas, GfxPath* path, GfxPaint* paint)
{
    if (GfxCheck(canvas) && GfxCheck(path) && PaintOf(paint))
        canvas->canvas->DrawShape(path->path, paint->paint);
}

// A null paint draws with the default paint; a paint of another kind is refused.
bool OptionalPaint(GfxPaint* paint) { return !paint || GfxCheck(paint); }

void DrawBitmap(GfxCanvas* canvas, GfxBitmap* bitmap, float left, float top, GfxPaint* paint)
{
    if (GfxCheck(canvas) && GfxCheck(bitmap) && OptionalPaint(paint))
        canvas->canvas->DrawImage(bitmap->Bitmap(), left, top, PaintOf(paint));
}

void DrawBitmapMatrix(GfxCanvas* canvas, GfxBitmap* bitmap, const void* matrix, GfxPaint* paint)
{
    if (GfxCheck(canvas) && GfxCheck(bitmap) && matrix && OptionalPaint(paint))
        canvas->canvas->DrawImageMatrix(bitmap->Bitmap(), GfxReadMatrix(matrix), PaintOf(paint));
}

void DrawBitmapRect(GfxCanvas* canvas, GfxBitmap* bitmap, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                    float dx, float dy, float dw, float dh, GfxPaint* paint)
{
    if (!GfxCheck(canvas) || !GfxCheck(bitmap) || !OptionalPaint(paint))
        return;
    const ::DrawBitmap& pixels = bitmap->Bitmap();
    RECT source = {sx, sy, sx + sw, sy + sh};
    bool whole = sx == 0 && sy == 0 && sw == pixels.GetWidth() && sh == pixels.GetHeight();
    canvas->canvas->DrawImageRect(pixels, whole ? nullptr : &source, GfxRect(dx, dy, dw, dh), PaintOf(paint));
}

void SetDeviceAlpha(GfxCanvas* canvas, int32_t x, int32_t y, int32_t width, int32_t height, int32_t alpha)
{
    if (!GfxCheck(canvas) || width <= 0 || height <= 0)
        return;
    BitmapPlatformDevice* device = canvas->canvas->GetDevice();
    if (!device || device->GetBitmap().IsOpaque())
        return;
    float px, py;
    canvas->canvas->GetTotalMatrix().MapPoint(float(x), float(y), &px, &py);
    if (!(fabsf(px) < 2e9f && fabsf(py) < 2e9f))
        return;
    int left = int(px), top = int(py);
    RECT rect = {left, top, int(int64_t(left) + width > INT32_MAX ? INT32_MAX : left + width),
                 int(int64_t(top) + height > INT32_MAX ? INT32_MAX : top + height)};
    SetRectAlpha(device->GetBitmap(), rect, uint8_t(alpha));
}

}  // namespace GfxCanvasSlots

extern const GfxSlot kGfxCanvasTable[kGfxCanvasSlots] = {
    GFX_SLOT(GfxCanvasSlots::Release),
    GFX_SLOT(GfxCanvasSlots::BeginPlatformPaint),
    GFX_SLOT(GfxCanvasSlots::EndPlatformPaint),
    GFX_SLOT(GfxCanvasSlots::DrawColor),
    GFX_SLOT(GfxCanvasSlots::Save),
    GFX_SLOT(GfxCanvasSlots::Restore),
    GFX_SLOT(GfxCanvasSlots::GetSaveCount),
    GFX_SLOT(GfxCanvasSlots::RestoreToCount),
    GFX_SLOT(GfxCanvasSlots::Translate),
    GFX_SLOT(GfxCanvasSlots::Scale),
    GFX_SLOT(GfxCanvasSlots::Rotate),
    GFX_SLOT(GfxCanvasSlots::Skew),
    GFX_SLOT(GfxCanvasSlots::Concat),
    GFX_SLOT(GfxCanvasSlots::SetMatrix),
    GFX_SLOT(GfxCanvasSlots::ResetMatrix),
    GFX_SLOT(GfxCanvasSlots::GetTotalMatrix),
    GFX_SLOT(GfxCanvasSlots::ClipRect),
    GFX_SLOT(GfxCanvasSlots::ClipPath),
    GFX_SLOT(GfxCanvasSlots::GetClipBounds),
    GFX_SLOT(GfxCanvasSlots::DrawPoint),
    GFX_SLOT(GfxCanvasSlots::DrawPoint),
    GFX_SLOT(GfxCanvasSlots::DrawLine),
    GFX_SLOT(GfxCanvasSlots::DrawLine),
    GFX_SLOT(GfxCanvasSlots::DrawRect),
    GFX_SLOT(GfxCanvasSlots::DrawRect),
    GFX_SLOT(GfxCanvasSlots::DrawOval),
    GFX_SLOT(GfxCanvasSlots::DrawOval),
    GFX_SLOT(GfxCanvasSlots::DrawCircle),
    GFX_SLOT(GfxCanvasSlots::DrawCircle),
    GFX_SLOT(GfxCanvasSlots::DrawArc),
    GFX_SLOT(GfxCanvasSlots::DrawArc),
    GFX_SLOT(GfxCanvasSlots::DrawRoundRect),
    GFX_SLOT(GfxCanvasSlots::DrawRoundRect),
    GFX_SLOT(GfxCanvasSlots::DrawPoints),
    GFX_SLOT(GfxCanvasSlots::DrawPath),
    GFX_SLOT(GfxCanvasSlots::DrawBitmap),
    GFX_SLOT(GfxCanvasSlots::DrawBitmapMatrix),
    GFX_SLOT(GfxCanvasSlots::DrawBitmapRect),
    GFX_SLOT(GfxCanvasSlots::SetDeviceAlpha),
};
