#include "GLShapes.h"

#include <cmath>

SwfShapeWriter& AddBox(SwfShapeWriter& shape, int x, int y, int w, int h, int fill)
{
    shape.Select(fill, 0, 0).MoveTo(x, y);
    return shape.Line(w, 0).Line(0, h).Line(-w, 0).Line(0, -h);
}

SwfShapeWriter& AddCircle(SwfShapeWriter& shape, int cx, int cy, int r, int fill, bool hole)
{
    const double pi = 3.14159265358979;
    const double step = (hole ? -2 : 2) * pi / 8;
    const double reach = r / std::cos(pi / 8);
    shape.Select(fill, 0, 0).MoveTo(cx + r, cy);
    int x = cx + r, y = cy;
    for (int i = 0; i < 8; ++i) {
        const double mid = (i + 0.5) * step, end = (i + 1) * step;
        const int qx = cx + int(std::lround(reach * std::cos(mid)));
        const int qy = cy + int(std::lround(reach * std::sin(mid)));
        const int ex = i == 7 ? cx + r : cx + int(std::lround(r * std::cos(end)));
        const int ey = i == 7 ? cy : cy + int(std::lround(r * std::sin(end)));
        shape.Curve(qx - x, qy - y, ex - qx, ey - qy);
        x = ex;
        y = ey;
    }
    return shape;
}

SwfMatrix MakeMatrix(double sx, double sy, int tx, int ty)
{
    SwfMatrix m;
    m.hasScale = sx != 1 || sy != 1;
    m.scaleX = int32_t(std::lround(sx * 65536));
    m.scaleY = int32_t(std::lround(sy * 65536));
    m.translateX = tx;
    m.translateY = ty;
    return m;
}
