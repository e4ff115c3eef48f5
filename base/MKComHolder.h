#pragma once
#include "base/MKRefHolder.h"

#include <unknwn.h>

// Holds one reference on a COM interface (or nothing) and releases it on
// destruction; the reference counting is MKRefHolder's. Copies take a
// reference of their own.
template <typename I>
class MKComHolder : public MKRefHolder<I> {
public:
    MKComHolder() = default;
    // Takes a reference of its own on a pointer that is not null.
    explicit MKComHolder(I* pointer) { this->AssignPointer(pointer); }

    // Takes a reference on the new pointer before the old one is released, so
    // assigning the held pointer again is harmless.
    void Assign(I* pointer) { this->AssignPointer(pointer); }
};
