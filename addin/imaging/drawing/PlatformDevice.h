#pragma once
#include "addin/imaging/drawing/DrawMatrix.h"
#include "addin/imaging/drawing/DrawPath.h"

#include <vector>
#include <windows.h>

// GDI routines shared by devices whose pixels GDI can draw into.
class PlatformDevice {
public:
    // The state every memory DC of a device starts with: advanced graphics
    // mode, halftone stretching, white background, black text, copy-pen.
    static void PrepareDC(HDC dc);
    // The affine part of the matrix as the DC's world transform.
    static void SetDCTransform(HDC dc, const DrawMatrix& matrix);
    // Selects the clip, given as rectangles in device pixels (no rectangle:
    // nothing is drawn). Device clip regions ignore the world transform, so
    // the region is right under any matrix.
    static void SetDCClip(HDC dc, const std::vector<RECT>& clip);
    // The path as runs of cubics (lines and quadratics raised to cubics), one
    // run per contour; false (runs cleared) for a verb it does not know.
    static bool PathToBezierRuns(std::vector<std::vector<DrawPoint>>& runs, const DrawPath& path);
    // The path as the DC's current path (BeginPath .. EndPath), with the
    // path's fill rule as polygon fill mode; on failure the path is aborted.
    static bool SelectPathIntoDC(HDC dc, const DrawPath& path);
    // Cuts a span (position, size) to 0..available; a size of -1 or -2 means
    // "to the end". False when nothing is left or the size is below -2.
    static bool ClampSpan(int available, int* position, int* size);
};
