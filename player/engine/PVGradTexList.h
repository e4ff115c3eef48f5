#pragma once
#include "player/engine/PVTArray.h"

class PVGradTex;
struct PVGradient;

// The gradient texture cache the character dictionary owns: fills with
// gradients that look alike share one texture. The cache holds no
// reference; entries leave it when their last holder releases them.
class PVGradTexList {
public:
    PVGradTexList() = default;
    // Entries still listed are detached and live on with their holders.
    virtual ~PVGradTexList();
    PVGradTexList(const PVGradTexList&) = delete;
    PVGradTexList& operator=(const PVGradTexList&) = delete;

    // The entry for an equal gradient of the same kind with one more
    // reference, or a new entry with one; null when memory runs out.
    PVGradTex* Lookup(const PVGradient& gradient, bool linear);
    void Remove(const PVGradTex* entry);
    int Count() const { return entries_.Count(); }

private:
    PVTArray<PVGradTex*> entries_;
};
