#pragma once
#include "addin/hosting/NodeRenderer.h"

#include <d3d9.h>

// A renderer that owns a Direct3D 9 device on the node's window and draws
// each layer as a textured quad. A lost device skips frames until it can be
// reset; the reset drops every layer's device objects, which are made again
// on demand.
class Direct3DRenderer : public NodeRenderer {
public:
    explicit Direct3DRenderer(WindowedNode* node) : NodeRenderer(node, Direct3D) {}
    ~Direct3DRenderer() override;

    bool Initialize() override;
    NodeLayer* CreateLayer(SceneNode* node, int width, int height, uint32_t format) override;
    void ReleaseResources() override;
    void Present(HDC dc, const PAINTSTRUCT& paint) override;
    bool BeginFrame(RECT& frame) override;
    void EndFrame() override;

    IDirect3DDevice9* GetDevice() const { return m_device; }
    D3DFORMAT GetDisplayFormat() const { return m_displayFormat; }
    D3DFORMAT GetSurfaceFormat() const { return m_surfaceFormat; }

    // The surface format for a display format: the display format itself
    // when it is a plain RGB one the device converts from, otherwise the
    // first of X8R8G8B8, A8R8G8B8, R5G6B5, X1R5G5B5 that it does; UNKNOWN
    // when none.
    static D3DFORMAT ChooseSurfaceFormat(IDirect3D9* direct3D, D3DFORMAT displayFormat);

private:
    bool FillPresentParameters(D3DPRESENT_PARAMETERS& parameters);
    bool CreateDevice();
    void SetStates();
    bool Reset();
    // The quads and surfaces of every layer this renderer draws.
    void ReleaseLayerObjects();

    IDirect3D9* m_direct3D = nullptr;
    D3DCAPS9 m_caps = {};
    IDirect3DDevice9* m_device = nullptr;
    D3DFORMAT m_displayFormat = D3DFMT_UNKNOWN;
    D3DFORMAT m_surfaceFormat = D3DFMT_UNKNOWN;
};
