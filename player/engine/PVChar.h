#pragma once
#include <cstdint>

#include "player/engine/PVBounds.h"
#include "player/engine/PVCounted.h"
#include "player/engine/PVString.h"

class PVShape;

// Base of every character a definition tag makes. Characters are counted:
// a new one starts at 0, each holder adds one, and the character deletes
// itself when a release brings the count below 1 (so releasing a character
// that nothing holds yet deletes it).
class PVChar : public PVCounted<PVChar> {
public:
    enum Type {
        kShape = 1,
        kMorph = 2,
        kBitmap = 3,
        kFont = 4,
        kText = 5,
        kButton = 6,
        kSprite = 7,
        kAudio = 8,
    };

    PVChar(int type, int id) : type_(type), id_(id) {}
    virtual ~PVChar() = default;
    PVChar(const PVChar&) = delete;
    PVChar& operator=(const PVChar&) = delete;

    // What a display list needs of a shown character. The box in the
    // character's own space (empty for characters that draw nothing by
    // themselves); morphs answer for their current blend.
    virtual PVBounds DisplayBounds() const { return {}; }
    // Morphs blend to `ratio` (0..65535); false when the blend cannot be
    // made. Other characters ignore it.
    virtual bool SetDisplayRatio(uint16_t /*ratio*/) { return true; }
    // The shape whose fill styles the character is drawn with (a morph's
    // start, whose fills its blends keep), or null.
    virtual const PVShape* FillStyles() const { return nullptr; }

    int Type() const { return type_; }
    int Id() const { return id_; }
    const PVString& Name() const { return name_; }
    // False when the name cannot be stored (the old name then stays).
    bool SetName(const char* text, int length) { return name_.Assign(text, length); }

private:
    int type_;
    int id_;
    PVString name_;
};
