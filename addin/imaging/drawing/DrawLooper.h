#pragma once
#include "addin/imaging/drawing/DrawRefCounted.h"

class DrawCanvas;
class DrawPaint;

// Draws one shape in several passes, changing the paint and the canvas
// between them. The canvas calls Init once per draw, then draws once for each
// Next that answers true, and calls Restore when a draw stops early. The
// looper keeps the state of the draw in progress, so one looper serves one
// draw at a time.
class DrawLooper : public DrawRefCounted {
public:
    // The canvas and paint must outlive the draw.
    virtual void Init(DrawCanvas* canvas, DrawPaint* paint) = 0;
    virtual bool Next() = 0;
    virtual void Restore() = 0;
};
