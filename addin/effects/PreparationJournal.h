#pragma once
#include <stdint.h>

#include "addin/core/PptAnimationRef.h"
#include "base/MKTArray.h"

// The changes the slide preparation makes to a presentation's animations
// for the show (animations deleted, trigger types rewritten, start delays
// raised, effects added), each with what undoes it. Undone in reverse order,
// so that a save after the show writes the animations as the user left
// them. Holds references to the PowerPoint objects involved until undone or
// dropped. PowerPoint's user-interface thread only; the caller holds the
// session's host lock around changes and the undo.
class PreparationJournal {
public:
    PreparationJournal() = default;
    ~PreparationJournal() { Drop(); }
    PreparationJournal(const PreparationJournal&) = delete;
    PreparationJournal& operator=(const PreparationJournal&) = delete;

    // Deletes the animation of the sequence, remembering what it was and
    // where: undone by an animation of the same kind, trigger and timing at
    // the same place.
    bool DeleteAnimation(const PptAnimationRef& sequence, const PptAnimationRef& animation);
    bool SetTriggerType(const PptAnimationRef& animation, int32_t type);
    // The sequence's leading content effects start no earlier than 0.01 s
    // (PptAnimationRef::FixContentEffectStarts); every delay raised is noted.
    bool RaiseStartDelays(const PptAnimationRef& sequence, bool byMarker, bool byTarget);
    // An effect the preparation added: deleted when undone, unless gone.
    void NoteAdded(const PptAnimationRef& animation);

    int GetCount() const { return m_entries.GetCount(); }
    // Undoes every change, last first, and empties the journal; false when a
    // change could not be undone (the others still are).
    bool Undo();
    // Forgets the changes without undoing them.
    void Drop();

private:
    struct Entry;
    bool Add(Entry* entry);

    MKTArray<Entry*> m_entries;
};
