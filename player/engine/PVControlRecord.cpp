#include "player/engine/PVControlRecord.h"

#include <algorithm>

#include "player/engine/PVAction.h"
#include "player/engine/PVAudio.h"
#include "player/engine/PVCharDictionary.h"
#include "player/engine/PVCounted.h"
#include "player/engine/PVShape.h"
#include "player/engine/PVShapeStyles.h"

PVControlRecord::~PVControlRecord()
{
    PVReleaseActionList(actions);
    if (stream)
        stream->Release();
    if (character)
        character->Release();
    PVReleaseEach(bitmaps);
}

namespace {

// Adds the bitmaps that the bitmap fills of `shape` name in `dictionary`,
// each once. Each bitmap fill looked at spends one of `budget`; fills past
// it bind nothing and draw what the dictionary holds then. False when
// memory runs out.
bool AddFillBitmaps(const PVShape& shape, const PVCharDictionary& dictionary, uint32_t& budget,
                    PVTArray<PVChar*>& bitmaps)
{
    for (int a = 0; a < shape.FillArrayCount() && budget > 0; ++a) {
        const PVFillStyleArray& fills = *shape.FillArray(a);
        for (int i = 0; i < fills.entries.Count() && budget > 0; ++i) {
            const PVFillStyle& fill = fills.entries[i];
            if (fill.kind != PVFillStyle::kRepeatingBitmap && fill.kind != PVFillStyle::kClippedBitmap)
                continue;
            --budget;
            PVChar* bitmap = dictionary.Get(fill.bitmapId);
            if (bitmap && bitmap->Type() == PVChar::kBitmap && !bitmaps.Add(bitmap))
                return false;
        }
    }
    std::sort(bitmaps.Data(), bitmaps.Data() + bitmaps.Count());
    bitmaps.SetCount(static_cast<int>(std::unique(bitmaps.Data(), bitmaps.Data() + bitmaps.Count()) - bitmaps.Data()));
    for (int b = 0; b < bitmaps.Count(); ++b)
        bitmaps[b]->AddRef();
    return true;
}

}  // namespace

bool PVControlRecord::Bind(const PVCharDictionary& dictionary, uint32_t& fillBudget)
{
    // A place record that only moves or changes a layer names no character.
    if (kind == kPlace && !(flags & kPlaceCharacter))
        return true;
    PVHold(character, dictionary.Get(characterId));
    const PVShape* shape = character && kind == kPlace ? character->FillStyles() : nullptr;
    return !shape || AddFillBitmaps(*shape, dictionary, fillBudget, bitmaps);
}

PVChar* PVControlRecord::Character(const PVCharDictionary& dictionary) const
{
    return character ? character : dictionary.Get(characterId);
}

void PVControlRecord::Destroy(PVControlRecord* record)
{
    if (record && record->pooled)
        record->~PVControlRecord();
    else
        delete record;
}
