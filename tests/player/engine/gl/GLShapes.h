#pragma once
#include <cstdint>

#include "fixtures/SwfShapeWriter.h"

// Paths for the pixel tests, in twips. Clockwise paths on screen have
// their inside on the right (fill 1); counter-clockwise ones on the left.

// A box going clockwise.
SwfShapeWriter& AddBox(SwfShapeWriter& shape, int x, int y, int w, int h, int fill);
// A circle of 8 quadratic curves; clockwise, or counter-clockwise when
// `hole` is set (with its fill still on the ring's side).
SwfShapeWriter& AddCircle(SwfShapeWriter& shape, int cx, int cy, int r, int fill, bool hole = false);
// Matrix with scale (16.16) and translation (twips).
SwfMatrix MakeMatrix(double sx, double sy, int tx, int ty);
