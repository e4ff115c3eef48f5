#pragma once
#include "addin/imaging/drawing/DrawBitmap.h"
#include "addin/imaging/drawing/DrawMatrix.h"
#include "addin/imaging/drawing/DrawPaint.h"
#include "addin/imaging/drawing/DrawPath.h"
#include "addin/imaging/drawing/DrawRecording.h"

#include <cairo.h>
#include <memory>
#include <vector>
#include <windows.h>

class BitmapPlatformDevice;

// Draws into a premultiplied 32-bit bitmap with cairo: a matrix and clip
// stack (clips are coverage masks combined by region operations), shapes,
// paths and bitmaps under paints, with their mask filters and loopers. With a
// platform device, the device's memory DC follows the matrix and clip. A
// recording canvas has no pixels: it keeps its matrix and clip for queries and
// appends every call to a recording instead of drawing. One thread at a time.
class DrawCanvas {
public:
    enum RegionOp : int32_t {
        kDifference = 0,
        kIntersect = 1,
        kUnion = 2,
        kXor = 3,
        kReverseDifference = 4,
        kReplace = 5,
    };
    enum SaveFlags : uint32_t { kMatrixSave = 0x01, kClipSave = 0x02, kMatrixClipSave = 0x03 };
    enum PointMode : int32_t { kPoints = 0, kLines = 1, kPolygon = 2 };
    enum EdgeType : int32_t { kHardEdges = 0, kSoftEdges = 1 };

    // The bitmap (32-bit) must outlive the canvas; the device, when given,
    // owns it and gains a reference.
    explicit DrawCanvas(DrawBitmap& target, BitmapPlatformDevice* device = nullptr);
    // A recording canvas of that size; calls go to the recording until
    // StopRecording.
    DrawCanvas(int width, int height, std::shared_ptr<DrawRecording> recording);
    ~DrawCanvas();
    DrawCanvas(const DrawCanvas&) = delete;
    DrawCanvas& operator=(const DrawCanvas&) = delete;

    DrawBitmap& GetBitmap() { return m_target; }
    BitmapPlatformDevice* GetDevice() const { return m_device; }
    // The device's DC for GDI, set to this canvas's matrix and clip first:
    // another canvas on the same device may have left its own there. Null
    // without a device.
    HDC GetDeviceContext();
    bool IsRecording() const { return m_recording != nullptr; }
    void StopRecording() { m_recording.reset(); }

    // The save count before the save; restores bring back only what the
    // flags named.
    int Save(uint32_t flags);
    void Restore();
    int GetSaveCount() const { return int(m_stack.size()) + 1; }
    // Counts of 0 or less count as 1.
    void RestoreToCount(int count);

    bool Translate(float dx, float dy);
    bool Scale(float sx, float sy);
    bool Rotate(float degrees);
    bool Skew(float sx, float sy);
    bool Concat(const DrawMatrix& matrix);
    void SetMatrix(const DrawMatrix& matrix);
    void ResetMatrix() { SetMatrix(DrawMatrix()); }
    const DrawMatrix& GetTotalMatrix() const { return m_matrix; }

    // False when the clip is empty afterwards.
    bool ClipRect(const DrawRect& rect, RegionOp op);
    bool ClipPath(const DrawPath& path, RegionOp op);
    // The clip's bounds in local coordinates (soft edges: one pixel wider);
    // false, with zeros, for an empty clip.
    bool GetClipBounds(DrawRect* bounds, EdgeType edges) const;
    // The clip as device rectangles (none when empty).
    std::vector<RECT> GetClipRects() const;

    // Fills the clip with the colour by the mode.
    void DrawColor(uint32_t color, int32_t mode = DrawPaint::kSrcOver);
    void DrawShape(const DrawPath& path, const DrawPaint& paint);
    void DrawRectangle(const DrawRect& rect, const DrawPaint& paint);
    void DrawOval(const DrawRect& oval, const DrawPaint& paint);
    void DrawCircle(float cx, float cy, float radius, const DrawPaint& paint);
    void DrawArc(const DrawRect& oval, float startAngle, float sweepAngle, bool useCentre, const DrawPaint& paint);
    void DrawRoundRect(const DrawRect& rect, float rx, float ry, const DrawPaint& paint);
    void DrawPoints(PointMode mode, int count, const DrawPoint* points, const DrawPaint& paint);
    void DrawLine(float x0, float y0, float x1, float y1, const DrawPaint& paint);
    void DrawSinglePoint(float x, float y, const DrawPaint& paint);
    // Bitmaps at (left, top), under an extra matrix, or from a source
    // rectangle (null: all) into a destination rectangle. A8 bitmaps, and
    // any bitmap under a mask filter, draw the paint's colour through their
    // (filtered) alpha. Paint null: default paint.
    void DrawImage(const DrawBitmap& bitmap, float left, float top, const DrawPaint* paint);
    void DrawImageMatrix(const DrawBitmap& bitmap, const DrawMatrix& matrix, const DrawPaint* paint);
    void DrawImageRect(const DrawBitmap& bitmap, const RECT* source, const DrawRect& destination,
                        const DrawPaint* paint);

private:
    struct Saved {
        DrawMatrix matrix;
        cairo_surface_t* clip;
        uint32_t flags;
    };

    // A8 of the device's size plus a margin on every side.
    cairo_surface_t* NewMask(int margin = 0) const;
    // Coverage of the path under the matrix (A8), times the clip; with a
    // margin the mask is that much larger and the device sits inside it.
    cairo_surface_t* Coverage(const DrawPath& path, const DrawPaint& paint, bool clipped, int margin = 0) const;
    // Appends the call when recording; true when it was recorded.
    bool Record(DrawOp op);
    // Draws once per pass of the paint's looper (once without one).
    template <class Draw>
    void Loop(const DrawPaint& paint, Draw draw);
    void FillShape(const DrawPath& path, const DrawPaint& paint);
    // Filters a coverage of the device plus margin, clips it and draws the
    // paint through it.
    void CompositeFiltered(cairo_surface_t* wideCoverage, int margin, const DrawPaint& paint);
    // Source through coverage onto the target with the paint's mode.
    void Composite(cairo_pattern_t* source, cairo_surface_t* coverage, const DrawPaint& paint);
    // The same for every mode but source-over.
    void CompositeMode(cairo_pattern_t* source, cairo_surface_t* coverage, const DrawPaint& paint);
    cairo_pattern_t* SourceFor(const DrawPaint& paint) const;
    // The bitmap's source rectangle under local (then the canvas matrix).
    void DrawImageWith(const DrawBitmap& bitmap, const DrawMatrix& local, const RECT& source,
                        const DrawPaint* paint);
    void DrawImagePass(const DrawBitmap& bitmap, const DrawMatrix& local, const RECT& source, const DrawPaint& paint);
    void ClipChanged();

    // The size of a recording canvas (no pixels).
    DrawBitmap m_recordingSize;
    DrawBitmap& m_target;
    BitmapPlatformDevice* m_device;
    cairo_surface_t* m_surface;
    DrawMatrix m_matrix;
    // A8 coverage of the clip; null while the clip is the whole bitmap.
    cairo_surface_t* m_clip = nullptr;
    std::vector<Saved> m_stack;
    std::shared_ptr<DrawRecording> m_recording;
};
