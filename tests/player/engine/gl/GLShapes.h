#pragma once
#include <cstdint>

#include "fixtures/SwfShapeWriter.h"

// Paths for the pixel tests, in twips. Paths going clockwise on screen
// have their inside as fill 0, as movie writers such as ffmpeg put it.

// A box going clockwise.
SwfShapeWriter& AddBox(SwfShapeWriter& shape, int x, int y, int w, int h, int fill);
// A circle of 8 quadratic curves; clockwise, or counter-clockwise when
// `hole` is set (with its fill still on the ring's side).
SwfShapeWriter& AddCircle(SwfShapeWriter& shape, int cx, int cy, int r, int fill, bool hole = false);
// Matrix with scale (16.16) and translation (twips).
SwfMatrix MakeMatrix(double sx, double sy, int tx, int ty);
