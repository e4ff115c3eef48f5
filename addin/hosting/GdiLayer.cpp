#include "addin/hosting/GdiLayer.h"

#include "addin/hosting/DibSurface.h"
#include "addin/hosting/GdiRenderer.h"
#include "addin/hosting/NodeWindow.h"
#include "addin/hosting/WindowedNode.h"

#include <algorithm>

void GdiLayer::EndDraw()
{
    if (GetSurface() && IsAlphaMeaningful() && !HasFormat(PremultipliedBlend)) {
        GdiFlush();
        GetSurface()->GetPixelBuffer().Premultiply(GetUpdateRect());
    }
    if (HasFormat(ReleaseAfterUpload))
        SetSecondSurface(nullptr);
    NodeLayer::EndDraw();
}

uint8_t GdiLayer::GetBlendAlpha() const
{
    SceneNode* node = GetNode();
    WindowedNode* owner = node->GetWindowedAncestor();
    NodeRenderer* renderer = owner ? owner->GetRenderer() : nullptr;
    const float opacity = renderer && renderer->GetWindowMode() == NodeWindow::LayeredAlpha
                              ? node->GetOpacityBelowLayeredWindow()
                              : node->GetEffectiveOpacity();
    float alpha = opacity * 255;
    // A native node's own layer is its captured background, which shows
    // where the background colour is transparent.
    if (owner == node && owner->GetNative() == 1)
        alpha = 255 - owner->GetBackgroundColor()[3] * opacity;
    return uint8_t(std::clamp(alpha + 0.5f, 0.0f, 255.0f));
}

bool GdiLayer::Draw(const RECT* clip)
{
    WindowedNode* owner = GetNode()->GetWindowedAncestor();
    NodeRenderer* renderer = owner ? owner->GetRenderer() : nullptr;
    if (!renderer || renderer->GetKind() != NodeRenderer::Gdi)
        return false;
    HDC target = static_cast<GdiRenderer*>(renderer)->GetMemoryDC();
    DibSurface* surface = GetSurface();
    if (!target || !surface)
        return true;
    const RECT nodeRect = GetNode()->GetWindowPixelRect();
    RECT destination = nodeRect;
    if (clip && !IntersectRect(&destination, &nodeRect, clip))
        return true;
    // The source part follows the destination, scaled when the layer is not
    // the node's size.
    const int nodeWidth = nodeRect.right - nodeRect.left, nodeHeight = nodeRect.bottom - nodeRect.top;
    if (nodeWidth <= 0 || nodeHeight <= 0)
        return true;
    const double scaleX = double(GetWidth()) / nodeWidth, scaleY = double(GetHeight()) / nodeHeight;
    const int sourceX = int((destination.left - nodeRect.left) * scaleX + 0.5);
    const int sourceY = int((destination.top - nodeRect.top) * scaleY + 0.5);
    const int sourceWidth = int((destination.right - nodeRect.left) * scaleX + 0.5) - sourceX;
    const int sourceHeight = int((destination.bottom - nodeRect.top) * scaleY + 0.5) - sourceY;
    const int width = destination.right - destination.left, height = destination.bottom - destination.top;
    const uint8_t alpha = GetBlendAlpha();
    if (IsAlphaMeaningful() || alpha < 255) {
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
        GdiAlphaBlend(target, destination.left, destination.top, width, height, surface->GetDC(), sourceX, sourceY,
                      sourceWidth, sourceHeight, blend);
    } else if (sourceWidth != width || sourceHeight != height) {
        StretchBlt(target, destination.left, destination.top, width, height, surface->GetDC(), sourceX, sourceY,
                   sourceWidth, sourceHeight, SRCCOPY);
    } else {
        BitBlt(target, destination.left, destination.top, width, height, surface->GetDC(), sourceX, sourceY,
               SRCCOPY);
    }
    return true;
}
