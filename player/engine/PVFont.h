#pragma once
#include "player/engine/PVChar.h"
#include "player/engine/PVTArray.h"

class PVShape;
struct PVFontInfo;

// Font character (type 4): glyph outlines as prepared shapes (id 0), one
// slot per glyph, and the font information once a tag supplies it. Owns
// both.
class PVFont : public PVChar {
public:
    explicit PVFont(int id) : PVChar(kFont, id) {}
    ~PVFont() override;

    // Frees any glyphs and allocates exactly `count` empty slots; false when
    // memory runs out (the font then has none).
    bool SetGlyphCount(int count);
    int GlyphCount() const { return glyphs_.Count(); }
    // Takes `glyph` into slot `index` (which must exist and be empty).
    void SetGlyph(int index, PVShape* glyph) { glyphs_[index] = glyph; }
    // The glyph, or null for an index outside the slots or an empty slot:
    // text records name glyphs by unchecked indexes.
    const PVShape* Glyph(int index) const;

    // Takes `info`, freeing the previous one.
    void SetInfo(PVFontInfo* info);
    const PVFontInfo* Info() const { return info_; }

private:
    void FreeGlyphs();

    PVFontInfo* info_ = nullptr;
    PVTArray<PVShape*> glyphs_;
};
