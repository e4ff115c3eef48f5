#include "addin/imaging/drawing/DrawPaint.h"

DrawPaint::DrawPaint(const DrawPaint& other) : DrawPaint() { *this = other; }

DrawPaint& DrawPaint::operator=(const DrawPaint& other)
{
    if (this != &other) {
        SetShader(other.m_shader);
        SetMaskFilter(other.m_maskFilter);
        SetLooper(other.m_looper);
        m_color = other.m_color;
        m_style = other.m_style;
        m_flags = other.m_flags;
        m_strokeWidth = other.m_strokeWidth;
        m_miter = other.m_miter;
        m_cap = other.m_cap;
        m_join = other.m_join;
        m_mode = other.m_mode;
    }
    return *this;
}

DrawPaint::~DrawPaint()
{
    SetShader(nullptr);
    SetMaskFilter(nullptr);
    SetLooper(nullptr);
}

void DrawPaint::SetStyle(Style style)
{
    if (style >= kFill && style <= kStrokeAndFill)
        m_style = style;
}

void DrawPaint::SetStrokeWidth(float width)
{
    if (width >= 0)
        m_strokeWidth = width;
}

void DrawPaint::SetStrokeMiter(float miter)
{
    if (miter >= 0)
        m_miter = miter;
}

void DrawPaint::SetStrokeCap(Cap cap)
{
    if (cap >= kButtCap && cap <= kSquareCap)
        m_cap = cap;
}

void DrawPaint::SetStrokeJoin(Join join)
{
    if (join >= kMiterJoin && join <= kBevelJoin)
        m_join = join;
}

void DrawPaint::SetShader(DrawShader* shader) { AssignRef(m_shader, shader); }

void DrawPaint::SetTransferMode(int32_t mode)
{
    if (mode == kSrcOver)
        m_mode = kNoMode;
    else if (mode >= kClear && mode <= kAdd)
        m_mode = mode;
}
