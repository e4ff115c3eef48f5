#include "player/engine/PVTransform.h"

#include <algorithm>
#include <cmath>

PVMatrix PVConcatMatrix(const PVMatrix& o, const PVMatrix& i)
{
    PVMatrix m;
    m.scaleX = o.scaleX * i.scaleX + o.rotateSkew1 * i.rotateSkew0;
    m.rotateSkew0 = o.rotateSkew0 * i.scaleX + o.scaleY * i.rotateSkew0;
    m.rotateSkew1 = o.scaleX * i.rotateSkew1 + o.rotateSkew1 * i.scaleY;
    m.scaleY = o.rotateSkew0 * i.rotateSkew1 + o.scaleY * i.scaleY;
    m.translateX = o.scaleX * i.translateX + o.rotateSkew1 * i.translateY + o.translateX;
    m.translateY = o.rotateSkew0 * i.translateX + o.scaleY * i.translateY + o.translateY;
    return m;
}

PVMatrix PVInvertMatrix(const PVMatrix& m)
{
    const float det = PVDeterminant(m);
    if (det == 0)
        return PVMatrix();
    PVMatrix r;
    r.scaleX = m.scaleY / det;
    r.scaleY = m.scaleX / det;
    r.rotateSkew0 = -m.rotateSkew0 / det;
    r.rotateSkew1 = -m.rotateSkew1 / det;
    r.translateX = -(r.scaleX * m.translateX + r.rotateSkew1 * m.translateY);
    r.translateY = -(r.rotateSkew0 * m.translateX + r.scaleY * m.translateY);
    return r;
}

float PVMeanScale(const PVMatrix& m)
{
    return 0.5f * (std::hypot(m.scaleX, m.rotateSkew0) + std::hypot(m.rotateSkew1, m.scaleY));
}

namespace {

uint8_t Apply(int add, int mult, uint8_t c)
{
    return static_cast<uint8_t>(std::clamp(add + ((mult * c) >> 8), 0, 255));
}

int16_t Mult(int o, int i)
{
    return static_cast<int16_t>((o * i) >> 8);
}

int16_t Add(int oAdd, int oMult, int iAdd)
{
    return static_cast<int16_t>(((iAdd * oMult) >> 8) + oAdd);
}

}  // namespace

PVRGBA PVApplyCxform(const PVCxform* x, const PVRGBA& c)
{
    if (!x)
        return c;
    return {Apply(x->addRed, x->multRed, c.red), Apply(x->addGreen, x->multGreen, c.green),
            Apply(x->addBlue, x->multBlue, c.blue), Apply(x->addAlpha, x->multAlpha, c.alpha)};
}

bool PVIsIdentity(const PVCxform& x)
{
    return x.addRed == 0 && x.addGreen == 0 && x.addBlue == 0 && x.addAlpha == 0 && x.multRed == 256 &&
           x.multGreen == 256 && x.multBlue == 256 && x.multAlpha == 256;
}

const PVCxform* PVConcatCxform(const PVCxform* outer, const PVCxform* inner, PVCxform& out)
{
    if (!outer || !inner) {
        const PVCxform* only = outer ? outer : inner;
        if (!only || PVIsIdentity(*only))
            return nullptr;
        out = *only;
        return &out;
    }
    out.multRed = Mult(outer->multRed, inner->multRed);
    out.multGreen = Mult(outer->multGreen, inner->multGreen);
    out.multBlue = Mult(outer->multBlue, inner->multBlue);
    out.multAlpha = Mult(outer->multAlpha, inner->multAlpha);
    out.addRed = Add(outer->addRed, outer->multRed, inner->addRed);
    out.addGreen = Add(outer->addGreen, outer->multGreen, inner->addGreen);
    out.addBlue = Add(outer->addBlue, outer->multBlue, inner->addBlue);
    out.addAlpha = Add(outer->addAlpha, outer->multAlpha, inner->addAlpha);
    return PVIsIdentity(out) ? nullptr : &out;
}
