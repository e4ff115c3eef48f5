#include "addin/imaging/drawing/GfxObjects.h"

// The paint table's slots. Values out of their enumeration's range are
// ignored (the paint keeps what it had).

namespace GfxPaintSlots {

void Release(GfxPaint* paint)
{
    if (!GfxCheck(paint))
        return;
    GfxReleaseLock lock;
    delete paint;
}

int32_t GetStyle(GfxPaint* paint) { return GfxCheck(paint) ? paint->paint.GetStyle() : 0; }

void SetStyle(GfxPaint* paint, int32_t style)
{
    if (GfxCheck(paint))
        paint->paint.SetStyle(DrawPaint::Style(style));
}

uint32_t GetFlags(GfxPaint* paint) { return GfxCheck(paint) ? paint->paint.GetFlags() : 0; }

void SetFlags(GfxPaint* paint, uint32_t flags)
{
    if (GfxCheck(paint))
        paint->paint.SetFlags(flags);
}

uint32_t GetColor(GfxPaint* paint) { return GfxCheck(paint) ? paint->paint.GetColor() : 0; }

void SetColor(GfxPaint* paint, uint32_t color)
{
    if (GfxCheck(paint))
        paint->paint.SetColor(color);
}

float GetStrokeWidth(GfxPaint* paint) { return GfxCheck(paint) ? paint->paint.GetStrokeWidth() : 0; }

void SetStrokeWidth(GfxPaint* paint, float width)
{
    if (GfxCheck(paint))
        paint->paint.SetStrokeWidth(width);
}

float GetStrokeMiter(GfxPaint* paint) { return GfxCheck(paint) ? paint->paint.GetStrokeMiter() : 0; }

void SetStrokeMiter(GfxPaint* paint, float miter)
{
    if (GfxCheck(paint))
        paint->paint.SetStrokeMiter(miter);
}

int32_t GetStrokeCap(GfxPaint* paint) { return GfxCheck(paint) ? paint->paint.GetStrokeCap() : 0; }

void SetStrokeCap(GfxPaint* paint, int32_t cap)
{
    if (GfxCheck(paint))
        paint->paint.SetStrokeCap(DrawPaint::Cap(cap));
}

int32_t GetStrokeJoin(GfxPaint* paint) { return GfxCheck(paint) ? paint->paint.GetStrokeJoin() : 0; }

void SetStrokeJoin(GfxPaint* paint, int32_t join)
{
    if (GfxCheck(paint))
        paint->paint.SetStrokeJoin(DrawPaint::Join(join));
}

// Null removes; a handle of another kind is refused.
void SetShader(GfxPaint* paint, GfxShader* shader)
{
    if (GfxCheck(paint) && (!shader || GfxCheck(shader)))
        paint->paint.SetShader(shader ? shader->shader : nullptr);
}

void SetMaskFilter(GfxPaint* paint, GfxHandle* handle)
{
    if (!GfxCheck(paint) || (handle && (!GfxCheck(handle) || !handle->filter)))
        return;
    paint->paint.SetMaskFilter(handle ? handle->filter : nullptr);
}

void SetLooper(GfxPaint* paint, GfxHandle* handle)
{
    if (!GfxCheck(paint) || (handle && (!GfxCheck(handle) || !handle->looper)))
        return;
    paint->paint.SetLooper(handle ? handle->looper : nullptr);
}

void SetTransferMode(GfxPaint* paint, int32_t mode)
{
    if (GfxCheck(paint))
        paint->paint.SetTransferMode(mode);
}

}  // namespace GfxPaintSlots

extern const GfxSlot kGfxPaintTable[kGfxPaintSlots] = {
    GFX_SLOT(GfxPaintSlots::Release),        GFX_SLOT(GfxPaintSlots::GetStyle),
    GFX_SLOT(GfxPaintSlots::SetStyle),       GFX_SLOT(GfxPaintSlots::GetFlags),
    GFX_SLOT(GfxPaintSlots::SetFlags),       GFX_SLOT(GfxPaintSlots::GetColor),
    GFX_SLOT(GfxPaintSlots::SetColor),       GFX_SLOT(GfxPaintSlots::GetStrokeWidth),
    GFX_SLOT(GfxPaintSlots::SetStrokeWidth), GFX_SLOT(GfxPaintSlots::GetStrokeMiter),
    GFX_SLOT(GfxPaintSlots::SetStrokeMiter), GFX_SLOT(GfxPaintSlots::GetStrokeCap),
    GFX_SLOT(GfxPaintSlots::SetStrokeCap),   GFX_SLOT(GfxPaintSlots::GetStrokeJoin),
    GFX_SLOT(GfxPaintSlots::SetStrokeJoin),  GFX_SLOT(GfxPaintSlots::SetShader),
    GFX_SLOT(GfxPaintSlots::SetMaskFilter),  GFX_SLOT(GfxPaintSlots::SetLooper),
    GFX_SLOT(GfxPaintSlots::SetTransferMode),
};
