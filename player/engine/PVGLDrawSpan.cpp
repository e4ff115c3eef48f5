// Span output: solid trapezoids into the quad batch, curved spans as fans
// and strips, textured spans through DrawTexturedSpan; and the edge lines.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "player/engine/GLTable.h"
#include "player/engine/PVGLDraw.h"
#include "player/engine/PVPlayer.h"
#include "player/engine/PVShapeEdge.h"
#include "player/engine/PVShapeStyles.h"
#include "player/engine/PVSweepMath.h"
#include "player/engine/PVTransform.h"

namespace {

constexpr int kBatchLimit = 24000;  // words: 2000 quads
constexpr int kWordsPerVertex = 5;

uint32_t Pack(const PVRGBA& c)
{
    return uint32_t(c.red) | uint32_t(c.green) << 8 | uint32_t(c.blue) << 16 | uint32_t(c.alpha) << 24;
}

uint32_t Bits(float f)
{
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

float Bezier(float p0, float p1, float p2, float t)
{
    const float u = 1 - t;
    return u * u * p0 + 2 * t * u * p1 + t * t * p2;
}

template <typename T>
bool Reserve(PVTArray<T>& array, int need)
{
    if (need <= array.Capacity())
        return true;
    const int count = array.Count();
    const int grown = std::max(need, array.Capacity() + array.Capacity() / 4);
    return array.SetCount(grown) && array.SetCount(count);
}

}  // namespace

PVRGBA PVGLDraw::FillColor(const PVFillStyle& fill, const PVCxform* cxform) const
{
    return PVApplyCxform(cxform, glyphColor_ ? *glyphColor_ : fill.color);
}

bool PVGLDraw::EmitSpan(const PVMatrix& matrix, const PVCxform* cxform, const PVFillStyle& fill, const Side& left,
                        const Side& right, float top, float bottom)
{
    auto edgeOf = [top, bottom](const Side& s) {
        return PVSweepEdge{s.straight, s.xTop, top, s.xBottom, bottom, s.cx, s.cy, nullptr, nullptr};
    };
    if (hitTesting_) {
        if (mouseY_ > top && mouseY_ < bottom) {
            const float xl = PVSweepX(edgeOf(left), mouseY_);
            const float xr = PVSweepX(edgeOf(right), mouseY_);
            if (mouseX_ >= std::min(xl, xr) && mouseX_ <= std::max(xl, xr))
                SetButtonUnderMouse(testedButton_);
        }
        return true;
    }
    // A curved side gets segments by how far its control point lies from
    // its chord: logarithmically many, none when it is nearly straight.
    auto segments = [top, bottom](const Side& s) {
        if (s.straight)
            return 0;
        const float dx = s.xBottom - s.xTop, dy = bottom - top;
        const float length = std::sqrt(dx * dx + dy * dy);
        if (length == 0)
            return 0;
        const float d = std::fabs(dx * (s.cy - top) - dy * (s.cx - s.xTop)) / length;
        const int n = d <= 1 ? 0 : static_cast<int>(std::log(d) * 1.9f);
        return n == 0 ? 0 : n + 1;
    };
    const int nl = segments(left), nr = segments(right);
    const bool solid = fill.kind == PVFillStyle::kSolid;
    const PVRGBA color = solid ? FillColor(fill, cxform) : PVRGBA{};
    if (nl == 0 && nr == 0 && solid) {
        const float xy[8] = {left.xTop, top, right.xTop, top, right.xBottom, bottom, left.xBottom, bottom};
        return AddQuad(color, xy);
    }

    const int count = nl == 0 && nr == 0 ? 4 : (nl == 0 || nr == 0) ? std::max(nl, nr) + 3 : 2 * (std::max(nl, nr) + 1);
    if (!Reserve(scratch_, count * kWordsPerVertex))
        return false;
    float* v = scratch_.Data();
    const float packed = [&] {
        float f;
        const uint32_t c = Pack(color);
        std::memcpy(&f, &c, sizeof f);
        return f;
    }();
    int written = 0;
    auto put = [&](float x, float y) {
        float* at = v + written++ * kWordsPerVertex;
        at[0] = 0;
        at[1] = packed;
        at[2] = x;
        at[3] = y;
        at[4] = 0;
    };
    auto pointOf = [top, bottom, &put](const Side& s, float t) {
        put(Bezier(s.xTop, s.cx, s.xBottom, t), Bezier(top, s.cy, bottom, t));
    };
    GLenum primitive;
    if (nl == 0 && nr == 0) {
        primitive = GL_QUADS;
        put(left.xTop, top);
        put(right.xTop, top);
        put(right.xBottom, bottom);
        put(left.xBottom, bottom);
    } else if (nl == 0 || nr == 0) {
        // A fan from the straight side's top over the curve to the straight
        // side's bottom.
        primitive = GL_TRIANGLE_FAN;
        const Side& straight = nl == 0 ? left : right;
        const Side& curved = nl == 0 ? right : left;
        const int n = std::max(nl, nr);
        put(straight.xTop, top);
        for (int k = 0; k <= n; ++k)
            pointOf(curved, float(k) / n);
        put(straight.xBottom, bottom);
    } else {
        primitive = GL_QUAD_STRIP;
        const int m = std::max(nl, nr);
        for (int k = 0; k <= m; ++k) {
            pointOf(left, float(k) / m);
            pointOf(right, float(k) / m);
        }
    }
    if (!solid)
        return DrawTexturedSpan(matrix, cxform, fill, v, primitive, written);
    // Solid fans and strips join the quad batch, so that a shape's curved
    // spans cost no draw call of their own: a fan's triangles as quads with
    // a repeated corner, a strip's steps as quads.
    auto xy = [v](int i) { return v + i * kWordsPerVertex + 2; };
    float quad[8];
    auto corner = [&quad](int k, const float* p) {
        quad[2 * k] = p[0];
        quad[2 * k + 1] = p[1];
    };
    if (primitive == GL_TRIANGLE_FAN) {
        for (int i = 1; i + 1 < written; ++i) {
            corner(0, xy(0));
            corner(1, xy(i));
            corner(2, xy(i + 1));
            corner(3, xy(i + 1));
            if (!AddQuad(color, quad))
                return false;
        }
        return true;
    }
    for (int i = 0; i + 3 < written; i += 2) {
        corner(0, xy(i));
        corner(1, xy(i + 1));
        corner(2, xy(i + 3));
        corner(3, xy(i + 2));
        if (!AddQuad(color, quad))
            return false;
    }
    return true;
}

void PVGLDraw::ForgetGLState()
{
    blendState_ = smoothState_ = -1;
    lineWidthState_ = -1;
}

void PVGLDraw::UseBlend(bool on)
{
    if (blendState_ == int(on))
        return;
    if (on)
        gGL.glEnable(GL_BLEND);
    else
        gGL.glDisable(GL_BLEND);
    blendState_ = on;
}

void PVGLDraw::UseLineSmooth(bool on)
{
    if (smoothState_ == int(on))
        return;
    if (on)
        gGL.glEnable(GL_LINE_SMOOTH);
    else
        gGL.glDisable(GL_LINE_SMOOTH);
    smoothState_ = on;
}

void PVGLDraw::UseLineWidth(float width)
{
    if (lineWidthState_ != width)
        gGL.glLineWidth(width);
    lineWidthState_ = width;
}

bool PVGLDraw::AddQuad(const PVRGBA& color, const float* xy)
{
    if (batchWords_ + 12 > kBatchLimit)
        FlushBatch();
    if (!Reserve(batch_, batchWords_ + 12))
        return false;
    const uint32_t c = Pack(color);
    uint32_t* at = batch_.Data() + batchWords_;
    for (int i = 0; i < 4; ++i) {
        at[3 * i] = c;
        at[3 * i + 1] = Bits(xy[2 * i]);
        at[3 * i + 2] = Bits(xy[2 * i + 1]);
    }
    batchWords_ += 12;
    batchBlends_ = batchBlends_ || color.alpha != 255;
    return true;
}

void PVGLDraw::FlushBatch()
{
    if (batchWords_ == 0)
        return;
    UseBlend(batchBlends_);
    UseLineSmooth(false);
    gGL.glInterleavedArrays(GL_C4UB_V2F, 0, batch_.Data());
    gGL.glDrawArrays(GL_QUADS, 0, batchWords_ / 3);
    batchWords_ = 0;
    batchBlends_ = false;
}

bool PVGLDraw::AddLine(float x0, float y0, float x1, float y1)
{
    if (x0 == x1 && y0 == y1)
        return true;
    if (!Reserve(lines_, lineWords_ + 6))
        return false;
    uint32_t* at = lines_.Data() + lineWords_;
    const uint32_t c = lineColor_;
    at[0] = c;
    at[1] = Bits(x0);
    at[2] = Bits(y0);
    at[3] = c;
    at[4] = Bits(x1);
    at[5] = Bits(y1);
    lineWords_ += 6;
    return true;
}

void PVGLDraw::FlushLines()
{
    // The fills the lines run along go first.
    FlushBatch();
    if (lineWords_ == 0)
        return;
    UseBlend(lineSmooth_);
    UseLineSmooth(lineSmooth_);
    UseLineWidth(lineWidth_);
    gGL.glInterleavedArrays(GL_C4UB_V2F, 0, lines_.Data());
    gGL.glDrawArrays(GL_LINES, 0, lineWords_ / 3);
    lineWords_ = 0;
}

void PVGLDraw::DrawEdgeLines(const PVMatrix& m, const PVCxform* cxform, const PVShapeEdge* first,
                             const PVShapeEdge* end)
{
    if (drawingMask_ || hitTesting_)
        return;
    const bool smooth = player_->HighQuality();
    const float outlineWidth = outlinesOnly_ && !blackAndWhite_ ? 1.5f : 1.0f;
    lineSmooth_ = smooth;
    lineWidth_ = outlineWidth;
    // Both points on the same outer side of the update rectangle.
    auto outside = [this](const float* xs, const float* ys, int n) {
        bool left = true, right = true, above = true, below = true;
        for (int i = 0; i < n; ++i) {
            left = left && xs[i] < updateLeft_;
            right = right && xs[i] >= updateRight_;
            above = above && ys[i] < updateTop_;
            below = below && ys[i] >= updateBottom_;
        }
        return left || right || above || below;
    };
    auto solidColor = [this, cxform](const PVShapeEdge& e, bool& found) {
        const PVFillStyle* fill = e.fill1 && e.fill1->kind == PVFillStyle::kSolid   ? e.fill1
                                  : e.fill0 && e.fill0->kind == PVFillStyle::kSolid ? e.fill0
                                                                                    : nullptr;
        found = fill != nullptr;
        PVRGBA c = fill ? FillColor(*fill, cxform) : PVRGBA{0, 0, 0, 255};
        c.alpha = alphaRamp_[c.alpha];
        return c;
    };
    for (const PVShapeEdge* e = first; e && e != end; e = e->next) {
        if (!e->line && !smooth)
            continue;
        const float x0 = PVMapX(m, float(e->startX), float(e->startY));
        const float y0 = PVMapY(m, float(e->startX), float(e->startY));
        const float x1 = PVMapX(m, float(e->endX), float(e->endY));
        const float y1 = PVMapY(m, float(e->endX), float(e->endY));
        if (x0 == x1 && y0 == y1)
            continue;
        const bool stroked = e->line && e->line->width > 0;
        PVRGBA color;
        float w = outlineWidth;
        if (outlinesOnly_) {
            bool found;
            color = blackAndWhite_ ? PVRGBA{0, 0, 0, 255}
                    : stroked      ? PVApplyCxform(cxform, e->line->color)
                                   : solidColor(*e, found);
        } else if (stroked) {
            color = PVApplyCxform(cxform, e->line->color);
            w = PVMeanScale(m) * float(e->line->width);
        } else {
            bool found;
            color = solidColor(*e, found);
            if (!found)
                continue;
            w = 0.5f;
        }
        if (w != lineWidth_) {
            FlushLines();
            lineWidth_ = w;
        }
        lineColor_ = Pack(color);
        if (e->straight) {
            const float xs[] = {x0, x1}, ys[] = {y0, y1};
            if (!outside(xs, ys, 2))
                AddLine(x0, y0, x1, y1);
            continue;
        }
        const float cx = PVMapX(m, float(e->controlX), float(e->controlY));
        const float cy = PVMapY(m, float(e->controlX), float(e->controlY));
        const float xs[] = {x0, cx, x1}, ys[] = {y0, cy, y1};
        if (!outside(xs, ys, 3))
            AddCurveLines(0, x0, y0, cx, cy, x1, y1);
    }
    if (!deferLines_)
        FlushLines();
}

void PVGLDraw::AddCurveLines(int level, float x0, float y0, float cx, float cy, float x1, float y1)
{
    const float dx = cx - x0, dy = cy - y0;
    const bool flat = std::fabs(dx) + std::fabs(dy) < 4 && std::fabs((x1 - x0) * dy - (y1 - y0) * dx) < 4;
    if (flat) {
        AddLine(x0, y0, x1, y1);
        return;
    }
    const float mx = Bezier(x0, cx, x1, 0.5f), my = Bezier(y0, cy, y1, 0.5f);
    if (level == 2) {
        AddLine(x0, y0, mx, my);
        AddLine(mx, my, x1, y1);
        return;
    }
    AddCurveLines(level + 1, x0, y0, (x0 + cx) / 2, (y0 + cy) / 2, mx, my);
    AddCurveLines(level + 1, mx, my, (cx + x1) / 2, (cy + y1) / 2, x1, y1);
}
