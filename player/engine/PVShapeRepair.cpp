// Repair of fill sides for shapes drawn as paths without regard to which
// side a fill lies on.
#include <algorithm>
#include <new>
#include <set>
#include <utility>
#include <vector>

#include "player/engine/PVShape.h"

namespace {

// A straight piece of a flattened edge.
struct FEdge {
    PVShapeEdge* source;
    int32_t startX;
    int32_t startY;
    int32_t endX;
    int32_t endY;
    // The piece runs against its source edge.
    uint8_t reversed;
    // The piece was horizontal before the quarter turn of the second pass.
    uint8_t wasHorizontal;
};

int32_t Mid(int32_t a, int32_t b)
{
    return static_cast<int32_t>((int64_t(a) + b) >> 1);
}

PVFillStyle* LeftFill(const FEdge& p)
{
    return p.reversed ? p.source->fill1 : p.source->fill0;
}

PVFillStyle* RightFill(const FEdge& p)
{
    return p.reversed ? p.source->fill0 : p.source->fill1;
}

int64_t Cross(const FEdge& a, const FEdge& b)
{
    const int64_t adx = int64_t(a.endX) - a.startX, ady = int64_t(a.endY) - a.startY;
    const int64_t bdx = int64_t(b.endX) - b.startX, bdy = int64_t(b.endY) - b.startY;
    return adx * bdy - bdx * ady;
}

void AddPiece(PVTArray<FEdge>& pieces, PVShapeEdge* source, int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    if (x0 == x1 && y0 == y1)
        return;
    // Within the capacity allocated up front, so the pieces never move.
    pieces.Add({source, x0, y0, x1, y1, 0, static_cast<uint8_t>(y0 == y1)});
}

// Where `p` crosses the scan line y (within its rows).
int32_t XAt(const FEdge& p, int32_t y)
{
    if (y <= p.startY)
        return p.startX;
    return static_cast<int32_t>(p.startX + (int64_t(y) - p.startY) * (int64_t(p.endX) - p.startX) /
                                               (int64_t(p.endY) - p.startY));
}

// Left-to-right order at the current scan line: by crossing x, then by
// direction (the piece bending left below the line first).
struct ScanOrder {
    const int32_t* y;
    bool operator()(const FEdge* a, const FEdge* b) const
    {
        const int32_t ax = XAt(*a, *y), bx = XAt(*b, *y);
        if (ax != bx)
            return ax < bx;
        const int64_t cross = Cross(*a, *b);
        if (cross != 0)
            return cross < 0;
        return a < b;
    }
};

using ActiveSet = std::set<FEdge*, ScanOrder>;

// One sweep down the pieces, keeping those that cross the scan line in
// left-to-right order. Each piece that starts on a line is read against the
// fill left of it there (the right fill of its neighbour, or none) and its
// source edge's fills are swapped when its left side disagrees. Only pieces
// that were horizontal are read when `onlyFormerHorizontals` is set. False
// when memory runs out.
bool Sweep(FEdge** pieces, int count, bool onlyFormerHorizontals)
{
    for (int i = 0; i < count; ++i) {
        FEdge& p = *pieces[i];
        if (p.startY > p.endY) {
            std::swap(p.startX, p.endX);
            std::swap(p.startY, p.endY);
            p.reversed ^= 1;
        }
    }
    std::sort(pieces, pieces + count, [](const FEdge* a, const FEdge* b) {
        if (a->startY != b->startY)
            return a->startY < b->startY;
        return a < b;
    });
    try {
        std::vector<int> byEnd(count);
        for (int i = 0; i < count; ++i)
            byEnd[i] = i;
        std::sort(byEnd.begin(), byEnd.end(), [pieces](int a, int b) { return pieces[a]->endY < pieces[b]->endY; });
        int32_t y = 0;
        ActiveSet active(ScanOrder{&y});
        std::vector<ActiveSet::iterator> where(count, active.end());
        std::vector<ActiveSet::iterator> started;
        int ended = 0;
        for (int i = 0; i < count;) {
            y = pieces[i]->startY;
            for (; ended < count && pieces[byEnd[ended]]->endY <= y; ++ended) {
                ActiveSet::iterator& at = where[byEnd[ended]];
                if (at != active.end()) {
                    active.erase(at);
                    at = active.end();
                }
            }
            started.clear();
            for (; i < count && pieces[i]->startY == y; ++i) {
                if (pieces[i]->endY == y)
                    continue;
                where[i] = active.insert(pieces[i]).first;
                started.push_back(where[i]);
            }
            std::sort(started.begin(), started.end(),
                      [&active](ActiveSet::iterator a, ActiveSet::iterator b) { return active.key_comp()(*a, *b); });
            for (ActiveSet::iterator at : started) {
                FEdge& piece = **at;
                if (onlyFormerHorizontals && !piece.wasHorizontal)
                    continue;
                PVFillStyle* left = at == active.begin() ? nullptr : RightFill(**std::prev(at));
                if (LeftFill(piece) != left)
                    std::swap(piece.source->fill0, piece.source->fill1);
            }
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace

bool PVShape::RepairFillSides()
{
    int room = 0;
    for (PVShapeEdge* e = first_; e; e = e->next) {
        if (e->fill0 || e->fill1)
            room += e->straight ? 1 : 4;
    }
    if (room == 0)
        return true;
    PVTArray<FEdge> pieces;
    if (!pieces.Allocate(room))
        return false;
    pieces.SetCount(0);
    for (PVShapeEdge* e = first_; e; e = e->next) {
        if (!e->fill0 && !e->fill1)
            continue;
        if (e->straight) {
            AddPiece(pieces, e, e->startX, e->startY, e->endX, e->endY);
            continue;
        }
        // Split twice at the midpoint: four chords of the curve.
        const int32_t ax = Mid(e->startX, e->controlX), ay = Mid(e->startY, e->controlY);
        const int32_t bx = Mid(e->controlX, e->endX), by = Mid(e->controlY, e->endY);
        const int32_t mx = Mid(ax, bx), my = Mid(ay, by);
        const int32_t qx = Mid(Mid(e->startX, ax), Mid(ax, mx)), qy = Mid(Mid(e->startY, ay), Mid(ay, my));
        const int32_t rx = Mid(Mid(mx, bx), Mid(bx, e->endX)), ry = Mid(Mid(my, by), Mid(by, e->endY));
        AddPiece(pieces, e, e->startX, e->startY, qx, qy);
        AddPiece(pieces, e, qx, qy, mx, my);
        AddPiece(pieces, e, mx, my, rx, ry);
        AddPiece(pieces, e, rx, ry, e->endX, e->endY);
    }

    PVTArray<FEdge*> order;
    if (!order.Allocate(pieces.Count()))
        return false;
    int count = 0;
    bool horizontals = false;
    for (int i = 0; i < pieces.Count(); ++i) {
        if (pieces[i].wasHorizontal)
            horizontals = true;
        else
            order[count++] = &pieces[i];
    }
    if (!Sweep(order.Data(), count, false))
        return false;
    if (!horizontals)
        return true;

    // Horizontal pieces get their sides from a reading across them: turn
    // everything but the vertical pieces a quarter and sweep again.
    count = 0;
    for (int i = 0; i < pieces.Count(); ++i) {
        FEdge& p = pieces[i];
        if (p.startX == p.endX)
            continue;
        p = {p.source, -p.startY, p.startX, -p.endY, p.endX, p.reversed, p.wasHorizontal};
        order[count++] = &p;
    }
    return Sweep(order.Data(), count, true);
}
