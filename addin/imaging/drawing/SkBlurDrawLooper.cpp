#include "addin/imaging/drawing/SkBlurDrawLooper.h"

#include "addin/imaging/drawing/BlurMaskFilter.h"
#include "addin/imaging/drawing/DrawCanvas.h"
#include "addin/imaging/drawing/DrawPaint.h"

namespace vqz_skia {

SkBlurDrawLooper::SkBlurDrawLooper(float radius, float dx, float dy, uint32_t color)
    : m_blur(radius > 0 ? BlurMaskFilter::Create(radius, BlurMaskFilter::kNormal) : nullptr), m_dx(dx), m_dy(dy),
      m_blurColor(color)
{
}

SkBlurDrawLooper::~SkBlurDrawLooper()
{
    if (m_blur)
        m_blur->Release();
    if (m_savedShader)
        m_savedShader->Release();
}

void SkBlurDrawLooper::Init(DrawCanvas* canvas, DrawPaint* paint)
{
    m_canvas = canvas;
    m_paint = paint;
    m_state = paint->GetMaskFilter() ? kPlainOnly : kBeforeShadow;
    m_saveCount = canvas->GetSaveCount();
}

bool SkBlurDrawLooper::Next()
{
    switch (m_state) {
    case kBeforeShadow:
        m_savedColor = m_paint->GetColor();
        m_paint->SetColor(m_blurColor);
        AssignRef(m_savedShader, m_paint->GetShader());
        m_paint->SetShader(nullptr);
        m_paint->SetMaskFilter(m_blur);
        m_canvas->Save(DrawCanvas::kMatrixSave);
        m_canvas->Translate(m_dx, m_dy);
        m_state = kAfterShadow;
        return true;
    case kAfterShadow:
        RestorePaint();
        return true;
    case kPlainOnly:
        m_state = kDone;
        return true;
    default:
        return false;
    }
}

void SkBlurDrawLooper::Restore()
{
    if (m_state == kAfterShadow)
        RestorePaint();
}

void SkBlurDrawLooper::RestorePaint()
{
    m_paint->SetColor(m_savedColor);
    m_paint->SetShader(m_savedShader);
    AssignRef(m_savedShader, static_cast<DrawShader*>(nullptr));
    m_paint->SetMaskFilter(nullptr);
    m_canvas->RestoreToCount(m_saveCount);
    m_state = kDone;
}

}  // namespace vqz_skia
