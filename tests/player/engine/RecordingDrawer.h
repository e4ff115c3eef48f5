#pragma once
#include <string>
#include <vector>

#include "player/engine/PVDraw.h"

class PVButtonClip;

// A drawer that writes down what it is asked to draw: one line per entry
// with a character, "depth:#id" behind the depths of the clips it lies in
// ("2:#20/1:#10"), and "@x,y" when the drawing matrix moves it. Drawing
// space is twips, so the mouse is given in twips; the button found under
// it is the last whose hit area (a stand-in's bounds) holds the mouse.
class RecordingDrawer : public PVDraw {
public:
    explicit RecordingDrawer(PVPlayer* player) : PVDraw(player) {}

    bool Render(HDC__* dc, int mouseX, int mouseY, bool force) override;
    bool DrawDisplayList(PVDisplayList& list, const PVMatrix& matrix, const PVCxform* cxform) override;

    // The lines of the last Render, joined by spaces.
    std::string DrawnText() const;

private:
    std::vector<std::string> drawn_;
    std::string prefix_;
    int mouseX_ = -1;
    int mouseY_ = -1;
    PVButtonClip* testing_ = nullptr;  // while walking a hit area
};
