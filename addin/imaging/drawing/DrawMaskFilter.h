#pragma once
#include "addin/imaging/drawing/DrawRefCounted.h"

#include <stdint.h>
#include <vector>

// A shape's coverage in device pixels (packed rows of `width` bytes), and,
// once a lighting filter ran, per-pixel planes that modulate the colour drawn
// through it: colour x multiply / 255 + add, kept within the pixel's alpha.
struct DrawMask {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> alpha;
    std::vector<uint8_t> multiply;
    std::vector<uint8_t> add;

    bool IsLit() const { return !multiply.empty(); }
};

// Changes a shape's coverage before its paint is drawn through it (blurs,
// embossing). Immutable once made, so paints share it.
class DrawMaskFilter : public DrawRefCounted {
public:
    // How far coverage may spread beyond the shape, in device pixels: the
    // canvas renders the shape with this margin so that spread from outside
    // the device still arrives.
    virtual int GetMargin() const = 0;
    // False when memory runs out (the shape is then not drawn).
    virtual bool Filter(DrawMask& mask) const = 0;
};
