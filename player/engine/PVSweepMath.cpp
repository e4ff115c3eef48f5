#include "player/engine/PVSweepMath.h"

#include <algorithm>
#include <cmath>

namespace {

bool Near(float ax, float ay, float bx, float by)
{
    return std::fabs(ax - bx) <= 1 && std::fabs(ay - by) <= 1;
}

// The blossom of the quadratic at (a, b): its point for a == b, and the
// control point of the part between a and b otherwise.
float Blossom(float p0, float p1, float p2, float a, float b)
{
    return (1 - a) * (1 - b) * p0 + ((1 - a) * b + a * (1 - b)) * p1 + a * b * p2;
}

}  // namespace

float PVSweepT(const PVSweepEdge& e, float y)
{
    if (e.y1 == e.y0)
        return 0;
    if (e.straight)
        return std::clamp((y - e.y0) / (e.y1 - e.y0), 0.0f, 1.0f);
    const float a = e.y0 + e.y1 - 2 * e.cy;
    const float b = 2 * (e.cy - e.y0);
    const float c = e.y0 - y;
    float t;
    if (std::fabs(a) < 0.01f) {
        t = b != 0 ? -c / b : 0;
    } else {
        const float root = std::sqrt(std::max(0.0f, b * b - 4 * a * c));
        t = (-b + root) / (2 * a);
        if (t < -0.001f || t > 1.001f)
            t = (-b - root) / (2 * a);
    }
    return std::clamp(t, 0.0f, 1.0f);
}

float PVSweepX(const PVSweepEdge& e, float y)
{
    if (e.straight)
        return e.y1 == e.y0 ? e.x0 : e.x0 + (e.x1 - e.x0) * ((y - e.y0) / (e.y1 - e.y0));
    const float t = PVSweepT(e, y);
    return Blossom(e.x0, e.cx, e.x1, t, t);
}

PVSweepEdge PVSweepPart(const PVSweepEdge& e, float ta, float tb)
{
    PVSweepEdge part = e;
    if (e.straight) {
        part.x0 = e.x0 + (e.x1 - e.x0) * ta;
        part.y0 = e.y0 + (e.y1 - e.y0) * ta;
        part.x1 = e.x0 + (e.x1 - e.x0) * tb;
        part.y1 = e.y0 + (e.y1 - e.y0) * tb;
        part.cx = part.x1;
        part.cy = part.y1;
        return part;
    }
    part.x0 = Blossom(e.x0, e.cx, e.x1, ta, ta);
    part.y0 = Blossom(e.y0, e.cy, e.y1, ta, ta);
    part.x1 = Blossom(e.x0, e.cx, e.x1, tb, tb);
    part.y1 = Blossom(e.y0, e.cy, e.y1, tb, tb);
    part.cx = Blossom(e.x0, e.cx, e.x1, ta, tb);
    part.cy = Blossom(e.y0, e.cy, e.y1, ta, tb);
    return part;
}

void PVSweepStraighten(PVSweepEdge& e)
{
    if (!e.straight && (Near(e.cx, e.cy, e.x0, e.y0) || Near(e.cx, e.cy, e.x1, e.y1))) {
        e.straight = true;
        e.cx = e.x1;
        e.cy = e.y1;
    }
}
