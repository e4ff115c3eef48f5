#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One generated picture, described once and handed both to the movie
// writers (for the engine) and to cairo. Coordinates are movie pixels of a
// 550 x 400 frame; each item is its own character at its own depth.
struct BenchItem {
    enum Kind { kBox, kCircle, kLinear, kRadial, kBitmap, kGlyphRun };
    Kind kind;
    float x, y, w, h;  // box; circle centre and radius in x, y, w
    uint8_t rgba[4];
    uint8_t rgba2[4];  // gradient end colour
    std::string text;  // glyph runs: letters a-z
};

struct BenchScene {
    std::string name;
    std::vector<BenchItem> items;
};

// The five scenes: shapes, curves, gradients, bitmaps, text.
std::vector<BenchScene> MakeBenchScenes();
// The movie file of a scene (font, bitmap and every item placed).
std::vector<uint8_t> BenchMovie(const BenchScene& scene);

// The glyphs of the bench font: closed outlines in an em of 1024 with the
// baseline at 0, made of straight and quadratic edges (x, y pairs; a curve
// gives its control point first). Each contour starts with a move.
struct GlyphOp {
    enum Kind { kMove, kLine, kCurve } kind;
    int x, y, cx, cy;
};
const std::vector<GlyphOp>& BenchGlyph(char letter);
constexpr int kBenchAdvance = 600;  // em units
// The checker picture of bitmap fills, 64 x 64, RGB.
constexpr int kBenchBitmapSide = 64;
void BenchBitmapPixel(int x, int y, uint8_t rgb[3]);
