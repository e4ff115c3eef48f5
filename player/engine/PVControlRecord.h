#pragma once
#include <cstdint>

#include "player/engine/PVGeometry.h"
#include "player/engine/PVString.h"
#include "player/engine/PVTArray.h"

class PVAction;
class PVAudio;
class PVChar;
class PVCharDictionary;

// One display-list command of a frame; the kind is the tag code that made it.
// Only the fields of its kind are meaningful. The record owns its action list
// and its name.
class PVControlRecord {
public:
    enum Kind : uint16_t {
        kRemove = 5,
        kActions = 12,
        kStreamStart = 18,
        kPlace = 26,
        kRemoveByDepth = 28,
    };
    // Place flags as the format's PlaceObject2 stores them.
    enum PlaceFlag : uint8_t {
        kPlaceMove = 0x01,
        kPlaceCharacter = 0x02,
        kPlaceMatrix = 0x04,
        kPlaceCxform = 0x08,
        kPlaceRatio = 0x10,
        kPlaceName = 0x20,
        kPlaceClipDepth = 0x40,
    };

    explicit PVControlRecord(uint16_t kind) : kind(kind) {}
    ~PVControlRecord();
    PVControlRecord(const PVControlRecord&) = delete;
    PVControlRecord& operator=(const PVControlRecord&) = delete;

    // Frees a record made by new, or only destroys one its movie's arena
    // holds.
    static void Destroy(PVControlRecord* record);

    uint16_t kind;
    // Made in its movie's arena (PVMovie::NewRecord), not by new.
    bool pooled = false;
    PVControlRecord* next = nullptr;

    // Place (26), remove (5) and remove by depth (28).
    uint8_t flags = 0;
    uint16_t characterId = 0;
    uint16_t depth = 0;
    PVMatrix matrix;
    PVCxform cxform;
    uint16_t ratio = 0;
    PVString name;
    uint16_t clipDepth = 0;

    // Place (26) and remove (5) records read from a file are bound when
    // their frame is read: `character` is what the id named then (one
    // reference, or none), and `bitmaps` the bitmaps that the fills of a
    // placed shape or morph named then (one reference each). A frame thus
    // shows what was defined when it was written, even where the file frees
    // an id and defines it again in a later frame.
    PVChar* character = nullptr;
    PVTArray<PVChar*> bitmaps;
    // Binds `characterId` as `dictionary` holds it now. Each bitmap fill
    // looked at spends one of `fillBudget`, which the reader of a file sets
    // to its length so that what all records hold stays within what the
    // file holds; false when memory runs out.
    bool Bind(const PVCharDictionary& dictionary, uint32_t& fillBudget);
    // The character the record names: the bound one, or where none was
    // bound (an id defined later, a button's record) the one `dictionary`
    // holds now.
    PVChar* Character(const PVCharDictionary& dictionary) const;
    // The bitmaps the fills of the bound character name, or null when no
    // character was bound (the dictionary's are shown then).
    const PVTArray<PVChar*>* BoundBitmaps() const { return character ? &bitmaps : nullptr; }

    // Actions (12): one reference to each action of the list.
    PVAction* actions = nullptr;

    // Stream start (18): the stream that begins playing at this frame, with
    // one reference, so the record never outlives it.
    PVAudio* stream = nullptr;
};
