#pragma once
#include "player/engine/PVGeometry.h"

class PVButtonClip;
class PVDisplayList;
class PVPlayer;
// The device context handle as <windows.h> declares it, so that drawers
// can be named without pulling in the Windows headers.
struct HDC__;

// Draws what the player's display lists show. The player hands the drawer
// its main clip's display list once per drawn step through Render; the
// drawer walks the entries (characters with their matrices and colour
// transforms, child clips' lists) and, while drawing, tests the mouse
// against the hit areas of buttons. The drawer holds one reference to the
// button clip it last found under the mouse.
class PVDraw {
public:
    // `player` is not owned and must outlive the drawer's use of it.
    explicit PVDraw(PVPlayer* player) : player_(player) {}
    virtual ~PVDraw();
    PVDraw(const PVDraw&) = delete;
    PVDraw& operator=(const PVDraw&) = delete;

    // Draws the player's current frame; the mouse position is in window
    // pixels (-1, -1 when outside). `dc` may be null. True when it drew.
    virtual bool Render(HDC__* dc, int mouseX, int mouseY, bool force) = 0;
    // Draws one display list under a matrix and colour transform (null for
    // identity).
    virtual bool DrawDisplayList(PVDisplayList& list, const PVMatrix& matrix, const PVCxform* cxform) = 0;

    // The button clip the last Render found under the mouse, or null.
    PVButtonClip* ButtonUnderMouse() const { return buttonUnderMouse_; }

protected:
    // Keeps a reference to `clip` (may be null) in place of the previous one.
    void SetButtonUnderMouse(PVButtonClip* clip);

    PVPlayer* player_;

private:
    PVButtonClip* buttonUnderMouse_ = nullptr;
};
