#include "BackBufferPixels.h"

#include "addin/hosting/Direct3DRenderer.h"
#include "addin/hosting/WindowedNode.h"

std::vector<DWORD> ReadBackBuffer(WindowedNode* node)
{
    std::vector<DWORD> pixels;
    NodeRenderer* renderer = node->GetRenderer();
    IDirect3DDevice9* device = renderer && renderer->GetKind() == NodeRenderer::Direct3D
                                   ? static_cast<Direct3DRenderer*>(renderer)->GetDevice()
                                   : nullptr;
    IDirect3DSurface9* back = nullptr;
    IDirect3DSurface9* copy = nullptr;
    D3DSURFACE_DESC desc;
    D3DLOCKED_RECT locked;
    if (device && SUCCEEDED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back)) &&
        SUCCEEDED(back->GetDesc(&desc)) &&
        SUCCEEDED(device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format, D3DPOOL_SYSTEMMEM,
                                                      &copy, nullptr)) &&
        SUCCEEDED(device->GetRenderTargetData(back, copy)) &&
        SUCCEEDED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
        for (UINT y = 0; y < desc.Height; ++y) {
            auto* row = reinterpret_cast<const DWORD*>(static_cast<const uint8_t*>(locked.pBits) + y * locked.Pitch);
            pixels.insert(pixels.end(), row, row + desc.Width);
        }
        copy->UnlockRect();
    }
    if (copy)
        copy->Release();
    if (back)
        back->Release();
    return pixels;
}
