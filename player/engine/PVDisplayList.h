#pragma once
#include "player/engine/PVBounds.h"
#include "player/engine/PVTArray.h"

class PVChar;
class PVDListObject;

// What a clip shows: entries indexed by depth (slots may be empty), drawn in
// depth order, and the area that removed entries leave to be redrawn. The
// list owns its entries.
class PVDisplayList {
public:
    PVDisplayList() = default;
    ~PVDisplayList();
    PVDisplayList(const PVDisplayList&) = delete;
    PVDisplayList& operator=(const PVDisplayList&) = delete;

    // Slots run 0..Count()-1; At answers null for an empty or absent slot.
    int Count() const { return entries_.Count(); }
    PVDListObject* At(int depth) const { return depth >= 0 && depth < entries_.Count() ? entries_[depth] : nullptr; }

    // The entry at `depth`, made with defaults when the slot is empty; null
    // when it cannot be allocated.
    PVDListObject* GetOrCreate(int depth);
    // A depth past the slots succeeds without effect; an empty slot fails.
    // The entry's bounds join the damage area.
    bool Remove(int depth);
    // Removes the entry only when it shows `character`; false otherwise.
    bool RemoveIf(const PVChar* character, int depth);
    // Removes every entry (bounds into the damage area) and frees the slots.
    void Clear();

    // `total`: the box of every entry; `damage`: what changed since the last
    // call (removed entries, moved or changed ones, changes in children).
    // Clears the kept damage and the entries' dirty marks.
    void ComputeBounds(PVBounds& total, PVBounds& damage);

private:
    void DeleteAt(int depth);

    PVTArray<PVDListObject*> entries_;
    PVBounds damage_;
};
