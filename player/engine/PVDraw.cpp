#include "player/engine/PVDraw.h"

#include "player/engine/PVButtonClip.h"

PVDraw::~PVDraw()
{
    SetButtonUnderMouse(nullptr);
}

void PVDraw::SetButtonUnderMouse(PVButtonClip* clip)
{
    if (clip == buttonUnderMouse_)
        return;
    if (clip)
        clip->AddRef();
    PVButtonClip* old = buttonUnderMouse_;
    buttonUnderMouse_ = clip;
    if (old)
        old->Release();
}
