#pragma once
#include <string>

class PVShape;

// Text forms of a shape for golden comparisons. Edges, one a line in list
// order: "L x0,y0 x1,y1 f=A,B l=C" or "C x0,y0 x1,y1 c=cx,cy f=A,B l=C",
// then " G" for a group start and " R" for a reversed edge. Styles are named
// by their 1-based index in the first array, "a.i" in later arrays, "-" for
// none.
std::string DumpEdges(const PVShape& shape);
// Styles, one a line: "fill 1 solid R,G,B,A", "fill 2 gradient16 n=2
// 0:R,G,B,A 255:R,G,B,A m=sx,sy,r0,r1,tx,ty", "fill 3 bitmap64 id=7 m=...",
// "line 1 w=20 R,G,B,A"; then "bounds xmin,xmax,ymin,ymax" (+ " empty").
std::string DumpStyles(const PVShape& shape);
