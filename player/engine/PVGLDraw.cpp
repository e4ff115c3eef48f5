#include "player/engine/PVGLDraw.h"

#include <windows.h>

#include "player/engine/PVPlayer.h"
#include "player/engine/WGLView.h"

namespace {

constexpr int kFirstPieces = 2000;
constexpr int kFirstBatchWords = 2000;
constexpr int kFirstActive = 500;

}  // namespace

PVGLDraw::PVGLDraw(PVPlayer* player, WGLView* view) : PVDraw(player), view_(view), serial_(RegisterDrawer(this))
{
    const PVRect& frame = player->FrameRect();
    movieWidth_ = frame.xmax - frame.xmin;
    movieHeight_ = frame.ymax - frame.ymin;
}

PVGLDraw::~PVGLDraw()
{
    UnregisterDrawer(this);
    Release();
}

bool PVGLDraw::Init()
{
    if (!view_)
        return false;
    auto reserve = [](auto& array, int n) { return array.SetCount(n) && array.SetCount(0); };
    if (!reserve(pieces_, kFirstPieces) || !reserve(batch_, kFirstBatchWords) || !reserve(active_, kFirstActive))
        return false;
    for (int i = 0; i < 256; ++i) {
        const float f = i / 255.0f;
        alphaRamp_[i] = static_cast<uint8_t>(f * f * 255);
    }
    return true;
}

void PVGLDraw::Release()
{
    delete view_;
    view_ = nullptr;
}

void PVGLDraw::SetViewMode(int mode)
{
    viewMode_ = mode;
    autoRotate_ = mode != kNormal;
    viewChanged_ = true;
}

void PVGLDraw::SetOutlines(bool outlinesOnly, bool blackAndWhite)
{
    outlinesOnly_ = outlinesOnly;
    blackAndWhite_ = blackAndWhite;
    viewChanged_ = true;
}

void PVGLDraw::BeginViewDrag(float x, float y, bool zoom)
{
    dragStart_ = GetTickCount();
    dragStartX_ = x;
    dragStartY_ = y;
    dragZoom_ = zoom;
}

void PVGLDraw::UpdateViewDrag(float x, float y)
{
    if (!dragZoom_) {
        dragAzimuth_ = (x - dragStartX_) * -2 * 3.14f;
        dragElevation_ = (y - dragStartY_) * 3.14f;
        return;
    }
    const float d = dragStartY_ - y;
    dragZoomFactor_ = d >= 0 ? 2 * d + 1 : d + 1;
    if (dragZoomFactor_ < 0.001f)
        dragZoomFactor_ = 0.001f;
}

void PVGLDraw::EndViewDrag()
{
    // The animation clock stood still while the drag held it.
    animationStart_ += GetTickCount() - dragStart_;
    dragStart_ = 0;
    autoRotate_ = false;
    if (!dragZoom_) {
        azimuth_ += dragAzimuth_;
        elevation_ += dragElevation_;
        dragAzimuth_ = dragElevation_ = 0;
    } else {
        zoom_ *= dragZoomFactor_;
        dragZoomFactor_ = 1;
    }
}
