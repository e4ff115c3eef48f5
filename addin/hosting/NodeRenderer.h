#pragma once
#include <stdint.h>
#include <windows.h>

class NodeLayer;
class SceneNode;
class WindowedNode;

// Draws one windowed node's window: a frame clears the dirty rectangle
// collected since the last frame to the node's background colour and
// composites the layers of the node's subtree into it. Made by the node once
// its window exists; lives until the node lets go of its window.
class NodeRenderer {
public:
    enum Kind { Gdi = 1, Direct3D = 2 };

    NodeRenderer(WindowedNode* node, int kind);
    virtual ~NodeRenderer() = default;
    NodeRenderer(const NodeRenderer&) = delete;
    NodeRenderer& operator=(const NodeRenderer&) = delete;

    virtual bool Initialize() = 0;
    virtual NodeLayer* CreateLayer(SceneNode* node, int width, int height, uint32_t format) = 0;
    // Every layer of the subtree goes (and is redrawn on demand).
    virtual void ReleaseResources();
    virtual void Present(HDC dc, const PAINTSTRUCT& paint) = 0;
    // The frame rectangle: the dirty rectangle; false when it is empty.
    virtual bool BeginFrame(RECT& frame);
    virtual void EndFrame();

    // Adds the window-pixel rectangle (null: the whole node) to the dirty
    // rectangle, limited to the node.
    void AddDirty(const RECT* rect);

    int GetKind() const { return m_kind; }
    int GetWindowMode() const { return m_windowMode; }
    int GetNative() const { return m_native; }
    WindowedNode* GetNode() const { return m_node; }
    bool IsDirty() const { return m_dirty; }
    const RECT& GetDirtyRect() const { return m_dirtyRect; }
    const RECT& GetFrameRect() const { return m_frameRect; }
    HWND GetWindow() const;
    int GetPixelWidth() const;
    int GetPixelHeight() const;
    float GetOpacity() const;
    const uint8_t* GetBackground() const;

private:
    WindowedNode* m_node;
    int m_kind;
    int m_windowMode;
    int m_native;
    bool m_dirty = true;
    RECT m_dirtyRect;
    RECT m_frameRect = {};
};
