#pragma once
#include "player/engine/PVSweepEdge.h"

// Geometry of the sweep's monotone quadratic pieces.

// The parameter (0-1) at which the piece reaches `y`.
float PVSweepT(const PVSweepEdge& piece, float y);
// The piece's x at `y`.
float PVSweepX(const PVSweepEdge& piece, float y);
// The part of the piece between the parameters `ta` < `tb` (curves keep
// their shape exactly; straight pieces stay straight).
PVSweepEdge PVSweepPart(const PVSweepEdge& piece, float ta, float tb);
// Makes a curve straight when its control point lies within 1 pixel of an
// end (in both x and y).
void PVSweepStraighten(PVSweepEdge& piece);
