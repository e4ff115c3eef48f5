#include "addin/imaging/drawing/GfxObjects.h"

// The path table's slots. Fill types and directions out of range are
// ignored.

namespace GfxPathSlots {

bool ValidDirection(int32_t direction)
{
    return direction == DrawPath::kClockwise || direction == DrawPath::kCounterClockwise;
}

void Release(GfxPath* path)
{
    if (!GfxCheck(path))
        return;
    GfxReleaseLock lock;
    delete path;
}

int32_t GetFillType(GfxPath* path) { return GfxCheck(path) ? path->path.GetFillType() : 0; }

void SetFillType(GfxPath* path, int32_t type)
{
    if (GfxCheck(path) && type >= DrawPath::kWinding && type <= DrawPath::kInverseEvenOdd)
        path->path.SetFillType(DrawPath::FillType(type));
}

int32_t IsConvex(GfxPath* path) { return GfxCheck(path) && path->path.IsConvex(); }

int32_t SetIsConvex(GfxPath* path, int32_t convex)
{
    if (!GfxCheck(path))
        return 0;
    path->path.SetIsConvex(GfxFlag(convex));
    return path->path.IsConvex();
}

void Reset(GfxPath* path)
{
    if (GfxCheck(path))
        path->path.Reset();
}

void Rewind(GfxPath* path)
{
    if (GfxCheck(path))
        path->path.Rewind();
}

int32_t IsEmpty(GfxPath* path) { return !GfxCheck(path) || path->path.IsEmpty(); }

void GetBounds(GfxPath* path, float* x, float* y, float* width, float* height)
{
    DrawRect bounds = GfxCheck(path) ? path->path.GetBounds() : DrawRect{0, 0, 0, 0};
    if (x)
        *x = bounds.left;
    if (y)
        *y = bounds.top;
    if (width)
        *width = bounds.right - bounds.left;
    if (height)
        *height = bounds.bottom - bounds.top;
}

void GetLastPoint(GfxPath* path, float* x, float* y)
{
    DrawPoint last = GfxCheck(path) ? path->path.GetLastPoint() : DrawPoint{0, 0};
    if (x)
        *x = last.x;
    if (y)
        *y = last.y;
}

void IncReserve(GfxPath* path, int32_t count)
{
    // A plug-in's hint, not a promise: an absurd count must not claim memory.
    if (GfxCheck(path) && count > 0 && count <= 1 << 20)
        path->path.IncReserve(count);
}

void MoveTo(GfxPath* path, float x, float y)
{
    if (GfxCheck(path))
        path->path.MoveTo(x, y);
}

void RMoveTo(GfxPath* path, float dx, float dy)
{
    if (GfxCheck(path))
        path->path.RMoveTo(dx, dy);
}

void LineTo(GfxPath* path, float x, float y)
{
    if (GfxCheck(path))
        path->path.LineTo(x, y);
}

void RLineTo(GfxPath* path, float dx, float dy)
{
    if (GfxCheck(path))
        path->path.RLineTo(dx, dy);
}

void QuadTo(GfxPath* path, float x1, float y1, float x2, float y2)
{
    if (GfxCheck(path))
        path->path.QuadTo(x1, y1, x2, y2);
}

void RQuadTo(GfxPath* path, float dx1, float dy1, float dx2, float dy2)
{
    if (GfxCheck(path))
        path->path.RQuadTo(dx1, dy1, dx2, dy2);
}

void CubicTo(GfxPath* path, float x1, float y1, float x2, float y2, float x3, float y3)
{
    if (GfxCheck(path))
        path->path.CubicTo(x1, y1, x2, y2, x3, y3);
}

void RCubicTo(GfxPath* path, float dx1, float dy1, float dx2, float dy2, float dx3, float dy3)
{
    if (GfxCheck(path))
        path->path.RCubicTo(dx1, dy1, dx2, dy2, dx3, dy3);
}

void ArcTo(GfxPath* path, float x, float y, float width, float height, float start, float sweep,
           int32_t forceMove)
{
    if (GfxCheck(path))
        path->path.ArcTo(GfxRect(x, y, width, height), start, sweep, GfxFlag(forceMove));
}

void ArcToTangent(GfxPath* path, float x1, float y1, float x2, float y2, float radius)
{
    if (GfxCheck(path))
        path->path.ArcToTangent(x1, y1, x2, y2, radius);
}

void Close(GfxPath* path)
{
    if (GfxCheck(path))
        path->path.Close();
}

void AddRect(GfxPath* path, float x, float y, float width, float height, int32_t direction)
{
    if (GfxCheck(path) && ValidDirection(direction))
        path->path.AddRect(GfxRect(x, y, width, height), DrawPath::Direction(direction));
}

void AddOval(GfxPath* path, float x, float y, float width, float height, int32_t direction)
{
    if (GfxCheck(path) && ValidDirection(direction))
        path->path.AddOval(GfxRect(x, y, width, height), DrawPath::Direction(direction));
}

void AddCircle(GfxPath* path, float cx, float cy, float radius, int32_t direction)
{
    if (GfxCheck(path) && ValidDirection(direction))
        path->path.AddCircle(cx, cy, radius, DrawPath::Direction(direction));
}

void AddArc(GfxPath* path, float x, float y, float width, float height, float start, float sweep)
{
    if (GfxCheck(path))
        path->path.AddArc(GfxRect(x, y, width, height), start, sweep);
}

void AddRoundRect(GfxPath* path, float x, float y, float width, float height, float rx, float ry,
                  int32_t direction)
{
    if (GfxCheck(path) && ValidDirection(direction))
        path->path.AddRoundRect(GfxRect(x, y, width, height), rx, ry, DrawPath::Direction(direction));
}

void AddRoundRectRadii(GfxPath* path, float x, float y, float width, float height, const float* radii,
                       int32_t direction)
{
    if (GfxCheck(path) && radii && ValidDirection(direction))
        path->path.AddRoundRectRadii(GfxRect(x, y, width, height), radii, DrawPath::Direction(direction));
}

// Adding a path to itself adds a copy of what it was.
void AddPathWith(GfxPath* path, GfxPath* other, const DrawMatrix& matrix)
{
    if (!GfxCheck(path) || !GfxCheck(other))
        return;
    if (path == other) {
        DrawPath copy = other->path;
        path->path.AddPath(copy, matrix);
    } else {
        path->path.AddPath(other->path, matrix);
    }
}

void AddPath(GfxPath* path, GfxPath* other) { AddPathWith(path, other, DrawMatrix()); }

void AddPathOffset(GfxPath* path, GfxPath* other, float dx, float dy)
{
    AddPathWith(path, other, DrawMatrix::Translate(dx, dy));
}

void AddPathMatrix(GfxPath* path, GfxPath* other, const void* matrix)
{
    if (matrix)
        AddPathWith(path, other, GfxReadMatrix(matrix));
}

// Into the destination (null: the path itself), which gets the fill type too.
void TransformInto(GfxPath* path, const DrawMatrix& matrix, GfxPath* destination)
{
    if (!GfxCheck(path) || (destination && !GfxCheck(destination)))
        return;
    if (destination && destination != path)
        destination->path = path->path;
    (destination ? destination : path)->path.Transform(matrix);
}

void Offset(GfxPath* path, float dx, float dy, GfxPath* destination)
{
    TransformInto(path, DrawMatrix::Translate(dx, dy), destination);
}

void Transform(GfxPath* path, const void* matrix, GfxPath* destination)
{
    if (matrix)
        TransformInto(path, GfxReadMatrix(matrix), destination);
}

}  // namespace GfxPathSlots

extern const GfxSlot kGfxPathTable[kGfxPathSlots] = {
    GFX_SLOT(GfxPathSlots::Release),       GFX_SLOT(GfxPathSlots::GetFillType),
    GFX_SLOT(GfxPathSlots::SetFillType),   GFX_SLOT(GfxPathSlots::IsConvex),
    GFX_SLOT(GfxPathSlots::SetIsConvex),   GFX_SLOT(GfxPathSlots::Reset),
    GFX_SLOT(GfxPathSlots::Rewind),        GFX_SLOT(GfxPathSlots::IsEmpty),
    GFX_SLOT(GfxPathSlots::GetBounds),     GFX_SLOT(GfxPathSlots::GetLastPoint),
    GFX_SLOT(GfxPathSlots::IncReserve),    GFX_SLOT(GfxPathSlots::MoveTo),
    GFX_SLOT(GfxPathSlots::RMoveTo),       GFX_SLOT(GfxPathSlots::LineTo),
    GFX_SLOT(GfxPathSlots::RLineTo),       GFX_SLOT(GfxPathSlots::QuadTo),
    GFX_SLOT(GfxPathSlots::RQuadTo),       GFX_SLOT(GfxPathSlots::CubicTo),
    GFX_SLOT(GfxPathSlots::RCubicTo),      GFX_SLOT(GfxPathSlots::ArcTo),
    GFX_SLOT(GfxPathSlots::ArcToTangent),  GFX_SLOT(GfxPathSlots::Close),
    GFX_SLOT(GfxPathSlots::AddRect),       GFX_SLOT(GfxPathSlots::AddOval),
    GFX_SLOT(GfxPathSlots::AddCircle),     GFX_SLOT(GfxPathSlots::AddArc),
    GFX_SLOT(GfxPathSlots::AddRoundRect),  GFX_SLOT(GfxPathSlots::AddRoundRectRadii),
    GFX_SLOT(GfxPathSlots::AddPath),       GFX_SLOT(GfxPathSlots::AddPathOffset),
    GFX_SLOT(GfxPathSlots::AddPathMatrix), GFX_SLOT(GfxPathSlots::Offset),
    GFX_SLOT(GfxPathSlots::Transform),
};
