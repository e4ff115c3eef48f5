#include "addin/hosting/NodeLayer.h"

#include "addin/hosting/DibSurface.h"
#include "addin/hosting/NodeWindow.h"
#include "addin/hosting/SceneNode.h"
#include "addin/imaging/RasterImage.h"

#include <algorithm>

namespace {

bool IsEmptyRect(const RECT& rect)
{
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

}  // namespace

NodeLayer::NodeLayer(SceneNode* node, int width, int height, uint32_t format)
    : m_width(width), m_height(height), m_format(format), m_node(node), m_dirtyRect{0, 0, width, height}
{
}

NodeLayer::~NodeLayer()
{
    ReleaseSurfaces();
}

bool NodeLayer::BeginDraw(RECT& update)
{
    m_modified = false;
    m_updateRect = m_dirty ? m_dirtyRect : RECT{};
    update = m_updateRect;
    return !IsEmptyRect(m_updateRect);
}

void NodeLayer::EndDraw()
{
    m_dirty = false;
    m_modified = false;
    m_dirtyRect = RECT{};
    m_updateRect = RECT{};
}

bool NodeLayer::Lock(const RECT& source, PixelBuffer& view, RECT& destination)
{
    DibSurface* surface = EnsureSurface();
    if (!surface)
        return false;
    const RECT whole = {0, 0, m_width, m_height};
    if (!IntersectRect(&destination, &source, &whole))
        destination = RECT{};
    view = surface->GetPixelBuffer();
    if (!m_modified && HasFormat(ClearBeforeDraw))
        surface->FillBytes(m_updateRect, 0);
    return true;
}

void NodeLayer::AddDirty(const RECT* rect)
{
    const RECT whole = {0, 0, m_width, m_height};
    if (!rect) {
        m_dirtyRect = whole;
    } else if (!IsEmptyRect(*rect)) {
        RECT united = *rect;
        if (m_dirty && !IsEmptyRect(m_dirtyRect))
            UnionRect(&united, &m_dirtyRect, rect);
        IntersectRect(&m_dirtyRect, &united, &whole);
    }
    m_dirty = true;
}

bool NodeLayer::ClipCopy(int sourceWidth, int sourceHeight, int& x, int& y, int& width, int& height, int& destX,
                         int& destY) const
{
    // Each edge limit moves source and destination by the same amount.
    auto clipAxis = [](int sourceLimit, int destLimit, int& from, int& size, int& to) {
        int shift = std::max(0, std::max(-from, -to));
        from += shift;
        to += shift;
        size -= shift;
        size = std::min(size, std::min(sourceLimit - from, destLimit - to));
        return size > 0;
    };
    return clipAxis(sourceWidth, m_width, x, width, destX) && clipAxis(sourceHeight, m_height, y, height, destY);
}

uint8_t NodeLayer::GetAlphaByte() const
{
    if (m_node->GetNodeType() == SceneNode::Windowed)
        return 255;
    return m_node->GetAlphaByte();
}

void NodeLayer::CaptureWindow(HWND window, const RECT& rect, int destX, int destY)
{
    if (!HasFormat(CpuSurface) || m_busy)
        return;
    int x = rect.left, y = rect.top, width = rect.right - rect.left, height = rect.bottom - rect.top;
    RECT windowRect;
    if (!GetWindowRect(window, &windowRect) ||
        !ClipCopy(windowRect.right - windowRect.left, windowRect.bottom - windowRect.top, x, y, width, height,
                  destX, destY))
        return;
    DibSurface* surface = EnsureSurface();
    if (!surface)
        return;
    surface->CopyFromWindow(window, x, y, width, height, destX, destY);
    if (IsAlphaMeaningful())
        surface->SetAlpha(destX, destY, width, height, 255);
    m_modified = true;
}

void NodeLayer::DrawViewObject(IViewObject* view, int x, int y, const RECT& clip, const RECT* bounds)
{
    if (!HasFormat(CpuSurface) || m_busy)
        return;
    DibSurface* surface = EnsureSurface();
    if (!surface)
        return;
    RECT limited;
    const RECT whole = {0, 0, m_width, m_height};
    if (!IntersectRect(&limited, &clip, &whole))
        return;
    if (HasFormat(ClearBeforeDraw))
        surface->FillBytes(limited, 0);
    surface->DrawViewObject(view, x, y, limited, bounds);
    m_modified = true;
}

void NodeLayer::DrawPixels(const RasterImage& source, int x, int y, int width, int height, int destX, int destY)
{
    if (m_busy || !ClipCopy(source.GetWidth(), source.GetHeight(), x, y, width, height, destX, destY))
        return;
    PixelBuffer view;
    RECT destination;
    const RECT wanted = {destX, destY, destX + width, destY + height};
    if (!Lock(wanted, view, destination))
        return;
    PixelBuffer::DrawRasterImage(source, x, y, width, height, view, destination.left, destination.top);
    m_modified = true;
}

void NodeLayer::SetSecondSurface(DibSurface* surface)
{
    if (surface != m_secondSurface)
        delete m_secondSurface;
    m_secondSurface = surface;
}

DibSurface* NodeLayer::EnsureSurface()
{
    if (m_surface && m_surface->GetWidth() == m_width && m_surface->GetHeight() == m_height)
        return m_surface;
    delete m_surface;
    m_surface = nullptr;
    m_surface = CreateWindowSurface(m_node->GetWindowHandle(), m_width, m_height);
    return m_surface;
}

void NodeLayer::ReleaseSurfaces()
{
    delete m_surface;
    m_surface = nullptr;
    SetSecondSurface(nullptr);
}
