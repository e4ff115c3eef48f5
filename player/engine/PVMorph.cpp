#include "player/engine/PVMorph.h"

#include <algorithm>
#include <new>

#include "player/engine/PVShape.h"

namespace {

// Blended as a + (b - a) t, so values equal in both halves come out exactly
// as they are; integers are truncated toward zero.
int32_t Blend(int32_t a, int32_t b, double t)
{
    return static_cast<int32_t>(a + (double(b) - a) * t);
}

uint8_t Blend(uint8_t a, uint8_t b, double t)
{
    return static_cast<uint8_t>(Blend(int32_t(a), int32_t(b), t));
}

float Blend(float a, float b, double t)
{
    return static_cast<float>(a + (double(b) - a) * t);
}

PVRGBA Blend(const PVRGBA& a, const PVRGBA& b, double t)
{
    return {Blend(a.red, b.red, t), Blend(a.green, b.green, t), Blend(a.blue, b.blue, t), Blend(a.alpha, b.alpha, t)};
}

PVMatrix Blend(const PVMatrix& a, const PVMatrix& b, double t)
{
    return {Blend(a.scaleX, b.scaleX, t),           Blend(a.scaleY, b.scaleY, t),
            Blend(a.rotateSkew0, b.rotateSkew0, t), Blend(a.rotateSkew1, b.rotateSkew1, t),
            Blend(a.translateX, b.translateX, t),   Blend(a.translateY, b.translateY, t)};
}

}  // namespace

PVMorph* PVMorph::Create(int id)
{
    auto* morph = new (std::nothrow) PVMorph(id);
    if (!morph)
        return nullptr;
    morph->start_ = new (std::nothrow) PVShape(id);
    morph->end_ = new (std::nothrow) PVShape(id);
    morph->result_ = new (std::nothrow) PVShape(id);
    if (!morph->start_ || !morph->end_ || !morph->result_) {
        delete morph;
        return nullptr;
    }
    return morph;
}

PVMorph::~PVMorph()
{
    delete start_;
    delete end_;
    delete result_;
}

void PVMorph::SetDiffers(bool fills, bool lines, bool edges)
{
    fillsDiffer_ = fills;
    linesDiffer_ = lines;
    edgesDiffer_ = edges;
}

PVBounds PVMorph::DisplayBounds() const
{
    return result_->Bounds();
}

bool PVMorph::SetRatio(int ratio)
{
    if (ratio == ratio_)
        return true;
    ratio_ = ratio;
    if (ratio == 0 || ratio == 65535 || !(fillsDiffer_ || linesDiffer_ || edgesDiffer_)) {
        const PVShape& from = ratio == 65535 ? *end_ : *start_;
        if (fillsDiffer_)
            result_->CopyFillStylesFrom(from);
        if (linesDiffer_)
            result_->CopyLineStylesFrom(from);
        if (edgesDiffer_ && !result_->CopyEdgesFrom(from))
            return false;
        return PrepareResult(edgesDiffer_);
    }
    const double t = ratio / 65535.0;
    if (edgesDiffer_)
        BlendEdges(t);
    // A blended gradient is drawn from a texture of its own.
    if (fillsDiffer_) {
        BlendFills(t);
        if (gradients_ && !result_->PrepareGradients(*gradients_))
            return false;
    }
    if (linesDiffer_)
        BlendLines(t);
    return PrepareResult(edgesDiffer_);
}

bool PVMorph::PrepareResult(bool edgesChanged)
{
    if (!edgesChanged && prepared_)
        return true;
    if (!edgesChanged)
        result_->LinkEdges();
    prepared_ = result_->PrepareEdges();
    return prepared_;
}

void PVMorph::BlendEdges(double t)
{
    PVTArray<PVShapeEdge>& out = result_->Edges();
    const PVTArray<PVShapeEdge>& a = start_->Edges();
    const PVTArray<PVShapeEdge>& b = end_->Edges();
    int32_t xmin = 0, xmax = 0, ymin = 0, ymax = 0;
    auto extend = [&](int32_t x, int32_t y, bool first) {
        xmin = first ? x : std::min(xmin, x);
        xmax = first ? x : std::max(xmax, x);
        ymin = first ? y : std::min(ymin, y);
        ymax = first ? y : std::max(ymax, y);
    };
    for (int i = 0; i < out.Count(); ++i) {
        const PVShapeEdge& s = a[i];
        const PVShapeEdge& e = b[i];
        PVShapeEdge& r = out[i];
        r.startX = Blend(s.startX, e.startX, t);
        r.startY = Blend(s.startY, e.startY, t);
        r.endX = Blend(s.endX, e.endX, t);
        r.endY = Blend(s.endY, e.endY, t);
        r.straight = s.straight && e.straight;
        if (r.straight) {
            r.controlX = r.endX;
            r.controlY = r.endY;
        } else {
            r.controlX = Blend(s.controlX, e.controlX, t);
            r.controlY = Blend(s.controlY, e.controlY, t);
        }
        r.groupStart = s.groupStart;
        r.reversed = 0;
        // Preparation swaps the fills of edges it turns around, so the sides
        // come afresh from the start edge each time.
        r.fill0 = result_->RebaseFill(*start_, s.fill0);
        r.fill1 = result_->RebaseFill(*start_, s.fill1);
        r.line = result_->RebaseLine(*start_, s.line);
        extend(r.startX, r.startY, i == 0);
        extend(r.endX, r.endY, false);
        if (!r.straight)
            extend(r.controlX, r.controlY, false);
    }
    // An edge-less result has zero bounds, marked empty.
    PVBounds bounds = PVBounds::Of(float(xmin), float(xmax), float(ymin), float(ymax));
    bounds.empty = out.Count() == 0;
    result_->SetBounds(bounds);
    result_->LinkEdges();
}

void PVMorph::BlendFills(double t)
{
    PVTArray<PVFillStyle>& out = result_->FillArray(0)->entries;
    const PVTArray<PVFillStyle>& a = start_->FillArray(0)->entries;
    const PVTArray<PVFillStyle>& b = end_->FillArray(0)->entries;
    for (int i = 0; i < out.Count(); ++i) {
        PVFillStyle& r = out[i];
        const PVFillStyle& s = a[i];
        const PVFillStyle& e = b[i];
        switch (r.kind) {
        case PVFillStyle::kSolid:
            r.color = Blend(s.color, e.color, t);
            break;
        case PVFillStyle::kLinearGradient:
        case PVFillStyle::kRadialGradient:
            r.gradient.allOpaque = 1;
            for (int g = 0; g < r.gradient.count; ++g) {
                r.gradient.colors[g] = Blend(s.gradient.colors[g], e.gradient.colors[g], t);
                r.gradient.ratios[g] = Blend(s.gradient.ratios[g], e.gradient.ratios[g], t);
                r.gradient.allOpaque &= r.gradient.colors[g].alpha == 255;
            }
            r.matrix = Blend(s.matrix, e.matrix, t);
            break;
        case PVFillStyle::kRepeatingBitmap:
        case PVFillStyle::kClippedBitmap:
            r.matrix = Blend(s.matrix, e.matrix, t);
            break;
        }
    }
}

void PVMorph::BlendLines(double t)
{
    PVTArray<PVLineStyle>& out = result_->LineArray(0)->entries;
    const PVTArray<PVLineStyle>& a = start_->LineArray(0)->entries;
    const PVTArray<PVLineStyle>& b = end_->LineArray(0)->entries;
    for (int i = 0; i < out.Count(); ++i) {
        out[i].width = Blend(a[i].width, b[i].width, t);
        out[i].color = Blend(a[i].color, b[i].color, t);
    }
}
