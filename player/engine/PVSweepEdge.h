#pragma once

struct PVFillStyle;

// One edge piece of the fill sweep, in window pixels with y growing
// downwards: monotone in x and y, oriented so that y0 <= y1. Fill 0 lies on
// its east side, fill 1 on its west side (the shape edge's fills the other
// way round, see BuildEdges). While the piece is active its top
// end is where the spans it bounds, not yet drawn, begin.
struct PVSweepEdge {
    bool straight;
    float x0, y0;  // top end
    float x1, y1;  // bottom end
    float cx, cy;  // control point; the bottom end for straight pieces
    const PVFillStyle* fill0;
    const PVFillStyle* fill1;
};
