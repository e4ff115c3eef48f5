#include "player/engine/PVDraw.h"

#include "player/engine/PVButtonClip.h"
#include "player/engine/PVCounted.h"

PVDraw::~PVDraw()
{
    SetButtonUnderMouse(nullptr);
}

void PVDraw::SetButtonUnderMouse(PVButtonClip* clip)
{
    PVHold(buttonUnderMouse_, clip);
}
