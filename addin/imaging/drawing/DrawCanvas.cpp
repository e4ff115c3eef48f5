#include "addin/imaging/drawing/DrawCanvas.h"

#include "addin/imaging/drawing/BitmapPlatformDevice.h"
#include "addin/imaging/drawing/ClipMaskRects.h"
#include "addin/imaging/drawing/PremulColor.h"

#include "addin/imaging/drawing/DrawMaskFilter.h"

#include <pixman.h>

#include <math.h>
#include <string.h>

namespace {

void SetCairoMatrix(cairo_t* cr, const DrawMatrix& m)
{
    cairo_matrix_t c;
    cairo_matrix_init(&c, m.Get(DrawMatrix::kScaleX), m.Get(DrawMatrix::kSkewY), m.Get(DrawMatrix::kSkewX),
                      m.Get(DrawMatrix::kScaleY), m.Get(DrawMatrix::kTransX), m.Get(DrawMatrix::kTransY));
    // A singular matrix draws nothing rather than putting cairo in error.
    if (cairo_matrix_invert(&c) == CAIRO_STATUS_SUCCESS) {
        cairo_matrix_invert(&c);
        cairo_set_matrix(cr, &c);
    } else {
        cairo_scale(cr, 0, 0);
    }
}

void AppendPath(cairo_t* cr, const DrawPath& path, const DrawMatrix& matrix)
{
    // Perspective maps the points themselves; cairo's matrix stays identity.
    bool project = matrix.HasPerspective();
    const std::vector<DrawPoint>& points = path.GetPoints();
    size_t next = 0;
    auto at = [&](size_t i, double* x, double* y) {
        float px = points[i].x, py = points[i].y;
        if (project)
            matrix.MapPoint(px, py, &px, &py);
        *x = px;
        *y = py;
    };
    double x0, y0, x1, y1, x2, y2;
    for (uint8_t verb : path.GetVerbs()) {
        switch (verb) {
        case DrawPath::kMove:
            at(next++, &x0, &y0);
            cairo_move_to(cr, x0, y0);
            break;
        case DrawPath::kLine:
            at(next++, &x0, &y0);
            cairo_line_to(cr, x0, y0);
            break;
        case DrawPath::kQuad: {
            double cx, cy;
            cairo_get_current_point(cr, &cx, &cy);
            at(next, &x0, &y0);
            at(next + 1, &x1, &y1);
            next += 2;
            cairo_curve_to(cr, cx + 2.0 / 3 * (x0 - cx), cy + 2.0 / 3 * (y0 - cy), x1 + 2.0 / 3 * (x0 - x1),
                           y1 + 2.0 / 3 * (y0 - y1), x1, y1);
            break;
        }
        case DrawPath::kCubic:
            at(next, &x0, &y0);
            at(next + 1, &x1, &y1);
            at(next + 2, &x2, &y2);
            next += 3;
            cairo_curve_to(cr, x0, y0, x1, y1, x2, y2);
            break;
        case DrawPath::kClose:
            cairo_close_path(cr);
            break;
        }
    }
}

// Multiplies the mask by the other surface's alpha.
void MultiplyMask(cairo_surface_t* mask, cairo_surface_t* by)
{
    cairo_t* cr = cairo_create(mask);
    cairo_set_source_surface(cr, by, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_DEST_IN);
    cairo_paint(cr);
    cairo_destroy(cr);
}

// The cairo operator of a transfer mode; multiply (both alpha and colour
// multiplied) has none and is done by hand.
cairo_operator_t Operator(int32_t mode)
{
    static const cairo_operator_t operators[17] = {
        CAIRO_OPERATOR_CLEAR,     CAIRO_OPERATOR_SOURCE,    CAIRO_OPERATOR_DEST,    CAIRO_OPERATOR_OVER,
        CAIRO_OPERATOR_DEST_OVER, CAIRO_OPERATOR_IN,        CAIRO_OPERATOR_DEST_IN, CAIRO_OPERATOR_OUT,
        CAIRO_OPERATOR_DEST_OUT,  CAIRO_OPERATOR_ATOP,      CAIRO_OPERATOR_DEST_ATOP, CAIRO_OPERATOR_XOR,
        CAIRO_OPERATOR_DARKEN,    CAIRO_OPERATOR_LIGHTEN,
        CAIRO_OPERATOR_OVER,  // multiply: not this operator's blend, see MultiplyPixels
        CAIRO_OPERATOR_SCREEN,    CAIRO_OPERATOR_ADD,
    };
    return mode >= 0 && mode < 17 ? operators[mode] : CAIRO_OPERATOR_OVER;
}

// Every byte of the target times the same byte of the source.
void MultiplyPixels(cairo_surface_t* target, cairo_surface_t* source)
{
    cairo_surface_flush(target);
    cairo_surface_flush(source);
    uint8_t* to = cairo_image_surface_get_data(target);
    const uint8_t* from = cairo_image_surface_get_data(source);
    if (!to || !from)
        return;
    int width = cairo_image_surface_get_width(target), height = cairo_image_surface_get_height(target);
    int toStride = cairo_image_surface_get_stride(target), fromStride = cairo_image_surface_get_stride(source);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = to + ptrdiff_t(y) * toStride;
        const uint8_t* by = from + ptrdiff_t(y) * fromStride;
        for (int i = 0; i < width * 4; ++i)
            row[i] = uint8_t(MulDiv255Round(row[i], by[i]));
    }
    cairo_surface_mark_dirty(target);
}

cairo_operator_t ClipOperator(DrawCanvas::RegionOp op)
{
    switch (op) {
    case DrawCanvas::kDifference:
        return CAIRO_OPERATOR_DEST_OUT;
    case DrawCanvas::kUnion:
        return CAIRO_OPERATOR_OVER;
    case DrawCanvas::kXor:
        return CAIRO_OPERATOR_XOR;
    case DrawCanvas::kReverseDifference:
        return CAIRO_OPERATOR_OUT;
    case DrawCanvas::kReplace:
        return CAIRO_OPERATOR_SOURCE;
    default:
        return CAIRO_OPERATOR_DEST_IN;
    }
}

}  // namespace

DrawCanvas::DrawCanvas(DrawBitmap& target, BitmapPlatformDevice* device) : m_target(target), m_device(device)
{
    if (m_device)
        m_device->AddRef();
    bool usable = target.GetConfig() == BitmapConfig::Argb8888 && !target.IsEmpty();
    m_surface = usable ? cairo_image_surface_create_for_data(target.GetPixels(), CAIRO_FORMAT_ARGB32,
                                                             target.GetWidth(), target.GetHeight(),
                                                             target.GetRowBytes())
                       : cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 0, 0);
}

DrawCanvas::DrawCanvas(int width, int height, std::shared_ptr<DrawRecording> recording)
    : m_target(m_recordingSize), m_device(nullptr), m_recording(std::move(recording))
{
    m_recordingSize.SetExternal(BitmapConfig::None, width > 0 ? width : 0, height > 0 ? height : 0, 0, nullptr);
    m_surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 0, 0);
}

bool DrawCanvas::Record(DrawOp op)
{
    if (!m_recording)
        return false;
    m_recording->push_back(std::move(op));
    return true;
}

DrawCanvas::~DrawCanvas()
{
    RestoreToCount(1);
    if (m_clip)
        cairo_surface_destroy(m_clip);
    cairo_surface_destroy(m_surface);
    if (m_device)
        m_device->Release();
}

int DrawCanvas::Save(uint32_t flags)
{
    Record([flags](DrawCanvas& c, const DrawMatrix&) { c.Save(flags); });
    int count = GetSaveCount();
    m_stack.push_back({m_matrix, m_clip ? cairo_surface_reference(m_clip) : nullptr, flags});
    return count;
}

void DrawCanvas::Restore()
{
    if (m_stack.empty())
        return;
    Record([](DrawCanvas& c, const DrawMatrix&) { c.Restore(); });
    Saved saved = m_stack.back();
    m_stack.pop_back();
    if (saved.flags & kMatrixSave)
        m_matrix = saved.matrix;
    if (saved.flags & kClipSave) {
        if (m_clip)
            cairo_surface_destroy(m_clip);
        m_clip = saved.clip;
    } else if (saved.clip) {
        cairo_surface_destroy(saved.clip);
    }
    ClipChanged();
}

void DrawCanvas::RestoreToCount(int count)
{
    if (count < 1)
        count = 1;
    while (GetSaveCount() > count)
        Restore();
}

bool DrawCanvas::Translate(float dx, float dy)
{
    Record([dx, dy](DrawCanvas& c, const DrawMatrix&) { c.Translate(dx, dy); });
    m_matrix.PreTranslate(dx, dy);
    ClipChanged();
    return true;
}

bool DrawCanvas::Scale(float sx, float sy)
{
    Record([sx, sy](DrawCanvas& c, const DrawMatrix&) { c.Scale(sx, sy); });
    m_matrix.PreScale(sx, sy);
    ClipChanged();
    return true;
}

bool DrawCanvas::Rotate(float degrees)
{
    Record([degrees](DrawCanvas& c, const DrawMatrix&) { c.Rotate(degrees); });
    m_matrix.PreRotate(degrees);
    ClipChanged();
    return true;
}

bool DrawCanvas::Skew(float sx, float sy)
{
    Record([sx, sy](DrawCanvas& c, const DrawMatrix&) { c.Skew(sx, sy); });
    m_matrix.PreSkew(sx, sy);
    ClipChanged();
    return true;
}

bool DrawCanvas::Concat(const DrawMatrix& matrix)
{
    Record([matrix](DrawCanvas& c, const DrawMatrix&) { c.Concat(matrix); });
    m_matrix.PreConcat(matrix);
    ClipChanged();
    return true;
}

void DrawCanvas::SetMatrix(const DrawMatrix& matrix)
{
    Record([matrix](DrawCanvas& c, const DrawMatrix& base) {
        DrawMatrix relative = base;
        relative.PreConcat(matrix);
        c.SetMatrix(relative);
    });
    m_matrix = matrix;
    ClipChanged();
}

cairo_surface_t* DrawCanvas::NewMask(int margin) const
{
    return cairo_image_surface_create(CAIRO_FORMAT_A8, m_target.GetWidth() + 2 * margin,
                                      m_target.GetHeight() + 2 * margin);
}

bool DrawCanvas::ClipRect(const DrawRect& rect, RegionOp op)
{
    DrawPath path;
    path.AddRect(rect, DrawPath::kClockwise);
    return ClipPath(path, op);
}

bool DrawCanvas::ClipPath(const DrawPath& path, RegionOp op)
{
    Record([path, op](DrawCanvas& c, const DrawMatrix&) { c.ClipPath(path, op); });
    DrawPaint hard;
    cairo_surface_t* shape = Coverage(path, hard, false);
    cairo_surface_t* clip = m_clip;
    if (!clip) {
        clip = NewMask();
        cairo_t* cr = cairo_create(clip);
        cairo_paint(cr);
        cairo_destroy(cr);
    } else {
        // Saved states share the old mask: combine into a fresh one.
        cairo_surface_t* copy = NewMask();
        cairo_t* cr = cairo_create(copy);
        cairo_set_source_surface(cr, clip, 0, 0);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_surface_destroy(m_clip);
        clip = copy;
    }
    cairo_t* cr = cairo_create(clip);
    cairo_set_source_surface(cr, shape, 0, 0);
    cairo_set_operator(cr, ClipOperator(op));
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(shape);
    m_clip = clip;
    ClipChanged();
    DrawRect bounds;
    return GetClipBounds(&bounds, kHardEdges);
}

std::vector<RECT> DrawCanvas::GetClipRects() const
{
    return ClipMaskRects(m_clip, m_target.GetWidth(), m_target.GetHeight());
}

bool DrawCanvas::GetClipBounds(DrawRect* bounds, EdgeType edges) const
{
    *bounds = {0, 0, 0, 0};
    std::vector<RECT> rects = GetClipRects();
    if (rects.empty())
        return false;
    RECT box = rects[0];
    for (const RECT& r : rects)
        UnionRect(&box, &box, &r);
    if (edges == kSoftEdges)
        InflateRect(&box, 1, 1);
    DrawMatrix inverse;
    if (!m_matrix.Invert(&inverse))
        return false;
    const float corners[4][2] = {{float(box.left), float(box.top)},
                                 {float(box.right), float(box.top)},
                                 {float(box.right), float(box.bottom)},
                                 {float(box.left), float(box.bottom)}};
    for (int i = 0; i < 4; ++i) {
        float x, y;
        inverse.MapPoint(corners[i][0], corners[i][1], &x, &y);
        if (i == 0) {
            *bounds = {x, y, x, y};
        } else {
            bounds->left = fminf(bounds->left, x);
            bounds->top = fminf(bounds->top, y);
            bounds->right = fmaxf(bounds->right, x);
            bounds->bottom = fmaxf(bounds->bottom, y);
        }
    }
    return true;
}

void DrawCanvas::ClipChanged()
{
    // The device turns the mask into rectangles only when GDI draws: matrix
    // changes come far more often than GDI output.
    if (m_device)
        m_device->SetMatrixClipMask(m_matrix, m_clip);
}

HDC DrawCanvas::GetDeviceContext()
{
    if (!m_device)
        return nullptr;
    ClipChanged();
    return m_device->GetMemoryDC();
}

cairo_surface_t* DrawCanvas::Coverage(const DrawPath& path, const DrawPaint& paint, bool clipped, int margin) const
{
    cairo_surface_t* mask = NewMask(margin);
    cairo_t* cr = cairo_create(mask);
    cairo_set_antialias(cr, paint.IsAntiAlias() ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
    DrawMatrix matrix = DrawMatrix::Translate(float(margin), float(margin));
    matrix.PreConcat(m_matrix);
    if (!matrix.HasPerspective())
        SetCairoMatrix(cr, matrix);
    AppendPath(cr, path, matrix);
    DrawPath::FillType fill = path.GetFillType();
    cairo_set_fill_rule(cr, fill == DrawPath::kEvenOdd || fill == DrawPath::kInverseEvenOdd
                                ? CAIRO_FILL_RULE_EVEN_ODD
                                : CAIRO_FILL_RULE_WINDING);
    DrawPaint::Style style = paint.GetStyle();
    if (style != DrawPaint::kStroke) {
        if (path.IsInverseFill()) {
            cairo_save(cr);
            cairo_identity_matrix(cr);
            cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
            cairo_reset_clip(cr);
            cairo_paint(cr);
            cairo_restore(cr);
            cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
        }
        cairo_fill_preserve(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    }
    if (style != DrawPaint::kFill) {
        static const cairo_line_cap_t caps[3] = {CAIRO_LINE_CAP_BUTT, CAIRO_LINE_CAP_ROUND, CAIRO_LINE_CAP_SQUARE};
        static const cairo_line_join_t joins[3] = {CAIRO_LINE_JOIN_MITER, CAIRO_LINE_JOIN_ROUND,
                                                   CAIRO_LINE_JOIN_BEVEL};
        cairo_set_line_cap(cr, caps[paint.GetStrokeCap()]);
        cairo_set_line_join(cr, joins[paint.GetStrokeJoin()]);
        cairo_set_miter_limit(cr, paint.GetStrokeMiter());
        if (paint.GetStrokeWidth() == 0) {
            // Hairlines are one device pixel whatever the matrix.
            cairo_identity_matrix(cr);
            cairo_set_line_width(cr, 1.0);
        } else {
            cairo_set_line_width(cr, paint.GetStrokeWidth());
        }
        cairo_stroke(cr);
    }
    cairo_new_path(cr);
    if (clipped && m_clip) {
        cairo_identity_matrix(cr);
        cairo_set_source_surface(cr, m_clip, 0, 0);
        cairo_set_operator(cr, CAIRO_OPERATOR_DEST_IN);
        cairo_paint(cr);
    }
    cairo_destroy(cr);
    return mask;
}

cairo_pattern_t* DrawCanvas::SourceFor(const DrawPaint& paint) const
{
    if (paint.GetShader())
        return paint.GetShader()->MakePattern(m_matrix, m_target.GetWidth(), m_target.GetHeight());
    uint32_t c = paint.GetColor();
    return cairo_pattern_create_rgba(ColorRed(c) / 255.0, ColorGreen(c) / 255.0, ColorBlue(c) / 255.0,
                                     ColorAlpha(c) / 255.0);
}

void DrawCanvas::Composite(cairo_pattern_t* source, cairo_surface_t* coverage, const DrawPaint& paint)
{
    int32_t mode = paint.GetTransferMode();
    if (source && coverage && (mode == DrawPaint::kNoMode || mode == DrawPaint::kSrcOver)) {
        cairo_t* cr = cairo_create(m_surface);
        cairo_set_source(cr, source);
        // A shader's colours are faded by the paint's alpha.
        if (paint.GetShader() && paint.GetAlpha() != 255) {
            cairo_push_group(cr);
            cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
            cairo_mask_surface(cr, coverage, 0, 0);
            cairo_pop_group_to_source(cr);
            cairo_paint_with_alpha(cr, paint.GetAlpha() / 255.0);
        } else {
            cairo_mask_surface(cr, coverage, 0, 0);
        }
        cairo_destroy(cr);
        cairo_surface_flush(m_surface);
    } else if (source && coverage) {
        CompositeMode(source, coverage, paint);
    }
    if (source)
        cairo_pattern_destroy(source);
    if (coverage)
        cairo_surface_destroy(coverage);
}

void DrawCanvas::CompositeMode(cairo_pattern_t* source, cairo_surface_t* coverage, const DrawPaint& paint)
{
    // A mode acts only where the shape covers: the target's pixels become
    // mode(source, target), and partly covered ones lie between that and
    // what they were. cairo's operators that clear what the source does
    // not reach (in, out, ...) would empty the rest of the target instead.
    int32_t mode = paint.GetTransferMode();
    int width = m_target.GetWidth(), height = m_target.GetHeight();
    cairo_surface_t* colours = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_surface_t* result = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(colours) == CAIRO_STATUS_SUCCESS &&
        cairo_surface_status(result) == CAIRO_STATUS_SUCCESS) {
        cairo_t* cr = cairo_create(colours);
        cairo_set_source(cr, source);
        cairo_paint_with_alpha(cr, paint.GetShader() ? paint.GetAlpha() / 255.0 : 1.0);
        cairo_destroy(cr);
        cr = cairo_create(result);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_surface(cr, m_surface, 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
        if (mode == DrawPaint::kMultiply) {
            MultiplyPixels(result, colours);
        } else {
            cr = cairo_create(result);
            cairo_set_operator(cr, Operator(mode));
            cairo_set_source_surface(cr, colours, 0, 0);
            cairo_paint(cr);
            cairo_destroy(cr);
        }
        cr = cairo_create(m_surface);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_surface(cr, result, 0, 0);
        cairo_mask_surface(cr, coverage, 0, 0);
        cairo_destroy(cr);
        cairo_surface_flush(m_surface);
    }
    cairo_surface_destroy(colours);
    cairo_surface_destroy(result);
}

void DrawCanvas::DrawColor(uint32_t color, int32_t mode)
{
    if (Record([color, mode](DrawCanvas& c, const DrawMatrix&) { c.DrawColor(color, mode); }))
        return;
    DrawPaint paint;
    paint.SetColor(color);
    paint.SetTransferMode(mode);
    DrawPath everything;
    everything.SetFillType(DrawPath::kInverseWinding);
    Composite(SourceFor(paint), Coverage(everything, paint, true), paint);
}

template <class Draw>
void DrawCanvas::Loop(const DrawPaint& paint, Draw draw)
{
    DrawLooper* looper = paint.GetLooper();
    if (!looper) {
        draw(paint);
        return;
    }
    DrawPaint pass = paint;
    pass.SetLooper(nullptr);
    looper->AddRef();
    looper->Init(this, &pass);
    try {
        while (looper->Next())
            draw(pass);
    } catch (...) {
        looper->Restore();
        looper->Release();
        throw;
    }
    looper->Release();
}

void DrawCanvas::DrawShape(const DrawPath& path, const DrawPaint& paint)
{
    if (path.IsEmpty() && !path.IsInverseFill())
        return;
    if (Record([path, paint](DrawCanvas& c, const DrawMatrix&) { c.DrawShape(path, paint); }))
        return;
    Loop(paint, [&](const DrawPaint& pass) { FillShape(path, pass); });
}

void DrawCanvas::FillShape(const DrawPath& path, const DrawPaint& paint)
{
    if (DrawMaskFilter* filter = paint.GetMaskFilter()) {
        int margin = filter->GetMargin();
        CompositeFiltered(Coverage(path, paint, false, margin), margin, paint);
        return;
    }
    Composite(SourceFor(paint), Coverage(path, paint, true), paint);
}

void DrawCanvas::CompositeFiltered(cairo_surface_t* wideCoverage, int margin, const DrawPaint& paint)
{
    int width = m_target.GetWidth(), height = m_target.GetHeight();
    DrawMask mask;
    mask.width = width + 2 * margin;
    mask.height = height + 2 * margin;
    bool filtered = false;
    if (cairo_surface_status(wideCoverage) == CAIRO_STATUS_SUCCESS) {
        cairo_surface_flush(wideCoverage);
        const uint8_t* data = cairo_image_surface_get_data(wideCoverage);
        int stride = cairo_image_surface_get_stride(wideCoverage);
        try {
            mask.alpha.resize(size_t(mask.width) * size_t(mask.height));
            for (int y = 0; y < mask.height; ++y)
                memcpy(&mask.alpha[size_t(y) * size_t(mask.width)], data + ptrdiff_t(y) * stride, size_t(mask.width));
            filtered = paint.GetMaskFilter()->Filter(mask);
        } catch (const std::bad_alloc&) {
        }
    }
    cairo_surface_destroy(wideCoverage);
    if (!filtered)
        return;

    // The device's part of the filtered mask, then the clip.
    cairo_surface_t* coverage = NewMask();
    cairo_surface_flush(coverage);
    uint8_t* data = cairo_image_surface_get_data(coverage);
    int stride = cairo_image_surface_get_stride(coverage);
    for (int y = 0; y < height; ++y)
        memcpy(data + ptrdiff_t(y) * stride, &mask.alpha[size_t(y + margin) * size_t(mask.width) + size_t(margin)],
               size_t(width));
    cairo_surface_mark_dirty(coverage);
    if (m_clip)
        MultiplyMask(coverage, m_clip);
    cairo_pattern_t* source = SourceFor(paint);
    if (source && mask.IsLit()) {
        // The source as pixels, each lit by the mask's planes.
        cairo_surface_t* lit = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
        cairo_t* cr = cairo_create(lit);
        cairo_set_source(cr, source);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_pattern_destroy(source);
        cairo_surface_flush(lit);
        uint8_t* pixels = cairo_image_surface_get_data(lit);
        int litStride = cairo_image_surface_get_stride(lit);
        for (int y = 0; pixels && y < height; ++y) {
            uint32_t* row = reinterpret_cast<uint32_t*>(pixels + ptrdiff_t(y) * litStride);
            size_t at = size_t(y + margin) * size_t(mask.width) + size_t(margin);
            for (int x = 0; x < width; ++x) {
                uint32_t p = row[x], a = ColorAlpha(p);
                uint32_t mul = mask.multiply[at + size_t(x)], add = MulDiv255Round(mask.add[at + size_t(x)], a);
                auto channel = [&](uint32_t c) {
                    uint32_t v = MulDiv255Round(c, mul) + add;
                    return v > a ? a : v;
                };
                row[x] = PackColor(a, channel(ColorRed(p)), channel(ColorGreen(p)), channel(ColorBlue(p)));
            }
        }
        cairo_surface_mark_dirty(lit);
        source = cairo_pattern_create_for_surface(lit);
        cairo_surface_destroy(lit);
    }
    Composite(source, coverage, paint);
}

void DrawCanvas::DrawRectangle(const DrawRect& rect, const DrawPaint& paint)
{
    DrawPath path;
    path.AddRect(rect, DrawPath::kClockwise);
    DrawShape(path, paint);
}

void DrawCanvas::DrawOval(const DrawRect& oval, const DrawPaint& paint)
{
    DrawPath path;
    path.AddOval(oval, DrawPath::kClockwise);
    DrawShape(path, paint);
}

void DrawCanvas::DrawCircle(float cx, float cy, float radius, const DrawPaint& paint)
{
    DrawPath path;
    path.AddCircle(cx, cy, radius, DrawPath::kClockwise);
    DrawShape(path, paint);
}

void DrawCanvas::DrawArc(const DrawRect& oval, float startAngle, float sweepAngle, bool useCentre,
                         const DrawPaint& paint)
{
    DrawPath path;
    if (useCentre) {
        path.MoveTo((oval.left + oval.right) / 2, (oval.top + oval.bottom) / 2);
        path.ArcTo(oval, startAngle, sweepAngle, false);
        path.Close();
    } else {
        path.ArcTo(oval, startAngle, sweepAngle, true);
    }
    DrawShape(path, paint);
}

void DrawCanvas::DrawRoundRect(const DrawRect& rect, float rx, float ry, const DrawPaint& paint)
{
    DrawPath path;
    path.AddRoundRect(rect, rx, ry, DrawPath::kClockwise);
    DrawShape(path, paint);
}

void DrawCanvas::DrawPoints(PointMode mode, int count, const DrawPoint* points, const DrawPaint& paint)
{
    if (count <= 0 || !points)
        return;
    DrawPaint stroke = paint;
    stroke.SetStyle(DrawPaint::kStroke);
    DrawPath path;
    if (mode == kPoints) {
        // A point is a square (or, with round caps, a circle) of the stroke
        // width; hairline points fill one pixel.
        float half = paint.GetStrokeWidth() > 0 ? paint.GetStrokeWidth() / 2 : 0.5f;
        for (int i = 0; i < count; ++i) {
            DrawRect box = {points[i].x - half, points[i].y - half, points[i].x + half, points[i].y + half};
            if (paint.GetStrokeCap() == DrawPaint::kRoundCap)
                path.AddOval(box, DrawPath::kClockwise);
            else
                path.AddRect(box, DrawPath::kClockwise);
        }
        DrawPaint fill = paint;
        fill.SetStyle(DrawPaint::kFill);
        DrawShape(path, fill);
        return;
    }
    if (mode == kLines) {
        for (int i = 0; i + 1 < count; i += 2) {
            path.MoveTo(points[i].x, points[i].y);
            path.LineTo(points[i + 1].x, points[i + 1].y);
        }
    } else {
        path.MoveTo(points[0].x, points[0].y);
        for (int i = 1; i < count; ++i)
            path.LineTo(points[i].x, points[i].y);
    }
    DrawShape(path, stroke);
}

void DrawCanvas::DrawLine(float x0, float y0, float x1, float y1, const DrawPaint& paint)
{
    const DrawPoint points[2] = {{x0, y0}, {x1, y1}};
    DrawPoints(kLines, 2, points, paint);
}

void DrawCanvas::DrawSinglePoint(float x, float y, const DrawPaint& paint)
{
    const DrawPoint point = {x, y};
    DrawPoints(kPoints, 1, &point, paint);
}

void DrawCanvas::DrawImage(const DrawBitmap& bitmap, float left, float top, const DrawPaint* paint)
{
    RECT all = {0, 0, bitmap.GetWidth(), bitmap.GetHeight()};
    DrawImageWith(bitmap, DrawMatrix::Translate(left, top), all, paint);
}

void DrawCanvas::DrawImageMatrix(const DrawBitmap& bitmap, const DrawMatrix& matrix, const DrawPaint* paint)
{
    RECT all = {0, 0, bitmap.GetWidth(), bitmap.GetHeight()};
    DrawImageWith(bitmap, matrix, all, paint);
}

void DrawCanvas::DrawImageRect(const DrawBitmap& bitmap, const RECT* source, const DrawRect& destination,
                                const DrawPaint* paint)
{
    RECT all = {0, 0, bitmap.GetWidth(), bitmap.GetHeight()};
    RECT from = all;
    if (source && !IntersectRect(&from, source, &all))
        return;
    float width = float(from.right - from.left), height = float(from.bottom - from.top);
    DrawMatrix local = DrawMatrix::Translate(destination.left, destination.top);
    local.PreScale((destination.right - destination.left) / width, (destination.bottom - destination.top) / height);
    DrawImageWith(bitmap, local, from, paint);
}

void DrawCanvas::DrawImageWith(const DrawBitmap& bitmap, const DrawMatrix& local, const RECT& source,
                                const DrawPaint* paintOrNull)
{
    DrawPaint defaults;
    const DrawPaint& paint = paintOrNull ? *paintOrNull : defaults;
    int width = source.right - source.left, height = source.bottom - source.top;
    bool alphaOnly = bitmap.GetConfig() == BitmapConfig::A8;
    if (bitmap.IsEmpty() || width <= 0 || height <= 0 || (!alphaOnly && bitmap.GetConfig() != BitmapConfig::Argb8888))
        return;
    if (m_recording) {
        // The recording keeps its own copy: the caller may change or free
        // the bitmap before the picture is played.
        auto copy = std::make_shared<DrawBitmap>();
        if (copy->CopyFrom(bitmap))
            Record([copy, local, source, paint](DrawCanvas& c, const DrawMatrix&) {
                c.DrawImageWith(*copy, local, source, &paint);
            });
        return;
    }
    Loop(paint, [&](const DrawPaint& pass) { DrawImagePass(bitmap, local, source, pass); });
}

void DrawCanvas::DrawImagePass(const DrawBitmap& bitmap, const DrawMatrix& local, const RECT& source,
                                const DrawPaint& paint)
{
    int width = source.right - source.left, height = source.bottom - source.top;
    bool alphaOnly = bitmap.GetConfig() == BitmapConfig::A8;
    DrawMaskFilter* filter = paint.GetMaskFilter();
    int margin = filter ? filter->GetMargin() : 0;
    // Device pixels of the pass start `margin` pixels outside the device.
    DrawMatrix toDevice = m_matrix;
    toDevice.PreConcat(local);
    DrawMatrix toPixels = DrawMatrix::Translate(float(margin), float(margin));
    toPixels.PreConcat(toDevice);
    DrawMatrix inverse;
    if (!toPixels.Invert(&inverse))
        return;
    // pixman samples the bitmap through the inverse (projective) matrix. It
    // wants rows of whole 32-bit words: A8 rows are copied into such rows.
    uint8_t* first = bitmap.Row(source.top) + source.left * bitmap.GetBytesPerPixel();
    int rowBytes = bitmap.GetRowBytes();
    std::vector<uint32_t> alignedRows;
    if (alphaOnly) {
        int alignedBytes = (width + 3) & ~3;
        alignedRows.resize(size_t(alignedBytes / 4) * size_t(height));
        uint8_t* rows = reinterpret_cast<uint8_t*>(alignedRows.data());
        for (int y = 0; y < height; ++y)
            memcpy(rows + ptrdiff_t(y) * alignedBytes, first + ptrdiff_t(y) * rowBytes, size_t(width));
        first = rows;
        rowBytes = alignedBytes;
    }
    // An opaque bitmap's alpha bytes are not sampled: GDI leaves them 0.
    pixman_format_code_t format = alphaOnly ? PIXMAN_a8 : bitmap.IsOpaque() ? PIXMAN_x8r8g8b8 : PIXMAN_a8r8g8b8;
    pixman_image_t* image = pixman_image_create_bits(format, width, height,
                                                     reinterpret_cast<uint32_t*>(first), rowBytes);
    if (!image)
        return;
    pixman_transform_t transform;
    const int order[3][3] = {{DrawMatrix::kScaleX, DrawMatrix::kSkewX, DrawMatrix::kTransX},
                             {DrawMatrix::kSkewY, DrawMatrix::kScaleY, DrawMatrix::kTransY},
                             {DrawMatrix::kPersp0, DrawMatrix::kPersp1, DrawMatrix::kPersp2}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            transform.matrix[r][c] = pixman_double_to_fixed(inverse.Get(order[r][c]));
    pixman_image_set_transform(image, &transform);
    pixman_image_set_filter(image, paint.GetFlags() & DrawPaint::kFilterBitmap ? PIXMAN_FILTER_BILINEAR
                                                                                 : PIXMAN_FILTER_NEAREST,
                            nullptr, 0);
    int deviceWidth = m_target.GetWidth() + 2 * margin, deviceHeight = m_target.GetHeight() + 2 * margin;
    cairo_surface_t* pixels = cairo_image_surface_create(alphaOnly ? CAIRO_FORMAT_A8 : CAIRO_FORMAT_ARGB32,
                                                         deviceWidth, deviceHeight);
    pixman_image_t* target =
        pixman_image_create_bits(alphaOnly ? PIXMAN_a8 : PIXMAN_a8r8g8b8, deviceWidth, deviceHeight,
                                 reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(pixels)),
                                 cairo_image_surface_get_stride(pixels));
    pixman_image_composite32(PIXMAN_OP_SRC, image, nullptr, target, 0, 0, 0, 0, 0, 0, deviceWidth, deviceHeight);
    pixman_image_unref(target);
    pixman_image_unref(image);
    cairo_surface_mark_dirty(pixels);

    // Coverage: the bitmap's outline under the matrix, times the clip.
    DrawPath outline;
    outline.AddRect({0, 0, float(width), float(height)}, DrawPath::kClockwise);
    outline.Transform(toDevice);
    DrawMatrix saved = m_matrix;
    m_matrix.Reset();
    DrawPaint shape = paint;
    shape.SetStyle(DrawPaint::kFill);
    cairo_surface_t* coverage = Coverage(outline, shape, !filter, margin);
    m_matrix = saved;

    cairo_pattern_t* pattern;
    if (filter) {
        // The bitmap's alpha is the shape the filter works on.
        MultiplyMask(coverage, pixels);
        cairo_surface_destroy(pixels);
        DrawPaint colour = paint;
        colour.SetShader(nullptr);
        CompositeFiltered(coverage, margin, colour);
        return;
    }
    if (alphaOnly) {
        // The bitmap's alpha joins the coverage; the paint's colour is drawn.
        MultiplyMask(coverage, pixels);
        pattern = SourceFor(paint);
    } else {
        // The paint's alpha fades the bitmap's colours before the transfer
        // mode sees them; fading the coverage instead would only blend a
        // mode's result with what lay below.
        if (paint.GetAlpha() != 255) {
            cairo_t* cr = cairo_create(pixels);
            cairo_set_source_rgba(cr, 0, 0, 0, paint.GetAlpha() / 255.0);
            cairo_set_operator(cr, CAIRO_OPERATOR_DEST_IN);
            cairo_paint(cr);
            cairo_destroy(cr);
        }
        pattern = cairo_pattern_create_for_surface(pixels);
    }
    cairo_surface_destroy(pixels);
    DrawPaint composite = paint;
    composite.SetShader(nullptr);
    Composite(pattern, coverage, composite);
}
