// Readers of the font, font information and static text tags.
#include <algorithm>
#include <new>

#include "player/engine/PVCharDictionary.h"
#include "player/engine/PVFont.h"
#include "player/engine/PVFontInfo.h"
#include "player/engine/PVMovieParser.h"
#include "player/engine/PVShape.h"
#include "player/engine/PVText.h"

namespace {

// Reads one code per slot of `codes`: 16-bit with wide codes, else a byte.
void ReadCodes(PVMovieParser& parser, PVTArray<uint16_t>& codes, bool wide)
{
    for (int i = 0; i < codes.Count(); ++i)
        codes[i] = wide ? parser.ReadU16() : parser.ReadU8();
}

}  // namespace

bool PVMovieParser::ReadGlyphs(PVFont& font, uint32_t table, uint32_t tableBytes, const uint32_t* offsets)
{
    // Offsets are relative to the table. Each glyph starts after the table
    // and after the glyph before it ends: glyphs that share their bytes
    // would let a small tag claim the same edges over and over.
    uint64_t next = tableBytes;
    for (int i = 0; i < font.GlyphCount(); ++i) {
        if (offsets[i] < next || offsets[i] > end_ - table)
            return false;
        pos_ = table + offsets[i];
        auto* glyph = new (std::nothrow) PVShape(0);
        if (!glyph)
            return false;
        font.SetGlyph(i, glyph);
        if (!ReadShapeWithStyle(*glyph, false, false, false, true))
            return false;
        next = std::max<uint64_t>(pos_ - table, uint64_t(offsets[i]) + 1);
    }
    return true;
}

bool PVMovieParser::ReadDefineFont(PVMovie&, int)
{
    const uint16_t id = ReadU16();
    const uint32_t table = pos_;
    const uint16_t first = ReadU16();
    if (overrun_)
        return false;
    auto* font = new (std::nothrow) PVFont(id);
    if (!font)
        return false;
    const int count = first / 2;
    PVTArray<uint32_t> offsets;
    // The table's entries must lie within the tag.
    bool ok = uint64_t(count) * 2 <= end_ - table && font->SetGlyphCount(count) && offsets.Allocate(count);
    if (ok && count > 0) {
        offsets[0] = first;
        for (int i = 1; i < count; ++i)
            offsets[i] = ReadU16();
        ok = ReadGlyphs(*font, table, uint32_t(count) * 2, offsets.Data());
    }
    if (!ok || overrun_ || !dictionary_->Add(font)) {
        delete font;
        return false;
    }
    return true;
}

bool PVMovieParser::ReadDefineFont2(PVMovie&, int)
{
    const uint16_t id = ReadU16();
    const uint8_t flags = ReadU8();
    ReadU8();  // language
    const int nameLength = ReadU8();
    if (overrun_ || nameLength > static_cast<int>(end_ - pos_))
        return false;
    const char* name = reinterpret_cast<const char*>(image_ + pos_);
    pos_ += nameLength;
    const int count = ReadU16();
    const bool wideOffsets = flags & 0x08;
    const uint32_t table = pos_;
    // A font without glyphs may leave out the code table's offset.
    const uint64_t tableBytes = count > 0 ? uint64_t(count + 1) * (wideOffsets ? 4 : 2) : 0;
    if (overrun_ || tableBytes > end_ - table)
        return false;

    auto* font = new (std::nothrow) PVFont(id);
    auto* info = new (std::nothrow) PVFontInfo;
    if (!font || !info) {
        delete font;
        delete info;
        return false;
    }
    font->SetInfo(info);
    info->shiftJIS = (flags >> 6) & 1;
    info->smallText = (flags >> 5) & 1;
    info->ansi = (flags >> 4) & 1;
    info->wideCodes = (flags >> 2) & 1;
    info->italic = (flags >> 1) & 1;
    info->bold = flags & 1;
    PVTArray<uint32_t> offsets;
    bool ok = info->name.Assign(name, nameLength) && font->SetGlyphCount(count) && info->codes.Allocate(count) &&
              offsets.Allocate(count + 1);
    if (ok && count > 0) {
        // The last entry is the code table's offset.
        for (int i = 0; i <= count; ++i)
            offsets[i] = wideOffsets ? ReadU32() : ReadU16();
        ok = ReadGlyphs(*font, table, uint32_t(tableBytes), offsets.Data()) && offsets[count] <= end_ - table;
        if (ok) {
            pos_ = table + offsets[count];
            ReadCodes(*this, info->codes, info->wideCodes);
        }
    }
    if (!ok || overrun_ || !dictionary_->Add(font)) {
        delete font;
        return false;
    }
    return true;
}

bool PVMovieParser::ReadDefineFontInfo(int version)
{
    const uint16_t id = ReadU16();
    PVChar* character = dictionary_->Get(id);
    const int nameLength = ReadU8();
    if (overrun_ || !character || character->Type() != PVChar::kFont || nameLength > static_cast<int>(end_ - pos_))
        return false;
    auto& font = *static_cast<PVFont*>(character);
    const char* name = reinterpret_cast<const char*>(image_ + pos_);
    pos_ += nameLength;
    const uint8_t flags = ReadU8();
    if (version == 2)
        ReadU8();  // language
    auto* info = new (std::nothrow) PVFontInfo;
    if (!info)
        return false;
    info->smallText = (flags >> 5) & 1;
    info->shiftJIS = (flags >> 4) & 1;
    info->ansi = (flags >> 3) & 1;
    info->italic = (flags >> 2) & 1;
    info->bold = (flags >> 1) & 1;
    info->wideCodes = flags & 1;
    const uint64_t codeBytes = uint64_t(font.GlyphCount()) * (info->wideCodes ? 2 : 1);
    if (overrun_ || codeBytes > end_ - pos_ || !info->name.Assign(name, nameLength) ||
        !info->codes.Allocate(font.GlyphCount())) {
        delete info;
        return false;
    }
    ReadCodes(*this, info->codes, info->wideCodes);
    font.SetInfo(info);
    return true;
}

bool PVMovieParser::ReadDefineText(bool alpha)
{
    const uint16_t id = ReadU16();
    const PVRect rect = ReadRect();
    const PVMatrix matrix = ReadMatrix();
    const int glyphBits = ReadU8();
    const int advanceBits = ReadU8();
    // Wider fields than 32 bits hold no index or advance.
    if (overrun_ || glyphBits > 32 || advanceBits > 32)
        return false;
    auto* text = new (std::nothrow) PVText(id);
    if (!text)
        return false;
    text->SetBounds(PVBounds::Of(float(rect.xmin), float(rect.xmax), float(rect.ymin), float(rect.ymax)));
    text->SetMatrix(matrix);
    PVTArray<PVTextRecord1>& styles = text->Styles();
    PVTArray<PVTextRecord0>& runs = text->Runs();
    PVTArray<PVTextGlyphEntry>& glyphs = text->Glyphs();

    // What carries over from one style record to the next.
    PVTextRecord1 state = {0, PVRGBA{0, 0, 0, 255}, 0, 0, 0, 0};
    const uint64_t tagBits = uint64_t(tagLength_) * 8;
    uint64_t countedBits = 0;
    bool ok = true;
    for (;;) {
        const uint8_t flags = ReadU8();
        if (overrun_) {
            ok = false;
            break;
        }
        if (flags == 0)
            break;
        if (flags & 0x80) {
            if (flags & 0x08)
                state.style = uint32_t(ReadU16()) << 16;
            if (flags & 0x04)
                state.color = ReadRGB(alpha);
            if (flags & 0x01)
                state.offsets = (state.offsets & 0xFFFF0000u) | ReadU16();
            if (flags & 0x02)
                state.offsets = (state.offsets & 0xFFFFu) | uint32_t(ReadU16()) << 16;
            if (flags & 0x08)
                state.height = ReadU16();
            PVTextRecord1 record = state;
            record.style = (state.style & 0xFFFF0000u) | flags;
            record.runCount = 0;
            record.firstRun = static_cast<uint32_t>(runs.Count());
            if (!styles.Add(record)) {
                ok = false;
                break;
            }
            continue;
        }
        const int count = flags & 0x7F;
        // Entries are bounded by the bits of the tag. Fields of width 0 take
        // none and would let each byte make 127 entries: such an entry
        // counts a byte.
        const int entryBits = glyphBits + advanceBits > 0 ? glyphBits + advanceBits : 8;
        countedBits += uint64_t(count) * entryBits;
        if (countedBits > tagBits) {
            ok = false;
            break;
        }
        if (styles.Count() == 0 || !runs.Add({static_cast<uint32_t>(count), static_cast<uint32_t>(glyphs.Count())})) {
            ok = false;
            break;
        }
        ++styles[styles.Count() - 1].runCount;
        PVBitReader bits = Bits();
        for (int i = 0; i < count; ++i) {
            PVTextGlyphEntry entry;
            entry.index = static_cast<uint16_t>(bits.UBits(glyphBits));
            entry.advance = bits.SBits(advanceBits);
            if (!glyphs.Add(entry)) {
                ok = false;
                break;
            }
        }
        EndBits(bits);
        if (!ok)
            break;
    }
    styles.Trim(styles.Count());
    runs.Trim(runs.Count());
    glyphs.Trim(glyphs.Count());
    if (!ok || overrun_ || !dictionary_->Add(text)) {
        delete text;
        return false;
    }
    return true;
}
