#include "player/engine/PVControlRecord.h"

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
// each once; false when memory runs out.
bool AddFillBitmaps(const PVShape& shape, const PVCharDictionary& dictionary, PVTArray<PVChar*>& bitmaps)
{
    for (int a = 0; a < shape.FillArrayCount(); ++a) {
        const PVFillStyleArray& fills = *shape.FillArray(a);
        for (int i = 0; i < fills.entries.Count(); ++i) {
            const PVFillStyle& fill = fills.entries[i];
            if (fill.kind != PVFillStyle::kRepeatingBitmap && fill.kind != PVFillStyle::kClippedBitmap)
                continue;
            PVChar* bitmap = dictionary.Get(fill.bitmapId);
            if (!bitmap || bitmap->Type() != PVChar::kBitmap)
                continue;
            bool known = false;
            for (int b = 0; b < bitmaps.Count() && !known; ++b)
                known = bitmaps[b] == bitmap;
            if (known)
                continue;
            if (!bitmaps.Add(bitmap))
                return false;
            bitmap->AddRef();
        }
    }
    return true;
}

}  // namespace

bool PVControlRecord::Bind(const PVCharDictionary& dictionary)
{
    PVHold(character, dictionary.Get(characterId));
    const PVShape* shape = character && kind == kPlace ? character->FillStyles() : nullptr;
    return !shape || AddFillBitmaps(*shape, dictionary, bitmaps);
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
