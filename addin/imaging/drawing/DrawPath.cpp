#include "addin/imaging/drawing/DrawPath.h"

#include <math.h>

namespace {

const double kPi = 3.14159265358979323846;

double Radians(double degrees) { return degrees * kPi / 180.0; }

}  // namespace

void DrawPath::Reset()
{
    std::vector<uint8_t>().swap(m_verbs);
    std::vector<DrawPoint>().swap(m_points);
    Rewind();
}

void DrawPath::Rewind()
{
    m_verbs.clear();
    m_points.clear();
    m_convex = false;
    m_needsMove = true;
    m_contourStart = {0, 0};
}

DrawRect DrawPath::GetBounds() const
{
    if (m_points.empty())
        return {0, 0, 0, 0};
    DrawRect r = {m_points[0].x, m_points[0].y, m_points[0].x, m_points[0].y};
    for (const DrawPoint& p : m_points) {
        r.left = fminf(r.left, p.x);
        r.top = fminf(r.top, p.y);
        r.right = fmaxf(r.right, p.x);
        r.bottom = fmaxf(r.bottom, p.y);
    }
    return r;
}

DrawPoint DrawPath::GetLastPoint() const { return m_points.empty() ? DrawPoint{0, 0} : m_points.back(); }

void DrawPath::IncReserve(int count)
{
    if (count > 0 && size_t(count) < (size_t(1) << 24)) {
        m_verbs.reserve(m_verbs.size() + size_t(count));
        m_points.reserve(m_points.size() + size_t(count));
    }
}

void DrawPath::MoveTo(float x, float y)
{
    // A move after a move replaces it: an empty contour draws nothing.
    if (!m_verbs.empty() && m_verbs.back() == kMove) {
        m_points.back() = {x, y};
    } else {
        m_verbs.push_back(kMove);
        m_points.push_back({x, y});
    }
    m_contourStart = {x, y};
    m_needsMove = false;
}

void DrawPath::RMoveTo(float dx, float dy)
{
    DrawPoint p = GetLastPoint();
    MoveTo(p.x + dx, p.y + dy);
}

void DrawPath::InjectMoveIfNeeded()
{
    if (m_needsMove) {
        DrawPoint start = m_verbs.empty() ? DrawPoint{0, 0} : m_contourStart;
        MoveTo(start.x, start.y);
    }
}

void DrawPath::LineTo(float x, float y)
{
    InjectMoveIfNeeded();
    m_verbs.push_back(kLine);
    m_points.push_back({x, y});
}

void DrawPath::RLineTo(float dx, float dy)
{
    InjectMoveIfNeeded();
    DrawPoint p = GetLastPoint();
    LineTo(p.x + dx, p.y + dy);
}

void DrawPath::QuadTo(float x1, float y1, float x2, float y2)
{
    InjectMoveIfNeeded();
    m_verbs.push_back(kQuad);
    m_points.push_back({x1, y1});
    m_points.push_back({x2, y2});
}

void DrawPath::RQuadTo(float dx1, float dy1, float dx2, float dy2)
{
    InjectMoveIfNeeded();
    DrawPoint p = GetLastPoint();
    QuadTo(p.x + dx1, p.y + dy1, p.x + dx2, p.y + dy2);
}

void DrawPath::CubicTo(float x1, float y1, float x2, float y2, float x3, float y3)
{
    InjectMoveIfNeeded();
    m_verbs.push_back(kCubic);
    m_points.push_back({x1, y1});
    m_points.push_back({x2, y2});
    m_points.push_back({x3, y3});
}

void DrawPath::RCubicTo(float dx1, float dy1, float dx2, float dy2, float dx3, float dy3)
{
    InjectMoveIfNeeded();
    DrawPoint p = GetLastPoint();
    CubicTo(p.x + dx1, p.y + dy1, p.x + dx2, p.y + dy2, p.x + dx3, p.y + dy3);
}

void DrawPath::Close()
{
    if (!m_verbs.empty() && m_verbs.back() != kClose && m_verbs.back() != kMove)
        m_verbs.push_back(kClose);
    m_needsMove = true;
}

void DrawPath::ArcSegment(float cx, float cy, float rx, float ry, double from, double to)
{
    // Cubic control distance for an arc of angle (to - from).
    double k = 4.0 / 3.0 * tan((to - from) / 4.0);
    double c0 = cos(from), s0 = sin(from), c1 = cos(to), s1 = sin(to);
    CubicTo(float(cx + rx * (c0 - k * s0)), float(cy + ry * (s0 + k * c0)), float(cx + rx * (c1 + k * s1)),
            float(cy + ry * (s1 - k * c1)), float(cx + rx * c1), float(cy + ry * s1));
}

void DrawPath::ArcTo(const DrawRect& oval, float startAngle, float sweepAngle, bool forceMove)
{
    float rx = (oval.right - oval.left) / 2, ry = (oval.bottom - oval.top) / 2;
    if (rx < 0 || ry < 0)
        return;
    float cx = oval.left + rx, cy = oval.top + ry;
    double from = Radians(startAngle);
    float sx = float(cx + rx * cos(from)), sy = float(cy + ry * sin(from));
    if (forceMove || m_verbs.empty())
        MoveTo(sx, sy);
    else
        LineTo(sx, sy);
    double sweep = Radians(sweepAngle);
    if (sweep > 2 * kPi)
        sweep = 2 * kPi;
    if (sweep < -2 * kPi)
        sweep = -2 * kPi;
    int segments = int(ceil(fabs(sweep) / (kPi / 2) - 1e-9));
    for (int i = 0; i < segments; ++i)
        ArcSegment(cx, cy, rx, ry, from + sweep * i / segments, from + sweep * (i + 1) / segments);
}

void DrawPath::ArcToTangent(float x1, float y1, float x2, float y2, float radius)
{
    InjectMoveIfNeeded();
    DrawPoint p0 = GetLastPoint();
    double ax = p0.x - x1, ay = p0.y - y1, bx = x2 - x1, by = y2 - y1;
    double la = hypot(ax, ay), lb = hypot(bx, by);
    double cross = ax * by - ay * bx;
    if (radius <= 0 || la == 0 || lb == 0 || fabs(cross) < 1e-9 * la * lb) {
        LineTo(x1, y1);
        return;
    }
    ax /= la, ay /= la, bx /= lb, by /= lb;
    double angle = acos(fmax(-1.0, fmin(1.0, ax * bx + ay * by)));
    double distance = radius / tan(angle / 2);
    float tx0 = float(x1 + ax * distance), ty0 = float(y1 + ay * distance);
    float tx1 = float(x1 + bx * distance), ty1 = float(y1 + by * distance);
    // The centre lies on the bisector, radius away from both tangent points.
    double mx = ax + bx, my = ay + by, lm = hypot(mx, my);
    double centreDistance = radius / sin(angle / 2);
    double cx = x1 + mx / lm * centreDistance, cy = y1 + my / lm * centreDistance;
    LineTo(tx0, ty0);
    double from = atan2(ty0 - cy, tx0 - cx), to = atan2(ty1 - cy, tx1 - cx);
    double sweep = to - from;
    if (sweep > kPi)
        sweep -= 2 * kPi;
    if (sweep < -kPi)
        sweep += 2 * kPi;
    ArcSegment(float(cx), float(cy), radius, radius, from, from + sweep);
}

void DrawPath::AddRect(const DrawRect& r, Direction direction)
{
    MoveTo(r.left, r.top);
    if (direction == kCounterClockwise) {
        LineTo(r.left, r.bottom);
        LineTo(r.right, r.bottom);
        LineTo(r.right, r.top);
    } else {
        LineTo(r.right, r.top);
        LineTo(r.right, r.bottom);
        LineTo(r.left, r.bottom);
    }
    Close();
}

void DrawPath::AddOval(const DrawRect& oval, Direction direction)
{
    float rx = (oval.right - oval.left) / 2, ry = (oval.bottom - oval.top) / 2;
    float cx = oval.left + rx, cy = oval.top + ry;
    double step = direction == kCounterClockwise ? -kPi / 2 : kPi / 2;
    MoveTo(oval.right, cy);
    for (int i = 0; i < 4; ++i)
        ArcSegment(cx, cy, rx, ry, step * i, step * (i + 1));
    Close();
}

void DrawPath::AddCircle(float cx, float cy, float radius, Direction direction)
{
    if (radius > 0)
        AddOval({cx - radius, cy - radius, cx + radius, cy + radius}, direction);
}

void DrawPath::AddArc(const DrawRect& oval, float startAngle, float sweepAngle)
{
    if (sweepAngle >= 360 || sweepAngle <= -360) {
        AddOval(oval, sweepAngle > 0 ? kClockwise : kCounterClockwise);
        return;
    }
    ArcTo(oval, startAngle, sweepAngle, true);
}

void DrawPath::AddRoundRect(const DrawRect& rect, float rx, float ry, Direction direction)
{
    const float radii[8] = {rx, ry, rx, ry, rx, ry, rx, ry};
    AddRoundRectRadii(rect, radii, direction);
}

void DrawPath::AddRoundRectRadii(const DrawRect& r, const float radii[8], Direction direction)
{
    float halfW = (r.right - r.left) / 2, halfH = (r.bottom - r.top) / 2;
    float rx[4], ry[4];
    bool any = false;
    for (int i = 0; i < 4; ++i) {
        rx[i] = fminf(fmaxf(radii[2 * i], 0.0f), halfW);
        ry[i] = fminf(fmaxf(radii[2 * i + 1], 0.0f), halfH);
        if (rx[i] <= 0 || ry[i] <= 0)
            rx[i] = ry[i] = 0;
        any = any || rx[i] > 0;
    }
    if (!any) {
        AddRect(r, direction);
        return;
    }
    // Clockwise from the top edge: corners top-left, top-right, bottom-right,
    // bottom-left, each an arc of 90 degrees.
    const float cx[4] = {r.left + rx[0], r.right - rx[1], r.right - rx[2], r.left + rx[3]};
    const float cy[4] = {r.top + ry[0], r.top + ry[1], r.bottom - ry[2], r.bottom - ry[3]};
    const double start[4] = {kPi, 1.5 * kPi, 0, 0.5 * kPi};
    if (direction == kCounterClockwise) {
        MoveTo(r.left, cy[0]);
        for (int k = 0; k < 4; ++k) {
            int i = (4 - k) % 4;  // top-left, bottom-left, bottom-right, top-right
            DrawPoint end = {cx[i] + rx[i] * float(cos(start[i])), cy[i] + ry[i] * float(sin(start[i]))};
            if (rx[i] > 0) {
                DrawPoint begin = {cx[i] + rx[i] * float(cos(start[i] + kPi / 2)),
                                   cy[i] + ry[i] * float(sin(start[i] + kPi / 2))};
                LineTo(begin.x, begin.y);
                ArcSegment(cx[i], cy[i], rx[i], ry[i], start[i] + kPi / 2, start[i]);
            } else {
                LineTo(end.x, end.y);
            }
        }
    } else {
        MoveTo(cx[0] - rx[0], cy[0]);
        for (int i = 0; i < 4; ++i) {
            DrawPoint begin = {cx[i] + rx[i] * float(cos(start[i])), cy[i] + ry[i] * float(sin(start[i]))};
            LineTo(begin.x, begin.y);
            if (rx[i] > 0)
                ArcSegment(cx[i], cy[i], rx[i], ry[i], start[i], start[i] + kPi / 2);
        }
    }
    Close();
}

void DrawPath::AddPath(const DrawPath& other, const DrawMatrix& matrix)
{
    DrawPath copy = other;
    copy.Transform(matrix);
    m_verbs.insert(m_verbs.end(), copy.m_verbs.begin(), copy.m_verbs.end());
    m_points.insert(m_points.end(), copy.m_points.begin(), copy.m_points.end());
    if (!copy.m_verbs.empty()) {
        m_needsMove = copy.m_needsMove;
        m_contourStart = copy.m_contourStart;
    }
}

void DrawPath::Transform(const DrawMatrix& matrix)
{
    for (DrawPoint& p : m_points)
        matrix.MapPoint(p.x, p.y, &p.x, &p.y);
    matrix.MapPoint(m_contourStart.x, m_contourStart.y, &m_contourStart.x, &m_contourStart.y);
}
