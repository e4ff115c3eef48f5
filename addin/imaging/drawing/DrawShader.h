#pragma once
#include "addin/imaging/drawing/DrawBitmap.h"
#include "addin/imaging/drawing/DrawMatrix.h"
#include "addin/imaging/drawing/DrawPath.h"

#include <cairo.h>
#include <windows.h>
#include <stdint.h>
#include <vector>

// Tile modes as the drawing interface numbers them.
enum class TileMode : int32_t { Clamp = 0, Repeat = 1, Mirror = 2 };

// What a paint fills with instead of its colour: a gradient or a bitmap, in
// shader space mapped by an optional local matrix. Reference counted.
class DrawShader {
public:
    // Null for fewer than 2 colours or when memory runs out. Positions
    // (null: evenly spread) run from 0 to 1.
    static DrawShader* Linear(DrawPoint p0, DrawPoint p1, const uint32_t* colors, const float* positions,
                              int count, TileMode mode);
    static DrawShader* Radial(DrawPoint centre, float radius, const uint32_t* colors, const float* positions,
                              int count, TileMode mode);
    static DrawShader* TwoPointRadial(DrawPoint start, float startRadius, DrawPoint end, float endRadius,
                                      const uint32_t* colors, const float* positions, int count, TileMode mode);
    // Colours around the centre, clockwise from the positive x axis.
    static DrawShader* Sweep(DrawPoint centre, const uint32_t* colors, const float* positions, int count);
    // A copy of the bitmap's pixels, tiled per axis.
    static DrawShader* Bitmap(const DrawBitmap& bitmap, TileMode modeX, TileMode modeY);

    void AddRef() { InterlockedIncrement(&m_refs); }
    void Release();

    bool GetLocalMatrix(DrawMatrix* matrix) const;
    void SetLocalMatrix(const DrawMatrix& matrix);

    // A cairo source for drawing under the total matrix onto a device of the
    // size; the caller destroys it. Null when memory runs out.
    cairo_pattern_t* MakePattern(const DrawMatrix& total, int deviceWidth, int deviceHeight) const;

private:
    explicit DrawShader(cairo_pattern_t* pattern);
    ~DrawShader();
    DrawShader(const DrawShader&) = delete;
    DrawShader& operator=(const DrawShader&) = delete;

    static DrawShader* Wrap(cairo_pattern_t* pattern);
    // The shader-to-device matrix: total times local.
    DrawMatrix ToDevice(const DrawMatrix& total) const;
    cairo_pattern_t* RenderSweep(const DrawMatrix& total, int width, int height) const;
    cairo_pattern_t* RenderTiles(const DrawMatrix& total, int width, int height) const;
    static bool AddStops(cairo_pattern_t* pattern, const uint32_t* colors, const float* positions, int count);

    volatile LONG m_refs = 1;
    cairo_pattern_t* m_pattern;
    bool m_hasLocalMatrix = false;
    DrawMatrix m_localMatrix;
    // Pixels a bitmap shader keeps for its surface; with tile modes that
    // differ per axis they are sampled per draw.
    DrawBitmap m_pixels;
    TileMode m_tileX = TileMode::Clamp;
    TileMode m_tileY = TileMode::Clamp;
    // A sweep is rendered per draw, from its centre and stops.
    bool m_sweep = false;
    DrawPoint m_centre = {0, 0};
    std::vector<uint32_t> m_colors;
    std::vector<float> m_positions;
};
