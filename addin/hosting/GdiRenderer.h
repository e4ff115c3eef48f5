#pragma once
#include "addin/hosting/NodeRenderer.h"

class DibSurface;

// A renderer with a 32-bit back buffer in a DIB section; WM_PAINT copies it
// to the window, a per-pixel-alpha window is updated from it directly.
class GdiRenderer : public NodeRenderer {
public:
    explicit GdiRenderer(WindowedNode* node) : NodeRenderer(node, Gdi) {}
    ~GdiRenderer() override;

    bool Initialize() override;
    NodeLayer* CreateLayer(SceneNode* node, int width, int height, uint32_t format) override;
    void ReleaseResources() override;
    void Present(HDC dc, const PAINTSTRUCT& paint) override;
    bool BeginFrame(RECT& frame) override;

    DibSurface* GetBackBuffer() const { return m_backBuffer; }
    HDC GetMemoryDC() const;

private:
    DibSurface* m_backBuffer = nullptr;
};
