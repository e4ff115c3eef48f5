#pragma once
#include <stdint.h>

// The 3 x 3 matrix of the drawing interface as it crosses the interface: nine
// floats (scale-x, skew-x, translate-x, skew-y, scale-y, translate-y,
// perspective 0, 1, 2) and a type mask; a mask with kUnknownMask set is
// recomputed on use.
class DrawMatrix {
public:
    enum TypeMask : uint32_t {
        kIdentityMask = 0,
        kTranslateMask = 0x01,
        kScaleMask = 0x02,
        kAffineMask = 0x04,
        kPerspectiveMask = 0x08,
        kRectStaysRectMask = 0x10,
        kUnknownMask = 0x80,
    };
    enum Index { kScaleX, kSkewX, kTransX, kSkewY, kScaleY, kTransY, kPersp0, kPersp1, kPersp2 };

    DrawMatrix() { Reset(); }

    void Reset();
    void SetAll(const float values[9]);
    float Get(int index) const { return m_values[index]; }
    void Set(int index, float value)
    {
        m_values[index] = value;
        m_typeMask = kUnknownMask;
    }

    // The type bits (translate, scale, affine, perspective).
    uint32_t GetType() const;
    bool IsIdentity() const { return GetType() == 0; }
    bool HasPerspective() const { return (GetType() & kPerspectiveMask) != 0; }

    // this = this * other (other applies first).
    void PreConcat(const DrawMatrix& other);
    bool PreTranslate(float dx, float dy);
    bool PreScale(float sx, float sy);
    bool PreRotate(float degrees);
    bool PreSkew(float sx, float sy);
    // False, leaving `inverse` alone, when the matrix cannot be inverted.
    bool Invert(DrawMatrix* inverse) const;
    void MapPoint(float x, float y, float* outX, float* outY) const;

    static DrawMatrix Translate(float dx, float dy);

private:
    uint32_t ComputeType() const;
    void PreConcatLinear(float scaleX, float skewX, float skewY, float scaleY);

    float m_values[9];
    mutable uint32_t m_typeMask;
};
static_assert(sizeof(DrawMatrix) == 40, "the matrix crosses the interface as 40 bytes");
