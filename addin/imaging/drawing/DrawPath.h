#pragma once
#include "addin/imaging/drawing/DrawMatrix.h"

#include <stdint.h>
#include <vector>

struct DrawPoint {
    float x;
    float y;
};

struct DrawRect {
    float left;
    float top;
    float right;
    float bottom;
};

// A path of contours made of lines, quadratic and cubic curves, with the fill
// rule that decides its inside. Enumerations use the drawing interface's
// numbers.
class DrawPath {
public:
    enum Verb : uint8_t { kMove = 0, kLine = 1, kQuad = 2, kCubic = 3, kClose = 4, kDone = 5 };
    enum FillType : int32_t { kWinding = 0, kEvenOdd = 1, kInverseWinding = 2, kInverseEvenOdd = 3 };
    enum Direction : int32_t { kClockwise = 0, kCounterClockwise = 1 };

    FillType GetFillType() const { return m_fillType; }
    void SetFillType(FillType type) { m_fillType = type; }
    bool IsInverseFill() const { return m_fillType >= kInverseWinding; }
    bool IsConvex() const { return m_convex; }
    void SetIsConvex(bool convex) { m_convex = convex; }

    // Empties the path and frees its storage (Reset) or keeps it (Rewind).
    void Reset();
    void Rewind();
    bool IsEmpty() const { return m_verbs.empty(); }
    // The bounds of every point; all 0 for an empty path.
    DrawRect GetBounds() const;
    // (0, 0) for an empty path.
    DrawPoint GetLastPoint() const;
    void IncReserve(int count);

    void MoveTo(float x, float y);
    void RMoveTo(float dx, float dy);
    void LineTo(float x, float y);
    void RLineTo(float dx, float dy);
    void QuadTo(float x1, float y1, float x2, float y2);
    void RQuadTo(float dx1, float dy1, float dx2, float dy2);
    void CubicTo(float x1, float y1, float x2, float y2, float x3, float y3);
    void RCubicTo(float dx1, float dy1, float dx2, float dy2, float dx3, float dy3);
    // Part of the oval's outline from startAngle, sweeping sweepAngle
    // (degrees, clockwise); joined to the contour by a line unless forceMove.
    void ArcTo(const DrawRect& oval, float startAngle, float sweepAngle, bool forceMove);
    // A line towards (x1, y1) ending in an arc of the radius tangent to both
    // lines (x1, y1) - last point and (x1, y1) - (x2, y2).
    void ArcToTangent(float x1, float y1, float x2, float y2, float radius);
    void Close();

    void AddRect(const DrawRect& rect, Direction direction);
    void AddOval(const DrawRect& oval, Direction direction);
    void AddCircle(float cx, float cy, float radius, Direction direction);
    void AddArc(const DrawRect& oval, float startAngle, float sweepAngle);
    void AddRoundRect(const DrawRect& rect, float rx, float ry, Direction direction);
    // Radii as x, y pairs for the top-left, top-right, bottom-right and
    // bottom-left corners.
    void AddRoundRectRadii(const DrawRect& rect, const float radii[8], Direction direction);
    void AddPath(const DrawPath& other, const DrawMatrix& matrix);

    void Transform(const DrawMatrix& matrix);
    void Offset(float dx, float dy) { Transform(DrawMatrix::Translate(dx, dy)); }

    const std::vector<uint8_t>& GetVerbs() const { return m_verbs; }
    const std::vector<DrawPoint>& GetPoints() const { return m_points; }

private:
    void InjectMoveIfNeeded();
    // One elliptic arc of at most 90 degrees as a cubic, from the current point.
    void ArcSegment(float cx, float cy, float rx, float ry, double from, double to);

    std::vector<uint8_t> m_verbs;
    std::vector<DrawPoint> m_points;
    FillType m_fillType = kWinding;
    bool m_convex = false;
    // Where the next drawing verb starts a contour (after a close, at the
    // contour's first point).
    bool m_needsMove = true;
    DrawPoint m_contourStart = {0, 0};
};
