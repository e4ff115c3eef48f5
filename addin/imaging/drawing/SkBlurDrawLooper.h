#pragma once
#include "addin/imaging/drawing/DrawLooper.h"

#include <stdint.h>

class DrawMaskFilter;
class DrawShader;

namespace vqz_skia {

// A shadow under every draw: first the shape offset by (dx, dy), blurred and
// in the shadow colour without the paint's shader, then the shape as the
// paint says. A paint that already has a mask filter draws once, without
// shadow. Afterwards the paint has its colour and shader back and no mask
// filter.
class SkBlurDrawLooper : public DrawLooper {
public:
    // No blur for a radius of 0 or less: the shadow pass is then sharp.
    SkBlurDrawLooper(float radius, float dx, float dy, uint32_t color);

    void Init(DrawCanvas* canvas, DrawPaint* paint) override;
    bool Next() override;
    void Restore() override;

private:
    ~SkBlurDrawLooper() override;
    void RestorePaint();

    // kPlainOnly: the paint had its own mask filter, so the one pass left
    // is the normal one.
    enum State { kBeforeShadow = 0, kAfterShadow = 1, kDone = 2, kPlainOnly = 3 };

    DrawCanvas* m_canvas = nullptr;
    DrawPaint* m_paint = nullptr;
    DrawMaskFilter* m_blur = nullptr;
    float m_dx;
    float m_dy;
    uint32_t m_blurColor;
    uint32_t m_savedColor = 0;
    int m_saveCount = 0;
    DrawShader* m_savedShader = nullptr;
    State m_state = kDone;
};

}  // namespace vqz_skia
