#pragma once
#include "addin/hosting/ContainerNode.h"

#include <stdint.h>

class NodeContentWindow;
class NodeRenderer;

// A container that owns a window (child, popup or layered, by window mode)
// and a renderer into which its non-windowed descendants are composited.
// Window and renderer live from activation (or start) until the node stops
// or is detached; the node stays in the tree meanwhile. Direct3D is used
// only for opaque windows that asked for it and only where it initialises;
// everything else draws with GDI. Painting is batched with a paint hold:
// while it is above 0 nothing is painted, and the node paints once when the
// last hold is lowered.
class WindowedNode : public ContainerNode {
public:
    // Window mode: 0 child window, 1 popup window, 2 layered window with one
    // alpha, 3 layered window with per-pixel alpha. native 1: the window is a
    // native control's, whose background the node captures. Renderer kind 2
    // asks for Direct3D (modes 0 and 1 only), 0 and 1 for GDI.
    WindowedNode(int windowMode, int native, int rendererKind);

    int GetNodeType() const override { return Windowed; }
    // Shows or hides the window through the host.
    void SetShown(bool show) override;
    int GetWindowMode() const { return m_windowMode; }
    int GetNative() const { return m_native; }
    int GetRendererKind() const { return m_rendererKind; }
    void SetBackgroundColor(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha);
    const uint8_t* GetBackgroundColor() const { return m_background; }

    // Paint batching. ReleasePaint paints at 0 only when the node is started;
    // ReleasePaintNow (geometry changes, the repaint pass) paints at 0 in any
    // state.
    int GetPaintHold() const { return m_paintHold; }
    void HoldPaint() { ++m_paintHold; }
    void ReleasePaint();
    void ReleasePaintNow();
    // Composes the frame and updates the window; nothing while held.
    void PaintNow();

    // Makes the window (not shown) at the node's pixel rectangle in its
    // parent's window; true when it exists.
    bool CreateNodeWindow();
    // Makes the renderer for the existing window; true when it exists.
    bool CreateRenderer();
    // Ends the window; the subtree is no longer shown.
    void DestroyNodeWindow();
    void DestroyRenderer();
    bool HasNodeWindow() const { return m_window != nullptr; }
    // The window's handle once created, else null.
    HWND GetNodeWindowHandle() const;
    NodeWindow* GetNodeWindow() override;
    bool HasRenderer() const { return m_renderer != nullptr; }
    NodeRenderer* GetRenderer() const { return m_renderer; }
    // Adds the window pixel rectangle (the whole window for null) to the
    // renderer's dirty region.
    void InvalidateRenderer(const RECT* rect);
    // Shows or hides the window itself (the host decides when; see
    // NodeHost::ShowNodeWindow).
    void ShowWindowNow(bool show);
    // Moves the window to the rectangle in its parent window's pixels.
    void MoveNodeWindow(int x, int y, int width, int height);
    void SetWindowAlpha(uint8_t alpha);
    // Draws the dirty part of the frame; false when there was nothing to
    // draw, else the window pixel rectangle drawn.
    virtual bool ComposeFrame(RECT& drawn);
    // From the window's WM_PAINT.
    void PaintWindow(HDC dc, const PAINTSTRUCT& paint);
    void UpdateNow() override;

protected:
    ~WindowedNode() override;
    NodeProxy* CreateProxy() override;
    void OnDetach() override;
    void OnRectChanged(const RECT& oldRect, const RECT& newRect, const RECT& oldWindowRect,
                       const RECT& newWindowRect) override;
    void OnOpacityChanged() override;
    bool OnActivate() override;
    bool OnStart() override;
    bool OnStop() override;
    // A native node's content: the parent window's pixels behind its window.
    bool RenderContent(RECT& changed) override;

private:
    int m_windowMode;
    int m_native;
    int m_rendererKind;
    uint8_t m_background[4] = {};
    int m_paintHold = 0;
    NodeRenderer* m_renderer = nullptr;
    NodeContentWindow* m_window = nullptr;
};
