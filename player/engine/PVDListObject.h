#pragma once
#include <cstdint>

#include "player/engine/PVBounds.h"
#include "player/engine/PVGeometry.h"
#include "player/engine/PVString.h"
#include "player/engine/PVTArray.h"

class PVChar;
class PVMovieClip;

// One entry of a display list: what is shown at a depth and how. The entry
// holds one reference to its character and one to its child clip (sprites
// and buttons); the display list owns the entry.
class PVDListObject {
public:
    explicit PVDListObject(int depth) : depth(depth) {}
    ~PVDListObject();
    PVDListObject(const PVDListObject&) = delete;
    PVDListObject& operator=(const PVDListObject&) = delete;

    // Takes a reference to `character` (may be null) and drops the old one.
    void SetCharacter(PVChar* character);
    // Takes a reference to `clip`, which must have no clip here yet.
    void SetClip(PVMovieClip* clip);
    // Drops the child clip. A clip that lives on elsewhere (a button the
    // mouse was over) is cut from its parent, so it never reaches a parent
    // that is gone.
    void ReleaseClip();

    // Recomputes `bounds` where the character's type asks for it; true with
    // the changed area in `change` when the entry's look changed.
    bool UpdateBounds(PVBounds& change);

    PVChar* character = nullptr;
    int depth;
    PVMatrix matrix;
    PVCxform cxform;
    uint16_t ratio = 0;
    PVString name;
    uint16_t clipDepth = 0;  // 0: not a clipping layer
    PVMovieClip* clip = nullptr;
    // The bitmaps the shown shape's fills named when the place record that
    // set the character was read (owned by that record, whose movie
    // outlives this entry), or null.
    const PVTArray<PVChar*>* bitmaps = nullptr;
    PVBounds bounds;  // in the parent's space
    bool dirty = false;
};
