#pragma once
#include <vector>

#include "player/engine/PVChar.h"

// A character that only has bounds, standing in for shapes, texts and
// morphs so that display lists and drawers can be tested without them. It
// notes every ratio it is given.
class StandInChar : public PVChar {
public:
    StandInChar(int type, int id, const PVBounds& bounds) : PVChar(type, id), bounds_(bounds) {}

    PVBounds DisplayBounds() const override { return bounds_; }
    bool SetDisplayRatio(uint16_t ratio) override
    {
        ratios.push_back(ratio);
        return true;
    }

    std::vector<int> ratios;

private:
    PVBounds bounds_;
};
