#pragma once
#include "player/engine/PVGeometry.h"

// Operations on the matrix and colour transform records.

// The matrix that applies `inner`, then `outer`.
PVMatrix PVConcatMatrix(const PVMatrix& outer, const PVMatrix& inner);
// The inverse; a matrix without one (zero determinant) gives the identity.
PVMatrix PVInvertMatrix(const PVMatrix& m);
// Negative for a matrix that mirrors (whatever it also turns or skews).
inline float PVDeterminant(const PVMatrix& m)
{
    return m.scaleX * m.scaleY - m.rotateSkew1 * m.rotateSkew0;
}
// The mean length of the images of the unit vectors: how much a line width
// grows under `m`. Equals (|scale x| + |scale y|) / 2 for a matrix that does
// not turn, and keeps its value under any rotation.
float PVMeanScale(const PVMatrix& m);
inline float PVMapX(const PVMatrix& m, float x, float y)
{
    return x * m.scaleX + y * m.rotateSkew1 + m.translateX;
}
inline float PVMapY(const PVMatrix& m, float x, float y)
{
    return x * m.rotateSkew0 + y * m.scaleY + m.translateY;
}

// add + (multiplier * c >> 8), clamped to 0-255; null is the identity.
PVRGBA PVApplyCxform(const PVCxform* cxform, const PVRGBA& color);
// `outer` after `inner` (either may be null) into `out`; answers &out, or
// null when the result is the identity.
const PVCxform* PVConcatCxform(const PVCxform* outer, const PVCxform* inner, PVCxform& out);
bool PVIsIdentity(const PVCxform& cxform);
