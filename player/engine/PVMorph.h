#pragma once
#include <cstdint>

#include "player/engine/PVChar.h"

class PVGradTexList;
class PVShape;

// Morph character (type 2): a start and an end shape with the same edge
// structure, and the result shape blended between them, which the drawer
// draws. The result belongs to the character, so every display-list entry
// of one morph shows the ratio set last. Owns its three shapes.
class PVMorph : public PVChar {
public:
    // Null when the morph or one of its shapes cannot be allocated.
    static PVMorph* Create(int id);
    ~PVMorph() override;

    PVShape& Start() const { return *start_; }
    PVShape& End() const { return *end_; }
    PVShape& Result() const { return *result_; }

    // What differs between the halves; only that is blended.
    void SetDiffers(bool fills, bool lines, bool edges);
    bool FillsDiffer() const { return fillsDiffer_; }
    bool LinesDiffer() const { return linesDiffer_; }
    bool EdgesDiffer() const { return edgesDiffer_; }

    // The cache that gives blended gradients their textures (the
    // dictionary's); without one the result's gradients keep the start's.
    void SetGradientCache(PVGradTexList* cache) { gradients_ = cache; }

    // Blends the result to ratio / 65535 of the way from start to end
    // (0 and 65535 give the halves exactly); setting the current ratio again
    // does nothing. False when memory runs out; the result may then be
    // partly updated.
    bool SetRatio(int ratio);
    // 0x10000 until a ratio has been set.
    int Ratio() const { return ratio_; }

    PVBounds DisplayBounds() const override;
    bool SetDisplayRatio(uint16_t ratio) override { return SetRatio(ratio); }
    const PVShape* FillStyles() const override { return start_; }

    static constexpr int kNoRatio = 0x10000;

private:
    explicit PVMorph(int id) : PVChar(kMorph, id) {}
    void BlendEdges(double t);
    void BlendFills(double t);
    void BlendLines(double t);
    // Prepares the result's edge list when its edges changed (or were never
    // prepared); an unchanged list stays as prepared.
    bool PrepareResult(bool edgesChanged);

    PVShape* start_ = nullptr;
    PVShape* end_ = nullptr;
    PVShape* result_ = nullptr;
    bool fillsDiffer_ = false;
    bool linesDiffer_ = false;
    bool edgesDiffer_ = false;
    bool prepared_ = false;
    int ratio_ = kNoRatio;
    PVGradTexList* gradients_ = nullptr;
};
