#include "addin/hosting/Direct3DRenderer.h"

#include "addin/hosting/Direct3D9Library.h"
#include "addin/hosting/Direct3DLayer.h"
#include "addin/hosting/WindowedNode.h"

#include <new>

namespace {

// Drops the device objects of the layers below `node` that `renderer` draws.
void ReleaseLayerObjectsBelow(SceneNode* node, const NodeRenderer* renderer)
{
    WindowedNode* owner = node->GetWindowedAncestor();
    if (owner && owner->GetRenderer() == renderer) {
        if (auto* layer = static_cast<Direct3DLayer*>(node->GetContentLayer()))
            layer->ReleaseResources();
    }
    for (int i = 0; i < node->GetChildCount(); ++i)
        ReleaseLayerObjectsBelow(node->GetChild(i), renderer);
}

// Draws the content of the nodes below `node` that `renderer` draws again.
void RedrawContentBelow(SceneNode* node, const NodeRenderer* renderer)
{
    WindowedNode* owner = node->GetWindowedAncestor();
    if (owner && owner->GetRenderer() == renderer)
        node->UpdateContent();
    for (int i = 0; i < node->GetChildCount(); ++i)
        RedrawContentBelow(node->GetChild(i), renderer);
}

}  // namespace

Direct3DRenderer::~Direct3DRenderer()
{
    if (m_device)
        m_device->Release();
    if (m_direct3D)
        m_direct3D->Release();
}

bool Direct3DRenderer::Initialize()
{
    if (!LoadDirect3D9())
        return false;
    m_direct3D = CreateDirect3D9(D3D_SDK_VERSION);
    if (!m_direct3D)
        return false;
    if (FAILED(m_direct3D->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &m_caps))) {
        m_direct3D->Release();
        m_direct3D = nullptr;
        return false;
    }
    if (!CreateDevice())
        return false;
    SetStates();
    return true;
}

bool Direct3DRenderer::FillPresentParameters(D3DPRESENT_PARAMETERS& parameters)
{
    HWND window = GetWindow();
    D3DDISPLAYMODE mode;
    if (!window || GetPixelWidth() <= 0 || GetPixelHeight() <= 0 ||
        FAILED(m_direct3D->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode)))
        return false;
    m_displayFormat = mode.Format;
    parameters = {};
    parameters.BackBufferWidth = GetPixelWidth();
    parameters.BackBufferHeight = GetPixelHeight();
    parameters.BackBufferFormat = mode.Format;
    parameters.BackBufferCount = 1;
    parameters.MultiSampleType = D3DMULTISAMPLE_NONE;
    parameters.SwapEffect = D3DSWAPEFFECT_COPY;
    parameters.hDeviceWindow = window;
    parameters.Windowed = TRUE;
    parameters.EnableAutoDepthStencil = FALSE;
    parameters.Flags = D3DPRESENTFLAG_VIDEO;
    return true;
}

bool Direct3DRenderer::CreateDevice()
{
    D3DPRESENT_PARAMETERS parameters;
    if (!m_direct3D || m_device || !FillPresentParameters(parameters))
        return false;
    return SUCCEEDED(m_direct3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, GetWindow(),
                                              D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_MULTITHREADED,
                                              &parameters, &m_device));
}

D3DFORMAT Direct3DRenderer::ChooseSurfaceFormat(IDirect3D9* direct3D, D3DFORMAT displayFormat)
{
    static const D3DFORMAT kFallbacks[] = {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5};
    const bool plain = displayFormat >= D3DFMT_R8G8B8 && displayFormat <= D3DFMT_X1R5G5B5;
    const D3DFORMAT* candidates = plain ? &displayFormat : kFallbacks;
    const int count = plain ? 1 : 4;
    for (int i = 0; i < count; ++i) {
        HRESULT result = direct3D->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, displayFormat, 0,
                                                     D3DRTYPE_SURFACE, candidates[i]);
        if (SUCCEEDED(result))
            result = direct3D->CheckDeviceFormatConversion(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, candidates[i],
                                                           displayFormat);
        if (SUCCEEDED(result))
            return candidates[i];
        if (result != D3DERR_NOTAVAILABLE)
            break;
    }
    return D3DFMT_UNKNOWN;
}

void Direct3DRenderer::SetStates()
{
    m_surfaceFormat = ChooseSurfaceFormat(m_direct3D, m_displayFormat);
    IDirect3DDevice9* d = m_device;
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    d->SetRenderState(D3DRS_LIGHTING, FALSE);
    d->SetRenderState(D3DRS_ZENABLE, TRUE);
    d->SetRenderState(D3DRS_DITHERENABLE, TRUE);
    d->SetRenderState(D3DRS_STENCILENABLE, FALSE);
    d->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    d->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    d->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    d->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    d->SetRenderState(D3DRS_AMBIENT, 0xFFFFFFFF);
    d->SetRenderState(D3DRS_COLORVERTEX, TRUE);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
}

NodeLayer* Direct3DRenderer::CreateLayer(SceneNode* node, int width, int height, uint32_t format)
{
    return new (std::nothrow) Direct3DLayer(node, width, height, format);
}

void Direct3DRenderer::ReleaseLayerObjects()
{
    ReleaseLayerObjectsBelow(GetNode(), this);
}

bool Direct3DRenderer::Reset()
{
    D3DPRESENT_PARAMETERS parameters;
    if (!FillPresentParameters(parameters))
        return false;
    // Default-pool objects must all be gone before the device resets.
    ReleaseLayerObjects();
    if (FAILED(m_device->Reset(&parameters)))
        return false;
    GetNode()->ReleaseLayerTree();
    SetStates();
    return true;
}

void Direct3DRenderer::ReleaseResources()
{
    ReleaseLayerObjects();
    if (m_device)
        m_device->Release();
    if (m_direct3D)
        m_direct3D->Release();
    m_device = nullptr;
    m_direct3D = nullptr;
    NodeRenderer::ReleaseResources();
}

void Direct3DRenderer::Present(HDC, const PAINTSTRUCT&)
{
    if (m_device)
        m_device->Present(nullptr, nullptr, nullptr, nullptr);
}

bool Direct3DRenderer::BeginFrame(RECT& frame)
{
    if (!NodeRenderer::BeginFrame(frame) || !m_device)
        return false;
    HRESULT state = m_device->TestCooperativeLevel();
    if (state == D3DERR_DEVICENOTRESET) {
        if (!Reset())
            return false;
        // The reset took every layer: their content is drawn again now and
        // the whole frame recomposed, or the nodes would stay blank.
        RedrawContentBelow(GetNode(), this);
        AddDirty(nullptr);
        NodeRenderer::BeginFrame(frame);
    } else if (FAILED(state)) {
        return false;
    }
    const uint8_t* colour = GetBackground();
    const D3DCOLOR clear = 0xFF000000u | DWORD(colour[0]) << 16 | DWORD(colour[1]) << 8 | colour[2];
    return SUCCEEDED(m_device->Clear(0, nullptr, D3DCLEAR_TARGET, clear, 1.0f, 0)) &&
           SUCCEEDED(m_device->BeginScene());
}

void Direct3DRenderer::EndFrame()
{
    if (m_device)
        m_device->EndScene();
    NodeRenderer::EndFrame();
}
