// Reader of DefineMorphShape: two shapes with interleaved style tables.
#include <initializer_list>

#include "player/engine/PVCharDictionary.h"
#include "player/engine/PVMorph.h"
#include "player/engine/PVMovieParser.h"
#include "player/engine/PVShape.h"

namespace {

bool Same(const PVRGBA& a, const PVRGBA& b)
{
    return a.red == b.red && a.green == b.green && a.blue == b.blue && a.alpha == b.alpha;
}

bool Same(const PVMatrix& a, const PVMatrix& b)
{
    return a.scaleX == b.scaleX && a.scaleY == b.scaleY && a.rotateSkew0 == b.rotateSkew0 &&
           a.rotateSkew1 == b.rotateSkew1 && a.translateX == b.translateX && a.translateY == b.translateY;
}

int32_t Midpoint(int32_t a, int32_t b)
{
    return static_cast<int32_t>((int64_t(a) + b) / 2);
}

bool SameGeometry(const PVShapeEdge& a, const PVShapeEdge& b)
{
    return a.straight == b.straight && a.startX == b.startX && a.startY == b.startY && a.endX == b.endX &&
           a.endY == b.endY && (a.straight || (a.controlX == b.controlX && a.controlY == b.controlY));
}

// Both arrays get `count` entries of the same sizes as `from`.
bool SizeLike(PVShape& shape, const PVShape& from)
{
    PVFillStyleArray* fills = shape.AddFillArray();
    PVLineStyleArray* lines = shape.AddLineArray();
    return fills && lines && fills->Allocate(from.FillArray(0)->entries.Count()) &&
           lines->entries.Allocate(from.LineArray(0)->entries.Count());
}

}  // namespace

bool PVMovieParser::ReadMorphFillStyles(PVFillStyleArray& start, PVFillStyleArray& end, bool& differ)
{
    const int count = ReadStyleCount(true, 1);
    if (count < 0 || !start.Allocate(count) || !end.Allocate(count))
        return false;
    for (int i = 0; i < count && !overrun_; ++i) {
        PVFillStyle& s = start.entries[i];
        PVFillStyle& e = end.entries[i];
        s = e = PVFillStyle();
        s.kind = e.kind = ReadU8();
        switch (s.kind) {
        case PVFillStyle::kSolid:
            s.color = ReadRGB(true);
            e.color = ReadRGB(true);
            differ |= !Same(s.color, e.color);
            break;
        case PVFillStyle::kLinearGradient:
        case PVFillStyle::kRadialGradient: {
            s.matrix = ReadMatrix();
            e.matrix = ReadMatrix();
            differ |= !Same(s.matrix, e.matrix);
            const int n = ReadU8();
            s.gradient.count = e.gradient.count = static_cast<uint8_t>(n < 8 ? n : 8);
            for (int g = 0; g < n; ++g) {
                const int slot = g < 8 ? g : 7;
                s.gradient.ratios[slot] = ReadU8();
                s.gradient.colors[slot] = ReadRGB(true);
                e.gradient.ratios[slot] = ReadU8();
                e.gradient.colors[slot] = ReadRGB(true);
                s.gradient.allOpaque &= s.gradient.colors[slot].alpha == 255;
                e.gradient.allOpaque &= e.gradient.colors[slot].alpha == 255;
                differ |= s.gradient.ratios[slot] != e.gradient.ratios[slot] ||
                          !Same(s.gradient.colors[slot], e.gradient.colors[slot]);
            }
            break;
        }
        case PVFillStyle::kRepeatingBitmap:
        case PVFillStyle::kClippedBitmap:
            s.bitmapId = e.bitmapId = ReadU16();
            s.matrix = ReadMatrix();
            e.matrix = ReadMatrix();
            differ |= !Same(s.matrix, e.matrix);
            break;
        default:
            s = e = PVFillStyle();
            break;
        }
    }
    return !overrun_;
}

bool PVMovieParser::ReadMorphLineStyles(PVLineStyleArray& start, PVLineStyleArray& end, bool& differ)
{
    const int count = ReadStyleCount(true, 12);
    if (count < 0 || !start.entries.Allocate(count) || !end.entries.Allocate(count))
        return false;
    for (int i = 0; i < count; ++i) {
        PVLineStyle& s = start.entries[i];
        PVLineStyle& e = end.entries[i];
        s.width = ReadU16();
        e.width = ReadU16();
        s.color = ReadRGB(true);
        e.color = ReadRGB(true);
        differ |= s.width != e.width || !Same(s.color, e.color);
    }
    return !overrun_;
}

bool PVMovieParser::ReadDefineMorphShape(PVMovie&, int)
{
    const uint16_t id = ReadU16();
    PVMorph* morph = PVMorph::Create(id);
    if (!morph)
        return false;
    PVShape& start = morph->Start();
    PVShape& end = morph->End();
    PVShape& result = morph->Result();
    const PVRect startRect = ReadRect();
    const PVRect endRect = ReadRect();
    start.SetBounds(PVBounds::Of(float(startRect.xmin), float(startRect.xmax), float(startRect.ymin),
                                 float(startRect.ymax)));
    end.SetBounds(PVBounds::Of(float(endRect.xmin), float(endRect.xmax), float(endRect.ymin), float(endRect.ymax)));
    ReadU32();  // offset of the end edges, which follow the start edges anyway

    bool fillsDiffer = false, linesDiffer = false, edgesDiffer = false;
    PVFillStyleArray* startFills = start.AddFillArray();
    PVFillStyleArray* endFills = end.AddFillArray();
    PVLineStyleArray* startLines = start.AddLineArray();
    PVLineStyleArray* endLines = end.AddLineArray();
    bool ok = startFills && endFills && startLines && endLines &&
              ReadMorphFillStyles(*startFills, *endFills, fillsDiffer) &&
              ReadMorphLineStyles(*startLines, *endLines, linesDiffer) &&
              ReadShapeWithStyle(start, false, true, true, false) && ReadShapeWithStyle(end, false, true, true, false) &&
              start.RepairFillSides();
    // The halves must match edge for edge.
    ok = ok && start.Edges().Count() == end.Edges().Count() && start.FillArrayCount() == 1 &&
         end.FillArrayCount() == 1 && start.LineArrayCount() == 1 && end.LineArrayCount() == 1 &&
         SizeLike(result, start) && start.PrepareGradients(dictionary_->GradientTextures()) &&
         end.PrepareGradients(dictionary_->GradientTextures());
    if (ok) {
        result.CopyFillStylesFrom(start);
        result.CopyLineStylesFrom(start);
        for (int i = 0; i < start.Edges().Count(); ++i) {
            PVShapeEdge& s = start.Edges()[i];
            PVShapeEdge& e = end.Edges()[i];
            for (PVShapeEdge* edge : {&s, &e}) {
                if (edge->straight) {
                    edge->controlX = Midpoint(edge->startX, edge->endX);
                    edge->controlY = Midpoint(edge->startY, edge->endY);
                }
            }
            edgesDiffer |= !SameGeometry(s, e);
            // The end edge takes the start edge's sides (after their repair).
            if (s.fill0)
                e.fill0 = end.RebaseFill(start, s.fill0);
            if (s.fill1)
                e.fill1 = end.RebaseFill(start, s.fill1);
            if (s.line)
                e.line = end.RebaseLine(start, s.line);
        }
        morph->SetDiffers(fillsDiffer, linesDiffer, edgesDiffer);
        morph->SetGradientCache(&dictionary_->GradientTextures());
        ok = result.CopyEdgesFrom(start) && dictionary_->Add(morph);
    }
    if (!ok) {
        delete morph;
        return false;
    }
    return true;
}
