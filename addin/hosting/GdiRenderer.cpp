#include "addin/hosting/GdiRenderer.h"

#include "addin/hosting/DibSurface.h"
#include "addin/hosting/GdiLayer.h"
#include "addin/hosting/NodeWindow.h"

#include <algorithm>
#include <new>

GdiRenderer::~GdiRenderer()
{
    delete m_backBuffer;
}

bool GdiRenderer::Initialize()
{
    RECT rect;
    HWND window = GetWindow();
    if (!window || !GetWindowRect(window, &rect))
        return false;
    delete m_backBuffer;
    m_backBuffer = CreateWindowSurface(window, rect.right - rect.left, rect.bottom - rect.top);
    if (!m_backBuffer)
        return false;
    AddDirty(nullptr);
    return true;
}

NodeLayer* GdiRenderer::CreateLayer(SceneNode* node, int width, int height, uint32_t format)
{
    return new (std::nothrow) GdiLayer(node, width, height, format);
}

void GdiRenderer::ReleaseResources()
{
    delete m_backBuffer;
    m_backBuffer = nullptr;
    NodeRenderer::ReleaseResources();
}

HDC GdiRenderer::GetMemoryDC() const
{
    return m_backBuffer ? m_backBuffer->GetDC() : nullptr;
}

void GdiRenderer::Present(HDC dc, const PAINTSTRUCT& paint)
{
    if (!m_backBuffer)
        return;
    RECT rect;
    const RECT whole = {0, 0, GetPixelWidth(), GetPixelHeight()};
    if (!IntersectRect(&rect, &paint.rcPaint, &whole))
        return;
    BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, m_backBuffer->GetDC(),
           rect.left, rect.top, SRCCOPY);
}

bool GdiRenderer::BeginFrame(RECT& frame)
{
    if (!NodeRenderer::BeginFrame(frame))
        return false;
    const int width = GetPixelWidth(), height = GetPixelHeight();
    if (!m_backBuffer || m_backBuffer->GetWidth() != width || m_backBuffer->GetHeight() != height) {
        delete m_backBuffer;
        m_backBuffer = CreateWindowSurface(GetWindow(), width, height);
        if (!m_backBuffer)
            return false;
    }
    const uint8_t* colour = GetBackground();
    if (GetWindowMode() == NodeWindow::LayeredPerPixel) {
        // The layered window blends premultiplied pixels.
        const float opacity = std::clamp(GetOpacity() * colour[3] / 255.0f, 0.0f, 1.0f);
        auto scaled = [&](int value) { return uint8_t(std::min(255, int(opacity * value + 0.5f))); };
        m_backBuffer->Fill(frame, scaled(colour[0]), scaled(colour[1]), scaled(colour[2]), scaled(255));
    } else if (!(GetNative() == 1 && colour[3] == 0)) {
        m_backBuffer->Fill(frame, colour[0], colour[1], colour[2], 255);
    }
    return true;
}
