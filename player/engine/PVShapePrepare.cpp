// Preparation of a shape's edge list for the scan-line filler.
#include <algorithm>
#include <memory>
#include <new>
#include <utility>

#include "player/engine/PVShape.h"

// An edge to sort, with its start point beside it and its place in the
// list, which settles ties.
struct PVShapeSortItem {
    int32_t y;
    int32_t x;
    PVShapeEdge* edge;
    int index;
};

namespace {

constexpr int kSortItemsOnStack = 256;

// Cross product of (a.x, a.y) and (b.x, b.y); coordinates are bounded so
// that the 64-bit products cannot overflow.
int64_t Cross(int64_t ax, int64_t ay, int64_t bx, int64_t by)
{
    return ax * by - bx * ay;
}

// Sort order of downward-oriented filled edges starting at one point: the
// direction of the start tangent from left to right.
bool TangentBefore(const PVShapeEdge& a, const PVShapeEdge& b)
{
    const int64_t adx = int64_t(a.controlX) - a.startX, ady = int64_t(a.controlY) - a.startY;
    const int64_t bdx = int64_t(b.controlX) - b.startX, bdy = int64_t(b.controlY) - b.startY;
    const bool aUp = ady < 0, bUp = bdy < 0;
    if (aUp != bUp)
        return bUp;
    const bool aFlat = ady == 0, bFlat = bdy == 0;
    if (aFlat && bFlat) {
        if (adx != bdx)
            return adx < bdx;
    } else if (aFlat) {
        return adx < 0;
    } else if (bFlat) {
        return bdx > 0;
    } else if (const int64_t cross = Cross(adx, ady, bdx, bdy); cross != 0) {
        return cross < 0;
    }
    return !a.straight && b.straight;
}

// Order of edges that start at one point: by tangent, then list order (so
// coinciding edges keep their order and the first drawn wins).
[[gnu::noinline]] bool TieBefore(const PVShapeSortItem& a, const PVShapeSortItem& b)
{
    if (TangentBefore(*a.edge, *b.edge))
        return true;
    return !TangentBefore(*b.edge, *a.edge) && a.index < b.index;
}

// Edges sort by start y, then start x, then as TieBefore. The start point is
// copied beside the pointer so that most comparisons touch no edge and make
// no call.
[[gnu::always_inline]] inline bool Before(const PVShapeSortItem& a, const PVShapeSortItem& b)
{
    if (a.y != b.y)
        return a.y < b.y;
    if (a.x != b.x)
        return a.x < b.x;
    return TieBefore(a, b);
}

bool Coincide(const PVShapeEdge& a, const PVShapeEdge& b)
{
    return a.straight == b.straight && a.startX == b.startX && a.startY == b.startY && a.endX == b.endX &&
           a.endY == b.endY && (a.straight || (a.controlX == b.controlX && a.controlY == b.controlY));
}

void MakeStraight(PVShapeEdge& edge)
{
    edge.straight = 1;
    edge.controlX = edge.endX;
    edge.controlY = edge.endY;
}

}  // namespace

void PVShape::Unlink(PVShapeEdge* edge)
{
    if (edge->previous)
        edge->previous->next = edge->next;
    else
        first_ = edge->next;
    if (edge->next) {
        edge->next->previous = edge->previous;
        if (edge->groupStart)
            edge->next->groupStart = 1;
    }
    --count_;
}

bool PVShape::PrepareEdges()
{
    int curves = 0;
    for (PVShapeEdge* e = first_; e; e = e->next)
        curves += !e->straight;
    // Each curve inserts at most one piece, so the pieces never move.
    if (!extras_.Allocate(curves))
        return false;
    int used = 0;

    PVShapeEdge* previous = nullptr;
    for (PVShapeEdge* e = first_; e;) {
        PVShapeEdge* next = e->next;
        e->previous = previous;
        const bool closed = e->startX == e->endX && e->startY == e->endY;
        const bool controlAtStart = e->controlX == e->startX && e->controlY == e->startY;
        if (closed && (e->straight || controlAtStart)) {
            Unlink(e);
            e = next;
            continue;
        }
        previous = e;
        if (e->straight) {
            e = next;
            continue;
        }
        if (closed) {
            e->endX = e->controlX;
            e->endY = e->controlY;
            MakeStraight(*e);
        } else if (controlAtStart || (e->controlX == e->endX && e->controlY == e->endY)) {
            MakeStraight(*e);
        } else {
            const int64_t dx = int64_t(e->endX) - e->startX, dy = int64_t(e->endY) - e->startY;
            const int64_t qx = int64_t(e->controlX) - e->startX, qy = int64_t(e->controlY) - e->startY;
            if (Cross(dx, dy, qx, qy) == 0) {
                // A flat curve whose control point lies beyond an end also
                // covers the stretch from that end to the control point.
                const int64_t u = dx * qx + dy * qy;
                const int64_t s = (int64_t(e->controlX) - e->endX) * dx + (int64_t(e->controlY) - e->endY) * dy;
                const int32_t cx = e->controlX, cy = e->controlY;
                MakeStraight(*e);
                if (!(u > 0 && s < 0)) {
                    PVShapeEdge& piece = extras_[used++];
                    piece = *e;
                    if (u > 0 && s > 0) {
                        piece.startX = e->endX;
                        piece.startY = e->endY;
                        piece.endX = cx;
                        piece.endY = cy;
                        piece.groupStart = 0;
                        piece.previous = e;
                        piece.next = next;
                        e->next = &piece;
                        if (next)
                            next->previous = &piece;
                        previous = &piece;
                    } else {
                        piece.startX = cx;
                        piece.startY = cy;
                        piece.endX = e->startX;
                        piece.endY = e->startY;
                        e->groupStart = 0;
                        piece.previous = e->previous;
                        piece.next = e;
                        if (e->previous)
                            e->previous->next = &piece;
                        else
                            first_ = &piece;
                        e->previous = &piece;
                    }
                    MakeStraight(piece);
                    ++count_;
                }
            }
        }
        e = next;
    }

    // Room to sort the largest group (no group holds more than every edge):
    // on the stack for the shapes most movies hold.
    PVShapeSortItem local[kSortItemsOnStack];
    std::unique_ptr<PVShapeSortItem[]> heap;
    PVShapeSortItem* order = local;
    if (count_ > kSortItemsOnStack) {
        heap.reset(new (std::nothrow) PVShapeSortItem[count_]);
        if (!heap)
            return false;
        order = heap.get();
    }
    for (PVShapeEdge* group = first_; group;) {
        PVShapeEdge* end = group->next;
        while (end && !end->groupStart)
            end = end->next;
        PrepareGroup(group, end, order);
        group = end;
    }
    return true;
}

void PVShape::PrepareGroup(PVShapeEdge* first, PVShapeEdge* end, PVShapeSortItem* order)
{
    int count = 0;
    for (PVShapeEdge* e = first; e != end; e = e->next) {
        if (!e->fill0 && !e->fill1)
            continue;
        if (e->startY > e->endY || (e->startY == e->endY && e->startX >= e->endX)) {
            std::swap(e->startX, e->endX);
            std::swap(e->startY, e->endY);
            std::swap(e->fill0, e->fill1);
            e->reversed = 1;
        }
        if (e->straight) {
            e->controlX = e->endX;
            e->controlY = e->endY;
        }
        order[count] = {e->startY, e->startX, e, count};
        ++count;
    }
    std::sort(order, order + count,
              [](const PVShapeSortItem& a, const PVShapeSortItem& b) { return Before(a, b); });
    PVShapeEdge* chain = nullptr;
    PVShapeEdge** tail = &chain;
    for (int i = 0; i < count; ++i) {
        *tail = order[i].edge;
        tail = &order[i].edge->sortLink;
    }
    *tail = nullptr;

    // Runs of coinciding edges become their first edge, which takes the
    // first fill found for each side (and a line when it has none, so a
    // stroke drawn on a duplicate is not lost).
    for (PVShapeEdge* head = chain; head;) {
        PVShapeEdge* e = head->sortLink;
        while (e && Coincide(*head, *e)) {
            if (!head->fill0)
                head->fill0 = e->fill0;
            if (!head->fill1)
                head->fill1 = e->fill1;
            if (!head->line)
                head->line = e->line;
            Unlink(e);
            e = e->sortLink;
        }
        head = e;
    }
}
