#include "addin/hosting/Direct3DLayer.h"

#include "addin/hosting/DibSurface.h"
#include "addin/hosting/Direct3DRenderer.h"
#include "addin/hosting/WindowedNode.h"

#include <string.h>

Direct3DLayer::~Direct3DLayer()
{
    ReleaseResources();
}

Direct3DRenderer* Direct3DLayer::GetRenderer() const
{
    WindowedNode* owner = GetNode()->GetWindowedAncestor();
    NodeRenderer* renderer = owner ? owner->GetRenderer() : nullptr;
    return renderer && renderer->GetKind() == NodeRenderer::Direct3D ? static_cast<Direct3DRenderer*>(renderer)
                                                                     : nullptr;
}

IDirect3DDevice9* Direct3DLayer::GetDevice() const
{
    Direct3DRenderer* renderer = GetRenderer();
    return renderer ? renderer->GetDevice() : nullptr;
}

void Direct3DLayer::OnOpacityChanged()
{
    if (m_quad.Exists())
        m_quad.SetAlpha(GetAlphaByte());
}

bool Direct3DLayer::BeginDraw(RECT& update)
{
    const bool open = NodeLayer::BeginDraw(update);
    return open && GetDevice() != nullptr;
}

bool Direct3DLayer::EnsureOffscreenSurface(IDirect3DDevice9* device)
{
    if (m_offscreen && m_surfaceWidth == GetWidth() && m_surfaceHeight == GetHeight())
        return true;
    Unlock();
    if (m_offscreen)
        m_offscreen->Release();
    m_offscreen = nullptr;
    if (!device || FAILED(device->CreateOffscreenPlainSurface(GetWidth(), GetHeight(), D3DFMT_A8R8G8B8,
                                                              D3DPOOL_DEFAULT, &m_offscreen, nullptr)))
        return false;
    m_surfaceWidth = GetWidth();
    m_surfaceHeight = GetHeight();
    device->ColorFill(m_offscreen, nullptr, 0);
    return true;
}

bool Direct3DLayer::Lock(const RECT& source, PixelBuffer& view, RECT& destination)
{
    if (HasFormat(CpuSurface))
        return NodeLayer::Lock(source, view, destination);
    // Only whole pixels of the layer can be locked.
    const RECT whole = {0, 0, GetWidth(), GetHeight()};
    RECT wanted;
    if (!IntersectRect(&wanted, &source, &whole))
        return false;
    if (m_locked) {
        RECT inside;
        if (IntersectRect(&inside, &wanted, &m_lockedRect) && EqualRect(&inside, &wanted)) {
            view = PixelBuffer(m_lockedView.GetData(), m_lockedView.GetWidth(), m_lockedView.GetHeight(),
                               m_lockedView.GetStride(), false, 4);
            destination = {wanted.left - m_lockedRect.left, wanted.top - m_lockedRect.top,
                           wanted.right - m_lockedRect.left, wanted.bottom - m_lockedRect.top};
            return true;
        }
        Unlock();
    }
    IDirect3DDevice9* device = GetDevice();
    if (!EnsureOffscreenSurface(device))
        return false;
    if (!IsModified() && HasFormat(ClearBeforeDraw)) {
        const RECT& update = GetUpdateRect();
        device->ColorFill(m_offscreen, &update, 0);
    }
    D3DLOCKED_RECT locked;
    if (FAILED(m_offscreen->LockRect(&locked, &wanted, 0)))
        return false;
    const int width = wanted.right - wanted.left, height = wanted.bottom - wanted.top;
    m_lockedView = PixelBuffer(static_cast<uint8_t*>(locked.pBits), width, height, locked.Pitch, false, 4);
    view = PixelBuffer(static_cast<uint8_t*>(locked.pBits), width, height, locked.Pitch, false, 4);
    // Only the part inside the layer is open for writing.
    destination = {0, 0, width, height};
    m_lockedRect = wanted;
    m_locked = true;
    return true;
}

void Direct3DLayer::Unlock()
{
    if (m_locked && m_offscreen)
        m_offscreen->UnlockRect();
    m_locked = false;
    m_lockedRect = RECT{};
    m_lockedView = PixelBuffer();
}

void Direct3DLayer::CopyCpuSurface()
{
    DibSurface* surface = GetSurface();
    RECT rect = GetUpdateRect();
    if (!surface || IsRectEmpty(&rect) || !EnsureOffscreenSurface(GetDevice()))
        return;
    D3DLOCKED_RECT locked;
    if (FAILED(m_offscreen->LockRect(&locked, &rect, 0)))
        return;
    GdiFlush();
    PixelBuffer source = surface->GetPixelBuffer();
    PixelBuffer target(static_cast<uint8_t*>(locked.pBits), rect.right - rect.left, rect.bottom - rect.top,
                       locked.Pitch, false, 4);
    PixelBuffer::CopyPixels(source, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, target, 0,
                            0);
    m_offscreen->UnlockRect();
}

void Direct3DLayer::EndDraw()
{
    if (HasFormat(CpuSurface))
        CopyCpuSurface();
    else
        Unlock();
    m_needsUpload = true;
    if (HasFormat(ReleaseAfterUpload))
        ReleaseSurfaces();
    NodeLayer::EndDraw();
}

bool Direct3DLayer::Draw(const RECT*)
{
    IDirect3DDevice9* device = GetDevice();
    if (!device)
        return false;
    const RECT place = GetNode()->GetWindowPixelRect();
    const int width = place.right - place.left, height = place.bottom - place.top;
    // A quad of another size needs a texture of that size; a moved one only
    // new vertices.
    if (m_quad.Exists() && (m_quad.GetWidth() != width || m_quad.GetHeight() != height)) {
        m_quad.Release();
        m_needsUpload = true;
    }
    if (!m_quad.Exists()) {
        if (!m_quad.Create(device, place.left, place.top, width, height, GetAlphaByte()))
            return false;
        m_needsUpload = true;
    }
    m_quad.MoveTo(place.left, place.top);
    if (m_needsUpload && m_offscreen) {
        IDirect3DSurface9* level = nullptr;
        if (SUCCEEDED(m_quad.GetTexture()->GetSurfaceLevel(0, &level))) {
            device->StretchRect(m_offscreen, nullptr, level, nullptr, D3DTEXF_NONE);
            level->Release();
            m_needsUpload = false;
        }
        if (HasFormat(ReleaseAfterUpload))
            ReleaseSurfaces();
    }
    // The quad's alpha (the node's opacity) applies in every case; the
    // texture's own alpha only where it is meaningful.
    if (!IsAlphaMeaningful())
        device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
    if (HasFormat(PremultipliedBlend)) {
        // Colour already carries its alpha: scale it by the quad's alpha only
        // and add it over the rest.
        device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE | D3DTA_ALPHAREPLICATE);
        device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    }
    m_quad.Draw(device);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    return true;
}

void Direct3DLayer::ReleaseResources()
{
    m_quad.Release();
    ReleaseSurfaces();
    Unlock();
    if (m_offscreen)
        m_offscreen->Release();
    m_offscreen = nullptr;
    m_surfaceWidth = m_surfaceHeight = 0;
    m_needsUpload = true;
}
