#include "player/engine/PVFont.h"

#include "player/engine/PVFontInfo.h"
#include "player/engine/PVShape.h"

PVFont::~PVFont()
{
    FreeGlyphs();
    delete info_;
}

void PVFont::FreeGlyphs()
{
    for (int i = 0; i < glyphs_.Count(); ++i)
        delete glyphs_[i];
    glyphs_.Allocate(0);
}

bool PVFont::SetGlyphCount(int count)
{
    FreeGlyphs();
    if (!glyphs_.Allocate(count))
        return false;
    for (int i = 0; i < glyphs_.Count(); ++i)
        glyphs_[i] = nullptr;
    return true;
}

const PVShape* PVFont::Glyph(int index) const
{
    return index >= 0 && index < glyphs_.Count() ? glyphs_[index] : nullptr;
}

void PVFont::SetInfo(PVFontInfo* info)
{
    if (info != info_)
        delete info_;
    info_ = info;
}
