#include "addin/hosting/NodeRenderer.h"

#include "addin/hosting/NodeWindow.h"
#include "addin/hosting/WindowedNode.h"

NodeRenderer::NodeRenderer(WindowedNode* node, int kind)
    : m_node(node), m_kind(kind), m_windowMode(node->GetWindowMode()), m_native(node->GetNative()),
      m_dirtyRect{0, 0, node->GetPixelWidth(), node->GetPixelHeight()}
{
}

void NodeRenderer::ReleaseResources()
{
    m_node->ReleaseLayerTree();
}

bool NodeRenderer::BeginFrame(RECT& frame)
{
    m_frameRect = m_dirty ? m_dirtyRect : RECT{};
    frame = m_frameRect;
    return !IsRectEmpty(&m_frameRect);
}

void NodeRenderer::EndFrame()
{
    m_dirty = false;
    m_dirtyRect = RECT{};
    m_frameRect = RECT{};
}

void NodeRenderer::AddDirty(const RECT* rect)
{
    const RECT whole = {0, 0, GetPixelWidth(), GetPixelHeight()};
    if (!rect) {
        m_dirtyRect = whole;
    } else if (!IsRectEmpty(rect)) {
        RECT united = *rect;
        if (m_dirty && !IsRectEmpty(&m_dirtyRect))
            UnionRect(&united, &m_dirtyRect, rect);
        IntersectRect(&m_dirtyRect, &united, &whole);
    }
    m_dirty = true;
}

HWND NodeRenderer::GetWindow() const
{
    NodeWindow* window = m_node->GetNodeWindow();
    return window && window->IsCreated() ? window->GetHwnd() : nullptr;
}

int NodeRenderer::GetPixelWidth() const
{
    return m_node->GetPixelWidth();
}

int NodeRenderer::GetPixelHeight() const
{
    return m_node->GetPixelHeight();
}

float NodeRenderer::GetOpacity() const
{
    return m_node->GetEffectiveOpacity();
}

const uint8_t* NodeRenderer::GetBackground() const
{
    return m_node->GetBackgroundColor();
}
