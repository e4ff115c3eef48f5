#include "addin/imaging/drawing/PlatformDevice.h"

#include <math.h>
#include <string.h>
#include <vector>

void PlatformDevice::PrepareDC(HDC dc)
{
    SetGraphicsMode(dc, GM_ADVANCED);
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    SetArcDirection(dc, AD_CLOCKWISE);
    SetBkColor(dc, RGB(255, 255, 255));
    SetTextColor(dc, RGB(0, 0, 0));
    SetDCBrushColor(dc, RGB(255, 255, 255));
    SetDCPenColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, OPAQUE);
    SetROP2(dc, R2_COPYPEN);
}

void PlatformDevice::SetDCTransform(HDC dc, const DrawMatrix& matrix)
{
    XFORM xform;
    xform.eM11 = matrix.Get(DrawMatrix::kScaleX);
    xform.eM21 = matrix.Get(DrawMatrix::kSkewX);
    xform.eDx = matrix.Get(DrawMatrix::kTransX);
    xform.eM12 = matrix.Get(DrawMatrix::kSkewY);
    xform.eM22 = matrix.Get(DrawMatrix::kScaleY);
    xform.eDy = matrix.Get(DrawMatrix::kTransY);
    SetWorldTransform(dc, &xform);
}

void PlatformDevice::SetDCClip(HDC dc, const std::vector<RECT>& clip)
{
    HRGN region = nullptr;
    if (clip.empty()) {
        region = CreateRectRgn(0, 0, 0, 0);
    } else if (clip.size() == 1) {
        region = CreateRectRgnIndirect(&clip[0]);
    } else {
        std::vector<uint8_t> data(sizeof(RGNDATAHEADER) + clip.size() * sizeof(RECT));
        RGNDATA* rgn = reinterpret_cast<RGNDATA*>(data.data());
        rgn->rdh.dwSize = sizeof(RGNDATAHEADER);
        rgn->rdh.iType = RDH_RECTANGLES;
        rgn->rdh.nCount = DWORD(clip.size());
        rgn->rdh.nRgnSize = DWORD(clip.size() * sizeof(RECT));
        RECT bounds = clip[0];
        for (const RECT& r : clip)
            UnionRect(&bounds, &bounds, &r);
        rgn->rdh.rcBound = bounds;
        memcpy(rgn->Buffer, clip.data(), clip.size() * sizeof(RECT));
        region = ExtCreateRegion(nullptr, DWORD(data.size()), rgn);
    }
    SelectClipRgn(dc, region);
    if (region)
        DeleteObject(region);
}

bool PlatformDevice::PathToBezierRuns(std::vector<std::vector<DrawPoint>>& runs, const DrawPath& path)
{
    runs.clear();
    const std::vector<DrawPoint>& points = path.GetPoints();
    size_t next = 0;
    DrawPoint last = {0, 0};
    std::vector<DrawPoint>* run = nullptr;
    auto add = [&](DrawPoint a, DrawPoint b, DrawPoint c, DrawPoint d) {
        if (!run) {
            runs.emplace_back();
            run = &runs.back();
        }
        run->insert(run->end(), {a, b, c, d});
    };
    for (uint8_t verb : path.GetVerbs()) {
        switch (verb) {
        case DrawPath::kMove:
            last = points[next++];
            run = nullptr;
            break;
        case DrawPath::kClose:
            run = nullptr;
            break;
        case DrawPath::kLine:
            add(last, last, points[next], points[next]);
            last = points[next++];
            break;
        case DrawPath::kQuad:
            add(last, points[next], points[next + 1], points[next + 1]);
            last = points[next + 1];
            next += 2;
            break;
        case DrawPath::kCubic:
            add(last, points[next], points[next + 1], points[next + 2]);
            last = points[next + 2];
            next += 3;
            break;
        default:
            runs.clear();
            return false;
        }
    }
    return true;
}

bool PlatformDevice::SelectPathIntoDC(HDC dc, const DrawPath& path)
{
    if (path.GetFillType() == DrawPath::kWinding)
        SetPolyFillMode(dc, WINDING);
    else if (path.GetFillType() == DrawPath::kEvenOdd)
        SetPolyFillMode(dc, ALTERNATE);
    BeginPath(dc);
    std::vector<std::vector<DrawPoint>> runs;
    if (!PathToBezierRuns(runs, path))
        return false;
    auto round = [](const DrawPoint& p) { return POINT{LONG(lroundf(p.x)), LONG(lroundf(p.y))}; };
    bool ok = true;
    std::vector<POINT> points;
    for (const std::vector<DrawPoint>& run : runs) {
        if (run.empty())
            continue;
        points.clear();
        points.push_back(round(run[0]));
        for (size_t i = 0; i < run.size(); i += 4)
            for (size_t k = 1; k < 4; ++k)
                points.push_back(round(run[i + k]));
        if (!PolyBezier(dc, points.data(), DWORD(points.size()))) {
            ok = false;
            break;
        }
    }
    if (ok)
        EndPath(dc);
    else
        AbortPath(dc);
    return ok;
}

bool PlatformDevice::ClampSpan(int available, int* position, int* size)
{
    if (*size < -2)
        return false;
    bool toEnd = *size < 0;
    if (*position < 0) {
        // A span wholly before 0 is empty, not "to the end".
        if (!toEnd && (*size += *position) <= 0)
            return false;
        *position = 0;
    }
    if (*size == 0 || *position >= available)
        return false;
    if (toEnd || *size > available - *position)
        *size = available - *position;
    return true;
}
