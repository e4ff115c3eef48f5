// Readers of the shape tags and of the style tables and shape records that
// fonts and morphs share.
#include <new>

#include "player/engine/PVCharDictionary.h"
#include "player/engine/PVMovieParser.h"
#include "player/engine/PVShape.h"

namespace {

// Pen positions are held within +-2^29 twips (far beyond any stage), so
// sums of coordinates never overflow and the 64-bit products of coordinate
// differences that preparation takes stay exact. An edge's deltas take at
// most 17 bits, so a pen position plus one stays within 32 bits.
constexpr int32_t kCoordinateLimit = int32_t{1} << 29;

// Real edges take 20 to 30 bits; room for one per 16 bits of a shape's
// records spares the array most of its growth, up to this many edges.
constexpr int kMostEdgesReserved = 16384;

int32_t Clamp(int32_t value)
{
    return value < -kCoordinateLimit ? -kCoordinateLimit : value > kCoordinateLimit ? kCoordinateLimit : value;
}

// Fill kinds that are read only to be stepped over: drawn as opaque black.
constexpr uint8_t kFocalGradient = 0x13;
constexpr uint8_t kRepeatingBitmapUnsmoothed = 0x42;
constexpr uint8_t kClippedBitmapUnsmoothed = 0x43;

void ReadGradient(PVMovieParser& parser, PVGradient& gradient, bool alpha, int count)
{
    gradient.count = static_cast<uint8_t>(count < PVGradient::kMaxEntries ? count : PVGradient::kMaxEntries);
    gradient.allOpaque = 1;
    for (int i = 0; i < count; ++i) {
        // Entries past the eighth overwrite the eighth.
        const int slot = i < PVGradient::kMaxEntries ? i : PVGradient::kMaxEntries - 1;
        gradient.ratios[slot] = parser.ReadU8();
        gradient.colors[slot] = parser.ReadRGB(alpha);
        gradient.allOpaque &= gradient.colors[slot].alpha == 255;
    }
}

template <typename Style>
Style* Resolve(PVTArray<Style>* entries, uint32_t index)
{
    return entries && index >= 1 && index <= static_cast<uint32_t>(entries->Count()) ? &(*entries)[index - 1]
                                                                                     : nullptr;
}

}  // namespace

bool PVMovieParser::ReadDefineShape(bool extended, bool alpha)
{
    const uint16_t id = ReadU16();
    const PVRect rect = ReadRect();
    if (overrun_)
        return false;
    auto* shape = new (std::nothrow) PVShape(id);
    if (!shape)
        return false;
    shape->SetBounds(PVBounds::Of(float(rect.xmin), float(rect.xmax), float(rect.ymin), float(rect.ymax)));
    if (!ReadShapeWithStyle(*shape, true, extended, alpha, true) ||
        !shape->PrepareGradients(dictionary_->GradientTextures()) || !dictionary_->Add(shape)) {
        delete shape;
        return false;
    }
    return true;
}

int PVMovieParser::ReadStyleCount(bool extended, int smallestEntry)
{
    int count = ReadU8();
    if (count == 255 && extended)
        count = ReadU16();
    // Refused before anything is allocated for it.
    if (overrun_ || static_cast<uint64_t>(count) * smallestEntry > end_ - pos_) {
        MarkOverrun();
        return -1;
    }
    return count;
}

bool PVMovieParser::ReadFillStyles(PVFillStyleArray& array, bool extended, bool alpha)
{
    const int count = ReadStyleCount(extended, 1);
    if (count < 0 || !array.Allocate(count))
        return false;
    for (int i = 0; i < count && !overrun_; ++i) {
        PVFillStyle& fill = array.entries[i];
        fill = PVFillStyle();
        const uint8_t kind = ReadU8();
        fill.kind = kind;
        switch (kind) {
        case PVFillStyle::kSolid:
            fill.color = ReadRGB(alpha);
            break;
        case PVFillStyle::kLinearGradient:
        case PVFillStyle::kRadialGradient:
            fill.matrix = ReadMatrix();
            ReadGradient(*this, fill.gradient, alpha, ReadU8());
            break;
        case PVFillStyle::kRepeatingBitmap:
        case PVFillStyle::kClippedBitmap:
            fill.bitmapId = ReadU16();
            fill.matrix = ReadMatrix();
            break;
        case kFocalGradient: {
            ReadMatrix();
            PVGradient ignored;
            ReadGradient(*this, ignored, alpha, ReadU8() & 0x0F);
            ReadU16();  // focal point
            fill = PVFillStyle();
            break;
        }
        case kRepeatingBitmapUnsmoothed:
        case kClippedBitmapUnsmoothed:
            ReadU16();
            ReadMatrix();
            fill = PVFillStyle();
            break;
        default:
            // Nothing more is known to follow.
            fill = PVFillStyle();
            break;
        }
    }
    return !overrun_;
}

bool PVMovieParser::ReadLineStyles(PVLineStyleArray& array, bool extended, bool alpha)
{
    const int count = ReadStyleCount(extended, alpha ? 6 : 5);
    if (count < 0 || !array.entries.Allocate(count))
        return false;
    for (int i = 0; i < count; ++i) {
        PVLineStyle& line = array.entries[i];
        line.width = ReadU16();
        line.color = ReadRGB(alpha);
    }
    return !overrun_;
}

bool PVMovieParser::ReadShapeWithStyle(PVShape& shape, bool newStyles, bool extended, bool alpha, bool finish)
{
    bitCount_ = 0;
    PVFillStyleArray* fills;
    PVLineStyleArray* lines = nullptr;
    if (newStyles) {
        fills = shape.AddFillArray();
        lines = shape.AddLineArray();
        if (!fills || !lines || !ReadFillStyles(*fills, extended, alpha) || !ReadLineStyles(*lines, extended, alpha))
            return false;
    } else if (shape.FillArrayCount() > 0) {
        fills = shape.FillArray(0);
        lines = shape.LineArrayCount() > 0 ? shape.LineArray(0) : nullptr;
    } else {
        // Glyphs: one opaque black fill, no lines.
        fills = shape.AddFillArray();
        if (!fills || !fills->Allocate(1))
            return false;
    }

    int32_t penX = 0, penY = 0;
    uint32_t fill0Index = 0, fill1Index = 0, lineIndex = 0;
    PVFillStyle* fill0 = nullptr;
    PVFillStyle* fill1 = nullptr;
    PVLineStyle* line = nullptr;
    bool groupStart = true;
    int fillBits = static_cast<int>(ReadUBits(4));
    int lineBits = static_cast<int>(ReadUBits(4));
    PVTArray<PVShapeEdge>& edges = shape.Edges();
    // A shape tag's records run to its end (glyphs share their font's tag).
    // Without the room the array simply grows.
    if (newStyles) {
        const uint32_t expected = (end_ - pos_) / 2;
        edges.Reserve(expected < kMostEdgesReserved ? static_cast<int>(expected) : kMostEdgesReserved);
    }

    PVBitReader bits = Bits();
    for (;;) {
        if (overrun_ || bits.Overrun())
            return false;
        // Every record starts with six bits: the edge flag, then either the
        // style-change flags or the straight flag and the edge's bit width.
        const uint32_t head = bits.UBits(6);
        if (!(head & 0x20)) {
            const uint32_t flags = head & 0x1F;
            if (flags == 0)
                break;
            if (flags & 0x01) {
                const int n = static_cast<int>(bits.UBits(5));
                penX = Clamp(bits.SBits(n));
                penY = Clamp(bits.SBits(n));
            }
            if (flags & 0x02)
                fill0Index = bits.UBits(fillBits);
            if (flags & 0x04)
                fill1Index = bits.UBits(fillBits);
            if (flags & 0x08)
                lineIndex = bits.UBits(lineBits);
            if (flags & 0x10) {
                EndBits(bits);
                fills = shape.AddFillArray();
                lines = shape.AddLineArray();
                if (!fills || !lines || !ReadFillStyles(*fills, extended, alpha) ||
                    !ReadLineStyles(*lines, extended, alpha))
                    return false;
                bits = Bits();
                fillBits = static_cast<int>(bits.UBits(4));
                lineBits = static_cast<int>(bits.UBits(4));
            }
            // Indexes select from the arrays current after the record.
            fill0 = Resolve(&fills->entries, fill0Index);
            fill1 = Resolve(&fills->entries, fill1Index);
            line = Resolve(lines ? &lines->entries : nullptr, lineIndex);
            if ((flags & 0x0F) == 0x0F && penX == 0 && penY == 0 && fill0Index == 0 && fill1Index == 0 &&
                lineIndex == 0)
                groupStart = true;
            continue;
        }

        PVShapeEdge edge;
        edge.straight = static_cast<uint8_t>(head >> 4 & 1);
        const int n = static_cast<int>(head & 0x0F) + 2;
        edge.startX = penX;
        edge.startY = penY;
        if (edge.straight) {
            int32_t dx = 0, dy = 0;
            if (bits.UBits(1)) {
                dx = bits.SBits(n);
                dy = bits.SBits(n);
            } else if (bits.UBits(1)) {
                dy = bits.SBits(n);
            } else {
                dx = bits.SBits(n);
            }
            penX = Clamp(penX + dx);
            penY = Clamp(penY + dy);
            edge.controlX = penX;
            edge.controlY = penY;
        } else {
            const int32_t controlDx = bits.SBits(n);
            const int32_t controlDy = bits.SBits(n);
            const int32_t anchorDx = bits.SBits(n);
            const int32_t anchorDy = bits.SBits(n);
            edge.controlX = Clamp(penX + controlDx);
            edge.controlY = Clamp(penY + controlDy);
            penX = Clamp(edge.controlX + anchorDx);
            penY = Clamp(edge.controlY + anchorDy);
        }
        edge.endX = penX;
        edge.endY = penY;
        edge.groupStart = groupStart;
        groupStart = false;
        edge.reversed = 0;
        edge.fill0 = fill0;
        edge.fill1 = fill1;
        edge.line = line;
        edge.next = edge.previous = edge.sortLink = nullptr;
        if (!edges.Add(edge))
            return false;
    }
    EndBits(bits);

    edges.Trim(edges.Count());
    shape.LinkEdges();
    if (!finish)
        return true;
    return shape.PrepareEdges() && (!pathsArePostScript_ || shape.RepairFillSides());
}
