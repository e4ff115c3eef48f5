#pragma once
#include "addin/imaging/drawing/DrawMaskFilter.h"

// Blurs coverage with a radius (device pixels, as the drawing interface
// passes it) and combines the blur with the shape by the style.
class BlurMaskFilter : public DrawMaskFilter {
public:
    enum Style : int32_t {
        kNormal = 0,  // the blur, inside and out
        kSolid = 1,   // the shape solid, the blur outside it
        kOuter = 2,   // the blur outside the shape only
        kInner = 3,   // the blur inside the shape only
    };

    // Null for a radius of 0 or less (or not a number) or an unknown style.
    static BlurMaskFilter* Create(float radius, int32_t style);

    int GetMargin() const override { return m_blurRadius; }
    bool Filter(DrawMask& mask) const override;

    // Blurs packed rows of alpha in place with the stack blur of that radius.
    static bool BlurAlpha(uint8_t* alpha, int width, int height, int radius);
    // The stack-blur radius whose spread matches a blur of that radius.
    static int StackRadiusFor(float radius);

private:
    BlurMaskFilter(int blurRadius, Style style) : m_blurRadius(blurRadius), m_style(style) {}

    int m_blurRadius;
    Style m_style;
};
