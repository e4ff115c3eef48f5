#pragma once
#include "addin/hosting/NodeLayer.h"
#include "addin/hosting/TexturedQuad.h"

#include <d3d9.h>

class Direct3DRenderer;

// A layer drawn through an offscreen A8R8G8B8 surface, uploaded to its
// quad's texture only after something changed. With the CPU-surface flag the
// node draws into a DIB section whose update rectangle is copied to the
// offscreen surface when drawing ends.
class Direct3DLayer : public NodeLayer {
public:
    using NodeLayer::NodeLayer;
    ~Direct3DLayer() override;

    void OnOpacityChanged() override;
    bool BeginDraw(RECT& update) override;
    void EndDraw() override;
    bool Draw(const RECT* clip) override;
    void ReleaseResources() override;
    bool Lock(const RECT& source, PixelBuffer& view, RECT& destination) override;

    const TexturedQuad& GetQuad() const { return m_quad; }

private:
    Direct3DRenderer* GetRenderer() const;
    IDirect3DDevice9* GetDevice() const;
    bool EnsureOffscreenSurface(IDirect3DDevice9* device);
    void Unlock();
    // The update rectangle of the CPU surface into the offscreen surface.
    void CopyCpuSurface();

    int m_surfaceWidth = 0;
    int m_surfaceHeight = 0;
    IDirect3DSurface9* m_offscreen = nullptr;
    PixelBuffer m_lockedView;
    bool m_locked = false;
    RECT m_lockedRect = {};
    bool m_needsUpload = false;
    TexturedQuad m_quad;
};
