#pragma once
#include "addin/hosting/NodeLayer.h"

// A layer in a DIB section, blended into the GDI renderer's back buffer.
class GdiLayer : public NodeLayer {
public:
    using NodeLayer::NodeLayer;

    void EndDraw() override;
    bool Draw(const RECT* clip) override;
    void ReleaseResources() override { ReleaseSurfaces(); }

    // The constant alpha Draw blends with.
    uint8_t GetBlendAlpha() const;
};
