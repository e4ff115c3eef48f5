#pragma once
#include "player/engine/PVGeometry.h"

// An axis-aligned box in twips that may be empty. Display lists collect the
// bounds of what they show and of what changed in these.
struct PVBounds {
    float xmin = 0;
    float xmax = 0;
    float ymin = 0;
    float ymax = 0;
    bool empty = true;

    static PVBounds Of(float xmin, float xmax, float ymin, float ymax) { return {xmin, xmax, ymin, ymax, false}; }

    // An empty box takes the other; an empty other changes nothing.
    void Union(const PVBounds& other)
    {
        if (other.empty)
            return;
        if (empty) {
            *this = other;
            return;
        }
        if (other.xmin < xmin)
            xmin = other.xmin;
        if (other.xmax > xmax)
            xmax = other.xmax;
        if (other.ymin < ymin)
            ymin = other.ymin;
        if (other.ymax > ymax)
            ymax = other.ymax;
    }

    // The axis-aligned box of the four corners mapped by `m`; empty stays empty.
    PVBounds Transformed(const PVMatrix& m) const
    {
        if (empty)
            return *this;
        const float xs[2] = {xmin, xmax};
        const float ys[2] = {ymin, ymax};
        PVBounds out;
        for (float x : xs) {
            for (float y : ys) {
                const float tx = x * m.scaleX + y * m.rotateSkew1 + m.translateX;
                const float ty = x * m.rotateSkew0 + y * m.scaleY + m.translateY;
                out.Union(Of(tx, tx, ty, ty));
            }
        }
        return out;
    }
};
