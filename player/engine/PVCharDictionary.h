#pragma once
#include "player/engine/PVChar.h"
#include "player/engine/PVGeometry.h"
#include "player/engine/PVGradTexList.h"
#include "player/engine/PVTArray.h"

// The player's characters by id. Each filled slot holds one reference; the
// dictionary only drops its own references, so characters still shown
// elsewhere live on after Remove or RemoveAll.
class PVCharDictionary {
public:
    PVCharDictionary() = default;
    ~PVCharDictionary();
    PVCharDictionary(const PVCharDictionary&) = delete;
    PVCharDictionary& operator=(const PVCharDictionary&) = delete;

    // 256 empty slots; false when they cannot be allocated.
    bool Init();
    // Stores the character at its id (replacing and releasing another one
    // there) and adds a reference; false, with nothing stored, on allocation
    // failure. The caller keeps its creation reference only on failure.
    bool Add(PVChar* character);
    // Null for an id beyond the slots or an empty slot.
    PVChar* Get(int id) const;
    // False for an id beyond the slots or an empty slot.
    bool Remove(int id);
    void RemoveAll();
    int SlotCount() const { return slots_.Count(); }

    void SetBackgroundColor(const PVRGBA& color) { background_ = color; }
    const PVRGBA& BackgroundColor() const { return background_; }

    // The gradient texture cache of the shapes defined here.
    PVGradTexList& GradientTextures() { return gradients_; }

private:
    // Declared first so that it goes last: the characters released before
    // it take their gradient entries out of it.
    PVGradTexList gradients_;
    PVTArray<PVChar*> slots_;
    PVRGBA background_{255, 255, 255, 255};
};
