#pragma once
#include "addin/hosting/PixelBuffer.h"

#include <ocidl.h>
#include <stdint.h>
#include <windows.h>

class DibSurface;
class RasterImage;
class SceneNode;

// The backing surface of one node in its window's renderer: the node draws
// into it (pixels, a captured window, a windowless control) between BeginDraw
// and EndDraw, and the renderer composites it into its frame with Draw. Only
// the dirty rectangle is redrawn. Made by NodeRenderer::CreateLayer, owned by
// its node; one thread, the host's.
class NodeLayer {
public:
    enum Format : uint32_t {
        CpuSurface = 1,        // drawn into a DIB section
        ReleaseAfterUpload = 2,
        ClearBeforeDraw = 4,   // the drawn area starts transparent black
        AlphaMeaningful = 8,
        PremultipliedBlend = 0x10,
    };

    NodeLayer(SceneNode* node, int width, int height, uint32_t format);
    virtual ~NodeLayer();
    NodeLayer(const NodeLayer&) = delete;
    NodeLayer& operator=(const NodeLayer&) = delete;

    virtual void OnOpacityChanged() {}
    // Opens the dirty rectangle for drawing; false when nothing is dirty.
    virtual bool BeginDraw(RECT& update);
    virtual void EndDraw();
    // Draws the layer into the frame of the renderer of the node's windowed
    // ancestor, limited to the clip rectangle (null: the whole frame).
    virtual bool Draw(const RECT* clip) = 0;
    virtual void ReleaseResources() = 0;
    // Opens `source` (layer pixels) for writing: `view` covers the writable
    // memory and `destination` is where the part of `source` inside the
    // layer lies in it; nothing outside the layer is ever opened.
    virtual bool Lock(const RECT& source, PixelBuffer& view, RECT& destination);

    // Adds the rectangle (null: the whole layer) to the dirty rectangle.
    void AddDirty(const RECT* rect);
    // Shrinks a copy so that it lies inside the source and inside the layer,
    // moving source and destination together; false when nothing remains.
    bool ClipCopy(int sourceWidth, int sourceHeight, int& x, int& y, int& width, int& height, int& destX,
                  int& destY) const;
    // 255 for a windowed node's own layer, else the node's alpha.
    uint8_t GetAlphaByte() const;

    // Drawing, between BeginDraw and EndDraw.
    void CaptureWindow(HWND window, const RECT& rect, int destX, int destY);
    // See DibSurface::DrawViewObject; the clip is in layer pixels.
    void DrawViewObject(IViewObject* view, int x, int y, const RECT& clip, const RECT* bounds = nullptr);
    void DrawPixels(const RasterImage& source, int x, int y, int width, int height, int destX, int destY);

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    uint32_t GetFormat() const { return m_format; }
    bool HasFormat(uint32_t bits) const { return (m_format & bits) != 0; }
    // Flag 8 counts only while the alpha is valid.
    bool IsAlphaMeaningful() const { return HasFormat(AlphaMeaningful) && m_alphaValid; }
    void SetAlphaValid(bool valid) { m_alphaValid = valid; }
    SceneNode* GetNode() const { return m_node; }
    bool IsDirty() const { return m_dirty; }
    const RECT& GetDirtyRect() const { return m_dirtyRect; }
    const RECT& GetUpdateRect() const { return m_updateRect; }
    bool IsModified() const { return m_modified; }
    bool IsBusy() const { return m_busy; }
    void SetBusy(bool busy) { m_busy = busy; }
    DibSurface* GetSurface() const { return m_surface; }
    // A content node's extra surface, released with the first one.
    void SetSecondSurface(DibSurface* surface);

protected:
    // The CPU surface at the layer's size, made (compatible with the node's
    // window) when missing or of another size; null when it cannot be made.
    DibSurface* EnsureSurface();
    void ReleaseSurfaces();
    void SetModified() { m_modified = true; }

private:
    int m_width;
    int m_height;
    uint32_t m_format;
    bool m_alphaValid = true;
    SceneNode* m_node;
    bool m_dirty = true;
    RECT m_dirtyRect;
    DibSurface* m_surface = nullptr;
    DibSurface* m_secondSurface = nullptr;
    bool m_busy = false;
    bool m_modified = false;
    RECT m_updateRect = {};
};
