#pragma once
#include "player/engine/PVChar.h"
#include "player/engine/PVGeometry.h"
#include "player/engine/PVTArray.h"
#include "player/engine/PVTextRecords.h"

class PVCharDictionary;
class PVFont;

// Static text character (type 5): style records, glyph runs and glyph
// entries that the drawer turns into placed glyph shapes of fonts found by
// id in the dictionary.
class PVText : public PVChar {
public:
    explicit PVText(int id) : PVChar(kText, id) {}

    PVBounds DisplayBounds() const override { return bounds_; }
    void SetBounds(const PVBounds& bounds) { bounds_ = bounds; }
    const PVMatrix& Matrix() const { return matrix_; }
    void SetMatrix(const PVMatrix& matrix) { matrix_ = matrix; }

    PVTArray<PVTextRecord1>& Styles() { return styles_; }
    PVTArray<PVTextRecord0>& Runs() { return runs_; }
    PVTArray<PVTextGlyphEntry>& Glyphs() { return glyphs_; }
    const PVTArray<PVTextRecord1>& Styles() const { return styles_; }
    const PVTArray<PVTextRecord0>& Runs() const { return runs_; }
    const PVTArray<PVTextGlyphEntry>& Glyphs() const { return glyphs_; }

    // The font a style record names, or null when the dictionary holds no
    // font (type 4) under that id: fonts are looked up when drawn and may
    // have been freed or replaced since the text was read.
    static PVFont* FontOf(const PVCharDictionary& dictionary, const PVTextRecord1& style);

private:
    PVBounds bounds_;
    PVMatrix matrix_;
    PVTArray<PVTextRecord1> styles_;
    PVTArray<PVTextRecord0> runs_;
    PVTArray<PVTextGlyphEntry> glyphs_;
};
