#pragma once
#include "addin/imaging/drawing/DrawMaskFilter.h"

// Lights a shape as if raised: its blurred coverage is taken as a height
// field, each pixel's surface normal is lit from the direction, and the
// result becomes the mask's multiply plane (ambient plus diffuse light) and
// add plane (specular highlight). The coverage itself is kept.
class EmbossMaskFilter : public DrawMaskFilter {
public:
    // direction points from the surface towards the light (x right, y down, z
    // out of the screen); ambient 0..1 lights every pixel; specular 0..1 is
    // the strength of the highlight. Null for a zero direction, a blur radius
    // of 0 or less, or values that are not numbers.
    static EmbossMaskFilter* Create(const float direction[3], float ambient, float specular, float blurRadius);

    int GetMargin() const override { return m_blurRadius; }
    bool Filter(DrawMask& mask) const override;

private:
    EmbossMaskFilter() = default;

    float m_light[3] = {0, 0, 1};
    float m_ambient = 0;
    float m_specular = 0;
    int m_blurRadius = 1;
};
