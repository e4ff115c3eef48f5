// The fill sweep: a shape's edge group becomes monotone pieces in window
// pixels, sorted from the top, and a scan line walks down them, closing the
// spans between neighbouring pieces whenever a run of filled gaps changes.
#include <algorithm>
#include <cmath>

#include "player/engine/GLTable.h"
#include "player/engine/PVGLDraw.h"
#include "player/engine/PVShape.h"
#include "player/engine/PVSweepMath.h"
#include "player/engine/PVTransform.h"

namespace {

bool Finite(float v)
{
    return std::isfinite(v);
}

// Splits a curve at the extremum of its y (or x), where it turns back, into
// `out`; answers the number of parts, 1 when it is monotone there.
int SplitAtExtremum(const PVSweepEdge& q, bool alongY, PVSweepEdge out[2])
{
    out[0] = q;
    if (q.straight)
        return 1;
    const float p0 = alongY ? q.y0 : q.x0, p1 = alongY ? q.cy : q.cx, p2 = alongY ? q.y1 : q.x1;
    const float e = p0 + p2 - 2 * p1;
    if (p1 == p0 || p1 == p2 || e == 0)
        return 1;
    const float t = (p0 - p1) / e;
    if (!(t > 0 && t < 1))
        return 1;
    out[0] = PVSweepPart(q, 0, t);
    out[1] = PVSweepPart(q, t, 1);
    return 2;
}

// Grows by a quarter, at least to `need`.
template <typename T>
bool Ensure(PVTArray<T>& array, int need)
{
    if (need <= array.Capacity())
        return array.SetCount(need);
    const int grown = std::max(need, array.Capacity() + array.Capacity() / 4);
    const int count = array.Count();
    if (!array.SetCount(grown))
        return false;
    return array.SetCount(count), array.SetCount(need);
}

// Which of two directions leaving one point lies further left, seen going
// down: by their cross product; opposite horizontal directions (a curve
// leaving its top point sideways) by their x.
int CompareDirections(float ax, float ay, float bx, float by)
{
    const float cross = ax * by - bx * ay;
    if (cross != 0)
        return cross < 0 ? -1 : 1;
    if (ax * bx + ay * by < 0)
        return ax < bx ? -1 : 1;
    return 0;
}

// Sweep order: top y, then top x, then the direction in which pieces leave
// a shared top point, from left to right (tangents first, then chords).
bool Before(const PVSweepEdge* a, const PVSweepEdge* b)
{
    if (a->y0 != b->y0)
        return a->y0 < b->y0;
    if (a->x0 != b->x0)
        return a->x0 < b->x0;
    if (const int c = CompareDirections(a->cx - a->x0, a->cy - a->y0, b->cx - b->x0, b->cy - b->y0))
        return c < 0;
    return CompareDirections(a->x1 - a->x0, a->y1 - a->y0, b->x1 - b->x0, b->y1 - b->y0) < 0;
}

}  // namespace

bool PVGLDraw::DrawShape(const PVMatrix& matrix, const PVCxform* cxform, const PVShape& shape)
{
    bool ok = true;
    const PVShapeEdge* group = shape.FirstEdge();
    while (group) {
        const PVShapeEdge* next = nullptr;
        ok = FillSubShape(matrix, cxform, group, next) && ok;
        group = next;
    }
    return ok;
}

bool PVGLDraw::FillSubShape(const PVMatrix& matrix, const PVCxform* cxform, const PVShapeEdge* first,
                            const PVShapeEdge*& next)
{
    if (!BuildEdges(matrix, first, next))
        return false;
    bool ok = true;
    if (order_.Count() > 0 && !outlinesOnly_) {
        ok = Sweep(matrix, cxform);
        if (!deferLines_)
            FlushBatch();
    }
    DrawEdgeLines(matrix, cxform, first, next);
    return ok;
}

bool PVGLDraw::AddPiece(const PVSweepEdge& piece)
{
    const int n = pieces_.Count();
    if (!Ensure(pieces_, n + 1))
        return false;
    pieces_[n] = piece;
    return true;
}

bool PVGLDraw::BuildEdges(const PVMatrix& m, const PVShapeEdge* first, const PVShapeEdge*& next)
{
    pieces_.SetCount(0);
    order_.SetCount(0);
    const bool mirrored = PVDeterminant(m) < 0;
    const PVShapeEdge* e = first;
    bool ok = true;
    for (; e && ok; e = e->next) {
        if (e != first && e->groupStart)
            break;
        if (!e->fill0 && !e->fill1)
            continue;
        PVSweepEdge q;
        q.straight = e->straight != 0;
        q.x0 = PVMapX(m, float(e->startX), float(e->startY));
        q.y0 = PVMapY(m, float(e->startX), float(e->startY));
        q.x1 = PVMapX(m, float(e->endX), float(e->endY));
        q.y1 = PVMapY(m, float(e->endX), float(e->endY));
        q.cx = q.straight ? q.x1 : PVMapX(m, float(e->controlX), float(e->controlY));
        q.cy = q.straight ? q.y1 : PVMapY(m, float(e->controlX), float(e->controlY));
        // A shape's fill 0 lies on the left of its edge as seen with y
        // growing upwards, so on screen it is west of a downward piece; a
        // mirroring matrix turns the sides over.
        q.fill0 = mirrored ? e->fill0 : e->fill1;
        q.fill1 = mirrored ? e->fill1 : e->fill0;
        // A degenerate matrix must not reach the sweep's comparisons.
        if (!Finite(q.x0) || !Finite(q.y0) || !Finite(q.x1) || !Finite(q.y1) || !Finite(q.cx) || !Finite(q.cy))
            continue;
        PVSweepStraighten(q);

        PVSweepEdge halves[2];
        const int count = SplitAtExtremum(q, true, halves);
        for (int h = 0; h < count && ok; ++h) {
            PVSweepEdge& y = halves[h];
            PVSweepStraighten(y);
            if (y.y0 == y.y1 || std::max(y.y0, y.y1) < updateTop_ || std::min(y.y0, y.y1) >= updateBottom_)
                continue;
            PVSweepEdge parts[2];
            const int partCount = SplitAtExtremum(y, false, parts);
            for (int p = 0; p < partCount && ok; ++p) {
                PVSweepEdge& piece = parts[p];
                PVSweepStraighten(piece);
                if (piece.y0 == piece.y1)
                    continue;
                if (piece.y1 < piece.y0) {
                    std::swap(piece.x0, piece.x1);
                    std::swap(piece.y0, piece.y1);
                    std::swap(piece.fill0, piece.fill1);
                    if (piece.straight) {
                        piece.cx = piece.x1;
                        piece.cy = piece.y1;
                    }
                }
                ok = AddPiece(piece);
            }
        }
    }
    while (e && !(e != first && e->groupStart))
        e = e->next;
    next = e;
    if (!ok || !order_.SetCount(pieces_.Count()))
        return false;
    for (int i = 0; i < pieces_.Count(); ++i)
        order_[i] = &pieces_[i];
    std::stable_sort(order_.Data(), order_.Data() + order_.Count(), Before);
    return true;
}

bool PVGLDraw::Sweep(const PVMatrix& matrix, const PVCxform* cxform)
{
    active_.SetCount(0);
    const int waiting = order_.Count();
    int w = 0;
    while (w < waiting || active_.Count() > 0) {
        int ending = -1;
        float d = 0;
        for (int i = 0; i < active_.Count(); ++i) {
            if (ending < 0 || active_[i]->y1 < d) {
                ending = i;
                d = active_[i]->y1;
            }
        }
        if (w < waiting && (ending < 0 || order_[w]->y0 < d)) {
            const float x = order_[w]->x0, y = order_[w]->y0;
            while (w < waiting && order_[w]->y0 == y && order_[w]->x0 == x) {
                if (!InsertPiece(matrix, cxform, order_[w++]))
                    return false;
            }
            continue;
        }
        // Close the run of every piece that ends at d; the pieces of those
        // runs then start at d.
        for (int i = 0; i < active_.Count(); ++i) {
            if (active_[i]->y1 <= d && active_[i]->y0 < d && !CloseRun(matrix, cxform, i, d))
                return false;
        }
        // Where removing pieces joins two pieces across a filled gap, their
        // runs must start at d as well.
        const int n = active_.Count();
        for (int i = 0; i < n; ++i) {
            if (active_[i]->y1 > d)
                continue;
            int r = i;
            while (r < n && active_[r]->y1 <= d)
                ++r;
            if (i > 0 && r < n && (active_[i - 1]->fill0 || active_[r]->fill1) &&
                (!CloseRun(matrix, cxform, i - 1, d) || !CloseRun(matrix, cxform, r, d)))
                return false;
            i = r;
        }
        int kept = 0;
        for (int i = 0; i < n; ++i) {
            if (active_[i]->y1 > d)
                active_[kept++] = active_[i];
        }
        active_.SetCount(kept);
    }
    return true;
}

bool PVGLDraw::InsertPiece(const PVMatrix& matrix, const PVCxform* cxform, PVSweepEdge* piece)
{
    const int n = active_.Count();
    int at = 0;
    while (at < n && PVSweepX(*active_[at], piece->y0) <= piece->x0)
        ++at;
    const PVSweepEdge* left = at > 0 ? active_[at - 1] : nullptr;
    const PVSweepEdge* right = at < n ? active_[at] : nullptr;
    // Spans open across the gap the piece goes into, or that the piece will
    // bound, are closed at its top first, so that every run starts at one y.
    if (left && right && (left->fill0 || right->fill1)) {
        if (!CloseRun(matrix, cxform, at - 1, piece->y0))
            return false;
    } else {
        if (left && (left->fill0 || piece->fill1) && !CloseRun(matrix, cxform, at - 1, piece->y0))
            return false;
        if (right && (piece->fill0 || right->fill1) && !CloseRun(matrix, cxform, at, piece->y0))
            return false;
    }
    if (!Ensure(active_, n + 1))
        return false;
    for (int i = n; i > at; --i)
        active_[i] = active_[i - 1];
    active_[at] = piece;
    return true;
}

bool PVGLDraw::CloseRun(const PVMatrix& matrix, const PVCxform* cxform, int at, float y)
{
    auto filled = [this](int gap) { return active_[gap]->fill0 || active_[gap + 1]->fill1; };
    const int n = active_.Count();
    int l = at, r = at;
    while (l > 0 && filled(l - 1))
        --l;
    while (r + 1 < n && filled(r))
        ++r;
    bool ok = true;
    for (int i = l; i < r; ++i) {
        const PVSweepEdge& a = *active_[i];
        const PVSweepEdge& b = *active_[i + 1];
        const float top = std::max(a.y0, b.y0);
        if (!a.fill0 || top >= y)
            continue;
        const PVSweepEdge pa = PVSweepPart(a, PVSweepT(a, top), PVSweepT(a, y));
        const PVSweepEdge pb = PVSweepPart(b, PVSweepT(b, top), PVSweepT(b, y));
        const Side left = {pa.x0, pa.x1, pa.cx, pa.cy, pa.straight};
        const Side right = {pb.x0, pb.x1, pb.cx, pb.cy, pb.straight};
        if (SpanVisible(std::min(pa.x0, pa.x1), std::max(pb.x0, pb.x1), top, y))
            ok = EmitSpan(matrix, cxform, *a.fill0, left, right, top, y) && ok;
    }
    for (int i = l; i <= r; ++i) {
        PVSweepEdge& e = *active_[i];
        if (e.y0 >= y)
            continue;
        if (e.y1 <= y) {
            // Ends here: nothing is left below.
            e.x0 = e.x1;
            e.y0 = e.y1 = y;
            continue;
        }
        const float t = PVSweepT(e, y);
        e = PVSweepPart(e, t, 1);
        e.y0 = y;
        if (!e.straight) {
            // Remainders too short or too flat to bend visibly become straight.
            const float dx = e.x1 - e.x0, dy = e.y1 - e.y0;
            const float cx = e.cx - e.x0, cy = e.cy - e.y0;
            const float lengths = std::sqrt(dx * dx + dy * dy) * std::sqrt(cx * cx + cy * cy);
            PVSweepStraighten(e);
            if (!e.straight && (dy < 2 || lengths == 0 || std::fabs(dx * cy - dy * cx) / lengths < 0.01f)) {
                e.straight = true;
                e.cx = e.x1;
                e.cy = e.y1;
            }
        }
    }
    return ok;
}

bool PVGLDraw::SpanVisible(float leftMin, float rightMax, float top, float bottom) const
{
    if (bottom < updateTop_ || top >= updateBottom_ || rightMax < updateLeft_ || leftMin >= updateRight_)
        return false;
    if (!sampleValid_)
        return true;
    // Spans that cannot cover any pixel's sampling point are not sent.
    const int it = static_cast<int>(top), ib = static_cast<int>(bottom);
    const float ft = top - it, fb = bottom - ib;
    if (it == ib)
        return ft < sampleHigh_ && fb >= sampleLow_;
    if (ib == it + 1)
        return ft < sampleHigh_ || fb >= sampleLow_;
    return true;
}
