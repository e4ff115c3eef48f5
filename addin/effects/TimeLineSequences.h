#pragma once
#include "addin/core/PptAnimationRef.h"

// The interactive (trigger) sequences of a slide's TimeLine, in PowerPoint's
// order. PowerPoint's user-interface thread only.

// TimeLine.InteractiveSequences and its Count; false when unreadable.
bool GetInteractiveSequences(const PptObjectRef& timeLine, PptObjectRef& sequences, long* count);
// The sequence at the 1-based index of the collection.
bool GetInteractiveSequence(const PptObjectRef& sequences, long index, PptAnimationRef& out);

// Calls visit(index, sequence) for sequences 1 to Count until a visit
// answers false; false when the collection or a sequence cannot be read, or
// a visit answered false.
template <class Visit>
bool ForEachInteractiveSequence(const PptObjectRef& timeLine, Visit visit)
{
    PptObjectRef sequences;
    long count = 0;
    if (!GetInteractiveSequences(timeLine, sequences, &count))
        return false;
    for (long i = 1; i <= count; ++i) {
        PptAnimationRef sequence;
        if (!GetInteractiveSequence(sequences, i, sequence) || !visit(i, sequence))
            return false;
    }
    return true;
}
