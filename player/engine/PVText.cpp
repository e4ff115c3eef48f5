#include "player/engine/PVText.h"

#include "player/engine/PVCharDictionary.h"
#include "player/engine/PVFont.h"

PVFont* PVText::FontOf(const PVCharDictionary& dictionary, const PVTextRecord1& style)
{
    PVChar* character = dictionary.Get(style.FontId());
    return character && character->Type() == kFont ? static_cast<PVFont*>(character) : nullptr;
}
