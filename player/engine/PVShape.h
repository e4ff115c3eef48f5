#pragma once
#include "player/engine/PVBounds.h"
#include "player/engine/PVChar.h"
#include "player/engine/PVShapeEdge.h"
#include "player/engine/PVShapeStyles.h"
#include "player/engine/PVTArray.h"

// Shape character (type 1), also used for font glyphs (id 0) and the three
// shapes of a morph. Owns its style arrays and edges. The edge list (what
// the drawer walks, group by group) links the edges as read plus pieces
// that preparation inserted; those are kept apart at stable addresses.
class PVGradTexList;

struct PVShapeSortItem;

class PVShape : public PVChar {
public:
    explicit PVShape(int id) : PVChar(kShape, id) {}
    ~PVShape() override;

    const PVBounds& Bounds() const { return bounds_; }
    void SetBounds(const PVBounds& bounds) { bounds_ = bounds; }
    PVBounds DisplayBounds() const override { return bounds_; }
    const PVShape* FillStyles() const override { return this; }

    // The edges as read; LinkEdges makes them the edge list again.
    PVTArray<PVShapeEdge>& Edges() { return edges_; }
    const PVTArray<PVShapeEdge>& Edges() const { return edges_; }
    PVShapeEdge* FirstEdge() const { return first_; }
    int EdgeCount() const { return count_; }

    // New empty arrays owned by the shape; null when memory runs out.
    PVFillStyleArray* AddFillArray();
    PVLineStyleArray* AddLineArray();
    int FillArrayCount() const { return fills_.Count(); }
    int LineArrayCount() const { return lines_.Count(); }
    PVFillStyleArray* FillArray(int i) const { return fills_[i]; }
    PVLineStyleArray* LineArray(int i) const { return lines_[i]; }

    // Links the edges as read, in array order, as the edge list.
    void LinkEdges();
    // Readies the list for the scan-line filler: drops empty edges, turns
    // degenerate curves straight, orients filled edges downward and merges
    // coinciding ones group by group. Expects the list as LinkEdges made it
    // (earlier inserted pieces are dropped). False when memory runs out.
    bool PrepareEdges();
    // Swaps the fills of edges whose sides disagree with a left-to-right
    // reading of the shape (paths drawn without regard to fill sides).
    // False when memory runs out.
    bool RepairFillSides();

    // Gives every gradient fill its texture entry from `cache` (one
    // reference each, dropped with the shape). False when one cannot be had.
    bool PrepareGradients(PVGradTexList& cache);

    // Morph support; both shapes have style arrays of the same sizes. Fill
    // and line entries are copied entry by entry into the existing arrays;
    // copied fills hold their own references to gradient textures.
    void CopyFillStylesFrom(const PVShape& source);
    void CopyLineStylesFrom(const PVShape& source);
    // Copies bounds and edges (styles moved from the source's first arrays
    // to this shape's first arrays at the same index), then LinkEdges. False
    // when memory runs out.
    bool CopyEdgesFrom(const PVShape& source);

    // Rebased style references: the entry of this shape's first array at
    // the index `entry` has in the source's first array, or null.
    PVFillStyle* RebaseFill(const PVShape& source, const PVFillStyle* entry) const;
    PVLineStyle* RebaseLine(const PVShape& source, const PVLineStyle* entry) const;

private:
    void Unlink(PVShapeEdge* edge);
    void PrepareGroup(PVShapeEdge* first, PVShapeEdge* end, PVShapeSortItem* order);

    PVBounds bounds_;
    PVTArray<PVShapeEdge> edges_;
    PVTArray<PVShapeEdge> extras_;
    PVTArray<PVFillStyleArray*> fills_;
    PVTArray<PVLineStyleArray*> lines_;
    PVShapeEdge* first_ = nullptr;
    int count_ = 0;
};
