#include "player/engine/PVDListObject.h"

#include "player/engine/PVChar.h"
#include "player/engine/PVCounted.h"
#include "player/engine/PVDisplayList.h"
#include "player/engine/PVMovieClip.h"

PVDListObject::~PVDListObject()
{
    ReleaseClip();
    SetCharacter(nullptr);
}

void PVDListObject::SetCharacter(PVChar* newCharacter)
{
    PVHold(character, newCharacter);
}

void PVDListObject::SetClip(PVMovieClip* newClip)
{
    newClip->AddRef();
    clip = newClip;
}

void PVDListObject::ReleaseClip()
{
    if (PVMovieClip* old = clip) {
        clip = nullptr;
        old->Detach();
        old->Release();
    }
}

bool PVDListObject::UpdateBounds(PVBounds& change)
{
    if (!character)
        return false;
    switch (character->Type()) {
    case PVChar::kShape:
    case PVChar::kMorph:
    case PVChar::kText: {
        if (!dirty)
            return false;
        const PVBounds now = character->DisplayBounds().Transformed(matrix);
        change = bounds;
        change.Union(now);
        bounds = now;
        dirty = false;
        return true;
    }
    case PVChar::kSprite:
    case PVChar::kButton: {
        // Children change on their own, so their boxes are recomputed at
        // every pass, dirty or not.
        PVBounds childTotal;
        PVBounds childDamage;
        if (clip)
            clip->DisplayList().ComputeBounds(childTotal, childDamage);
        const PVBounds now = childTotal.Transformed(matrix);
        bool changed = false;
        if (dirty) {
            change = bounds;
            change.Union(now);
            dirty = false;
            changed = true;
        } else if (!childDamage.empty) {
            change = childDamage.Transformed(matrix);
            changed = true;
        }
        bounds = now;
        return changed;
    }
    default:
        return false;
    }
}
