#pragma once
#include <cstdint>

#include "player/engine/PVDraw.h"
#include "player/engine/PVSweepEdge.h"
#include "player/engine/PVTArray.h"

class PVChar;
class PVDListObject;
class PVShape;
class PVText;
class WGLView;
struct PVFillStyle;
struct PVRGBA;
struct PVShapeEdge;

// Draws the player's frames through OpenGL into one WGL view. Filled
// regions are tessellated by a scan-line sweep into spans between edge
// pieces and sent as solid quads (batched), fans and strips, or textured
// with gradient and bitmap fills; edges and strokes are drawn as lines.
// Clip layers mask through the stencil buffer; three 3D view modes show the
// movie's layers as slices, on a plane or on a cube. Button hit areas are
// tested against the mouse while the frame is drawn.
//
// Owns the view from construction on. Every call comes from the thread
// that owns the view's window, with no other GL context current.
class PVGLDraw : public PVDraw {
public:
    enum ViewMode { kNormal = 0, kSlices = 1, kPlane = 2, kCube = 3 };

    PVGLDraw(PVPlayer* player, WGLView* view);
    ~PVGLDraw() override;

    // False without a view or when the working buffers cannot be allocated;
    // the drawer must not be used then.
    bool Init();
    // Deletes the view (the drawer then draws nothing).
    void Release();
    // Deletes every texture made so far; call with the view's context
    // current, before the context goes.
    void FreeTextures();

    // Makes the view current on `dc` (the window's own when null), draws
    // the frame and swaps buffers when something was drawn. `force` redraws
    // the whole view.
    bool Render(HDC__* dc, int mouseX, int mouseY, bool force) override;
    // The frame into the back buffer, without swapping; the view's context
    // must be current. True when something was drawn.
    bool RenderFrame(int mouseX, int mouseY, bool force);
    bool DrawDisplayList(PVDisplayList& list, const PVMatrix& matrix, const PVCxform* cxform) override;
    // The shape's edge groups under `matrix` (twips to window pixels); false
    // when a group could not be drawn (the other groups still are).
    bool DrawShape(const PVMatrix& matrix, const PVCxform* cxform, const PVShape& shape);
    // Measures where the rasteriser samples a pixel, once per drawer.
    void SetupView();

    // The renderer's view commands; each forces a full next frame.
    void SetViewMode(int mode);
    int ViewMode() const { return viewMode_; }
    void SetOutlines(bool outlinesOnly, bool blackAndWhite);
    bool OutlinesOnly() const { return outlinesOnly_; }
    bool BlackAndWhite() const { return blackAndWhite_; }
    // Pointer drags in 3D modes, as fractions of the window; `zoom` when Ctrl
    // is held.
    void BeginViewDrag(float x, float y, bool zoom);
    void UpdateViewDrag(float x, float y);
    void EndViewDrag();
    // The zoom of the drag under way (1 without one) and the zoom the drags
    // so far have left.
    float DragZoom() const { return dragZoomFactor_; }
    float Zoom() const { return zoom_; }

    WGLView* View() const { return view_; }
    bool SampleOffsetValid() const { return sampleValid_; }
    float SampleOffset() const { return sampleOffset_; }
    // Textures made and not yet deleted.
    int LiveTextureCount() const { return liveTextures_.Count(); }

private:
    struct Side {
        float xTop, xBottom, cx, cy;
        bool straight;
    };

    // Fill sweep (PVGLDrawSweep.cpp).
    bool FillSubShape(const PVMatrix& matrix, const PVCxform* cxform, const PVShapeEdge* first,
                      const PVShapeEdge*& next);
    bool BuildEdges(const PVMatrix& matrix, const PVShapeEdge* first, const PVShapeEdge*& next);
    bool AddPiece(const PVSweepEdge& piece);
    bool Sweep(const PVMatrix& matrix, const PVCxform* cxform);
    bool InsertPiece(const PVMatrix& matrix, const PVCxform* cxform, PVSweepEdge* piece);
    bool CloseRun(const PVMatrix& matrix, const PVCxform* cxform, int at, float y);
    // leftMin: the left side's smallest x; rightMax: the right side's largest.
    bool SpanVisible(float leftMin, float rightMax, float top, float bottom) const;

    // Span output (PVGLDrawSpan.cpp).
    bool EmitSpan(const PVMatrix& matrix, const PVCxform* cxform, const PVFillStyle& fill, const Side& left,
                  const Side& right, float top, float bottom);
    bool AddQuad(const PVRGBA& color, const float* xy);
    void FlushBatch();
    void DrawEdgeLines(const PVMatrix& matrix, const PVCxform* cxform, const PVShapeEdge* first,
                       const PVShapeEdge* end);
    bool AddLine(float x0, float y0, float x1, float y1);
    void AddCurveLines(int level, float x0, float y0, float cx, float cy, float x1, float y1);
    void FlushLines();
    PVRGBA FillColor(const PVFillStyle& fill, const PVCxform* cxform) const;
    // GL switches set only when they change; ForgetGLState after anything
    // else may have changed them (a new frame, a display-list compile).
    void ForgetGLState();
    void UseBlend(bool on);
    void UseLineSmooth(bool on);
    void UseLineWidth(float width);

    // Textures (PVGLDrawTexture.cpp).
    // The bitmap character a fill names, as the entry being drawn binds it.
    PVChar* FillBitmap(uint16_t id) const;
    bool DrawTexturedSpan(const PVMatrix& matrix, const PVCxform* cxform, const PVFillStyle& fill, float* vertices,
                          unsigned primitive, int count);
    uint32_t NewTextureName();
    void DeleteReleasedTextures();
    // Texture holders keep the drawer's serial, not its address: a holder
    // that outlives the drawer (a character the player still keeps) then
    // reaches nothing when it goes.
    static void OnTextureReleased(void* context, uint32_t name);
    void* ReleaseContext() const { return reinterpret_cast<void*>(serial_); }
    static uintptr_t RegisterDrawer(PVGLDraw* drawer);
    static void UnregisterDrawer(PVGLDraw* drawer);

    // Frames (PVGLDrawFrame.cpp).
    bool DrawObject(PVDListObject& entry, const PVMatrix& parent, const PVCxform* parentCxform);
    bool DrawText(const PVMatrix& matrix, const PVCxform* cxform, const PVText& text);
    void EndText();
    bool DrawClipLayer(PVDisplayList& list, int depth, const PVMatrix& matrix, const PVCxform* cxform);
    void DrawLayerFrame();
    bool ProbeSampleRow(float y, float height, int row);
    void DrawFrame3D(PVDisplayList& list, const PVMatrix& matrix, int w, int h);
    void DrawWithClipPlanes(PVDisplayList& list, const PVMatrix& matrix, int w, int h);

    WGLView* view_;
    int movieWidth_ = 0;  // twips
    int movieHeight_ = 0;
    float viewWidth_ = 10;
    float viewHeight_ = 10;
    bool drawingMask_ = false;
    // The bitmaps bound to the entry being drawn, or null.
    const PVTArray<PVChar*>* fillBitmaps_ = nullptr;
    bool hitTesting_ = false;
    bool mouseInside_ = false;
    float mouseX_ = -1;
    float mouseY_ = -1;
    PVButtonClip* testedButton_ = nullptr;
    bool viewChanged_ = true;
    float updateLeft_ = 0, updateTop_ = 0, updateRight_ = 10, updateBottom_ = 10;
    bool outlinesOnly_ = false;
    bool blackAndWhite_ = false;
    // Text glyphs take the text's colour in place of their own fill's.
    const PVRGBA* glyphColor_ = nullptr;
    // Depth of nested clip layers whose masks are in the stencil buffer.
    int clipLevel_ = 0;

    // 3D views.
    int viewMode_ = kNormal;
    bool layerFlag_ = false;
    bool counting_ = false;
    int layerCount_ = 0;
    int layerCounter_ = 0;
    uint32_t animationStart_ = 0;
    uint32_t dragStart_ = 0;
    float dragStartX_ = 0, dragStartY_ = 0;
    bool dragZoom_ = false;
    float azimuth_ = 0, elevation_ = 0, zoom_ = 1;
    float dragAzimuth_ = 0, dragElevation_ = 0, dragZoomFactor_ = 1;
    bool autoRotate_ = true;
    float autoAzimuth_ = 0, autoElevation_ = 0;
    float baseZoom_ = 1;

    // Textures.
    uintptr_t serial_;
    PVGLDraw* nextLive_ = nullptr;
    uint32_t textureCounter_ = 0;
    PVTArray<int> liveTextures_;
    PVTArray<int> releasedTextures_;

    // Sweep state.
    PVTArray<PVSweepEdge> pieces_;
    PVTArray<PVSweepEdge*> order_;
    PVTArray<PVSweepEdge*> active_;
    PVTArray<uint32_t> batch_;
    int batchWords_ = 0;
    bool batchBlends_ = false;
    PVTArray<float> scratch_;
    PVTArray<uint32_t> lines_;
    int lineWords_ = 0;
    uint32_t lineColor_ = 0;
    float lineWidth_ = 1;
    bool lineSmooth_ = false;
    // Text: the glyphs' fills and lines are drawn together at its end.
    bool deferLines_ = false;
    int blendState_ = -1;  // -1: unknown
    int smoothState_ = -1;
    float lineWidthState_ = -1;

    bool setUp_ = false;
    bool sampleValid_ = false;
    float sampleOffset_ = 0, sampleLow_ = 0, sampleHigh_ = 0;
    uint8_t alphaRamp_[256] = {};
    bool depthTest_ = false;
};
