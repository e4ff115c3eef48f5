#include "addin/imaging/drawing/DrawMatrix.h"

#include <math.h>

void DrawMatrix::Reset()
{
    static const float identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    SetAll(identity);
    m_typeMask = kIdentityMask | kRectStaysRectMask;
}

void DrawMatrix::SetAll(const float values[9])
{
    for (int i = 0; i < 9; ++i)
        m_values[i] = values[i];
    m_typeMask = kUnknownMask;
}

DrawMatrix DrawMatrix::Translate(float dx, float dy)
{
    DrawMatrix m;
    m.m_values[kTransX] = dx;
    m.m_values[kTransY] = dy;
    m.m_typeMask = kUnknownMask;
    return m;
}

uint32_t DrawMatrix::ComputeType() const
{
    const float* v = m_values;
    if (v[kPersp0] != 0 || v[kPersp1] != 0 || v[kPersp2] != 1)
        return kTranslateMask | kScaleMask | kAffineMask | kPerspectiveMask;
    uint32_t mask = 0;
    if (v[kTransX] != 0 || v[kTransY] != 0)
        mask |= kTranslateMask;
    if (v[kScaleX] != 1 || v[kScaleY] != 1)
        mask |= kScaleMask;
    if (v[kSkewX] != 0 || v[kSkewY] != 0) {
        mask |= kAffineMask;
        // A 90-degree rotation (diagonal zero) still keeps rectangles.
        if (v[kScaleX] == 0 && v[kScaleY] == 0 && v[kSkewX] != 0 && v[kSkewY] != 0)
            mask |= kRectStaysRectMask;
    } else if (v[kScaleX] != 0 && v[kScaleY] != 0) {
        mask |= kRectStaysRectMask;
    }
    return mask;
}

uint32_t DrawMatrix::GetType() const
{
    if (m_typeMask & kUnknownMask)
        m_typeMask = ComputeType();
    return m_typeMask & 0xF;
}

void DrawMatrix::PreConcat(const DrawMatrix& other)
{
    const float* a = m_values;
    const float* b = other.m_values;
    float r[9];
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            r[row * 3 + column] = float(double(a[row * 3]) * b[column] + double(a[row * 3 + 1]) * b[3 + column] +
                                        double(a[row * 3 + 2]) * b[6 + column]);
    SetAll(r);
}

void DrawMatrix::PreConcatLinear(float scaleX, float skewX, float skewY, float scaleY)
{
    const float values[9] = {scaleX, skewX, 0, skewY, scaleY, 0, 0, 0, 1};
    DrawMatrix m;
    m.SetAll(values);
    PreConcat(m);
}

bool DrawMatrix::PreTranslate(float dx, float dy)
{
    PreConcat(Translate(dx, dy));
    return true;
}

bool DrawMatrix::PreScale(float sx, float sy)
{
    PreConcatLinear(sx, 0, 0, sy);
    return true;
}

bool DrawMatrix::PreRotate(float degrees)
{
    double radians = double(degrees) * 3.14159265358979323846 / 180.0;
    float s = float(sin(radians)), c = float(cos(radians));
    // Exact quarter turns keep rectangles exact.
    if (fabsf(s) < 1e-7f)
        s = 0;
    if (fabsf(c) < 1e-7f)
        c = 0;
    PreConcatLinear(c, -s, s, c);
    return true;
}

bool DrawMatrix::PreSkew(float sx, float sy)
{
    PreConcatLinear(1, sx, sy, 1);
    return true;
}

bool DrawMatrix::Invert(DrawMatrix* inverse) const
{
    const double a = m_values[0], b = m_values[1], c = m_values[2];
    const double d = m_values[3], e = m_values[4], f = m_values[5];
    const double g = m_values[6], h = m_values[7], i = m_values[8];
    double c00 = e * i - f * h, c01 = c * h - b * i, c02 = b * f - c * e;
    double c10 = f * g - d * i, c11 = a * i - c * g, c12 = c * d - a * f;
    double c20 = d * h - e * g, c21 = b * g - a * h, c22 = a * e - b * d;
    double det = a * c00 + b * c10 + c * c20;
    if (!(fabs(det) > 1e-12) || !isfinite(det))
        return false;
    double s = 1.0 / det;
    const float r[9] = {float(c00 * s), float(c01 * s), float(c02 * s), float(c10 * s), float(c11 * s),
                        float(c12 * s), float(c20 * s), float(c21 * s), float(c22 * s)};
    inverse->SetAll(r);
    return true;
}

void DrawMatrix::MapPoint(float x, float y, float* outX, float* outY) const
{
    const float* v = m_values;
    double mx = double(v[kScaleX]) * x + double(v[kSkewX]) * y + v[kTransX];
    double my = double(v[kSkewY]) * x + double(v[kScaleY]) * y + v[kTransY];
    if (HasPerspective()) {
        double w = double(v[kPersp0]) * x + double(v[kPersp1]) * y + v[kPersp2];
        if (w != 0) {
            mx /= w;
            my /= w;
        }
    }
    *outX = float(mx);
    *outY = float(my);
}
