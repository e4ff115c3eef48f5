#include "ShapeDump.h"

#include "fixtures/SwfManifest.h"
#include "player/engine/PVShape.h"

namespace {

template <typename Style, typename Array>
std::string Name(const PVShape& shape, const Style* style, int arrays, Array* (PVShape::*get)(int) const)
{
    if (!style)
        return "-";
    for (int a = 0; a < arrays; ++a) {
        const auto& entries = (shape.*get)(a)->entries;
        for (int i = 0; i < entries.Count(); ++i) {
            if (&entries[i] == style)
                return (a ? std::to_string(a) + "." : "") + std::to_string(i + 1);
        }
    }
    return "?";
}

std::string Color(const PVRGBA& c)
{
    return std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue) + "," +
           std::to_string(c.alpha);
}

std::string Matrix(const PVMatrix& m)
{
    return SwfFloat(m.scaleX) + "," + SwfFloat(m.scaleY) + "," + SwfFloat(m.rotateSkew0) + "," +
           SwfFloat(m.rotateSkew1) + "," + SwfFloat(m.translateX) + "," + SwfFloat(m.translateY);
}

std::string Point(int32_t x, int32_t y)
{
    return std::to_string(x) + "," + std::to_string(y);
}

}  // namespace

std::string DumpEdges(const PVShape& shape)
{
    std::string text;
    int count = 0;
    for (const PVShapeEdge* e = shape.FirstEdge(); e; e = e->next, ++count) {
        text += e->straight ? "L " : "C ";
        text += Point(e->startX, e->startY) + " " + Point(e->endX, e->endY);
        if (!e->straight)
            text += " c=" + Point(e->controlX, e->controlY);
        text += " f=" + Name(shape, e->fill0, shape.FillArrayCount(), &PVShape::FillArray) + "," +
                Name(shape, e->fill1, shape.FillArrayCount(), &PVShape::FillArray);
        text += " l=" + Name(shape, e->line, shape.LineArrayCount(), &PVShape::LineArray);
        if (e->groupStart)
            text += " G";
        if (e->reversed)
            text += " R";
        text += "\n";
    }
    if (count != shape.EdgeCount())
        text += "count " + std::to_string(shape.EdgeCount()) + " but " + std::to_string(count) + " linked\n";
    return text;
}

std::string DumpStyles(const PVShape& shape)
{
    std::string text;
    for (int a = 0; a < shape.FillArrayCount(); ++a) {
        const auto& fills = shape.FillArray(a)->entries;
        for (int i = 0; i < fills.Count(); ++i) {
            const PVFillStyle& f = fills[i];
            text += "fill " + (a ? std::to_string(a) + "." : "") + std::to_string(i + 1) + " ";
            if (f.kind == PVFillStyle::kSolid) {
                text += "solid " + Color(f.color);
            } else if (f.kind == PVFillStyle::kLinearGradient || f.kind == PVFillStyle::kRadialGradient) {
                text += "gradient" + std::to_string(f.kind) + " n=" + std::to_string(f.gradient.count);
                for (int g = 0; g < f.gradient.count; ++g)
                    text += " " + std::to_string(f.gradient.ratios[g]) + ":" + Color(f.gradient.colors[g]);
                text += f.gradient.allOpaque ? " opaque" : "";
                text += " m=" + Matrix(f.matrix);
            } else {
                text += "bitmap" + std::to_string(f.kind) + " id=" + std::to_string(f.bitmapId) + " m=" +
                        Matrix(f.matrix);
            }
            text += "\n";
        }
    }
    for (int a = 0; a < shape.LineArrayCount(); ++a) {
        const auto& lines = shape.LineArray(a)->entries;
        for (int i = 0; i < lines.Count(); ++i) {
            text += "line " + (a ? std::to_string(a) + "." : "") + std::to_string(i + 1) + " w=" +
                    std::to_string(lines[i].width) + " " + Color(lines[i].color) + "\n";
        }
    }
    const PVBounds& b = shape.Bounds();
    text += "bounds " + SwfFloat(b.xmin) + "," + SwfFloat(b.xmax) + "," + SwfFloat(b.ymin) + "," + SwfFloat(b.ymax) +
            (b.empty ? " empty" : "") + "\n";
    return text;
}
