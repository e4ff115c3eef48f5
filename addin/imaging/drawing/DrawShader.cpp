#include "addin/imaging/drawing/DrawShader.h"

#include "addin/imaging/drawing/PremulColor.h"

#include <pixman.h>

#include <math.h>
#include <string.h>

namespace {

cairo_extend_t Extend(TileMode mode)
{
    switch (mode) {
    case TileMode::Repeat:
        return CAIRO_EXTEND_REPEAT;
    case TileMode::Mirror:
        return CAIRO_EXTEND_REFLECT;
    default:
        return CAIRO_EXTEND_PAD;
    }
}

float StopPosition(const float* positions, int i, int count)
{
    float t = positions ? positions[i] : float(i) / float(count - 1);
    return t < 0 ? 0 : t > 1 ? 1 : t;
}

cairo_matrix_t ToCairo(const DrawMatrix& m)
{
    cairo_matrix_t c;
    cairo_matrix_init(&c, m.Get(DrawMatrix::kScaleX), m.Get(DrawMatrix::kSkewY), m.Get(DrawMatrix::kSkewX),
                      m.Get(DrawMatrix::kScaleY), m.Get(DrawMatrix::kTransX), m.Get(DrawMatrix::kTransY));
    return c;
}

}  // namespace

DrawShader::DrawShader(cairo_pattern_t* pattern) : m_pattern(pattern) {}

DrawShader::~DrawShader()
{
    if (m_pattern)
        cairo_pattern_destroy(m_pattern);
}

void DrawShader::Release()
{
    if (InterlockedDecrement(&m_refs) == 0)
        delete this;
}

DrawShader* DrawShader::Wrap(cairo_pattern_t* pattern)
{
    if (!pattern || cairo_pattern_status(pattern) != CAIRO_STATUS_SUCCESS) {
        if (pattern)
            cairo_pattern_destroy(pattern);
        return nullptr;
    }
    auto* shader = new (std::nothrow) DrawShader(pattern);
    if (!shader)
        cairo_pattern_destroy(pattern);
    return shader;
}

bool DrawShader::AddStops(cairo_pattern_t* pattern, const uint32_t* colors, const float* positions, int count)
{
    if (!pattern || !colors || count < 2)
        return false;
    for (int i = 0; i < count; ++i) {
        uint32_t c = colors[i];
        cairo_pattern_add_color_stop_rgba(pattern, StopPosition(positions, i, count), ColorRed(c) / 255.0,
                                          ColorGreen(c) / 255.0, ColorBlue(c) / 255.0, ColorAlpha(c) / 255.0);
    }
    return true;
}

DrawShader* DrawShader::Linear(DrawPoint p0, DrawPoint p1, const uint32_t* colors, const float* positions, int count,
                               TileMode mode)
{
    if (!colors || count < 2)
        return nullptr;
    cairo_pattern_t* pattern = cairo_pattern_create_linear(p0.x, p0.y, p1.x, p1.y);
    AddStops(pattern, colors, positions, count);
    cairo_pattern_set_extend(pattern, Extend(mode));
    return Wrap(pattern);
}

DrawShader* DrawShader::Radial(DrawPoint centre, float radius, const uint32_t* colors, const float* positions,
                               int count, TileMode mode)
{
    return TwoPointRadial(centre, 0, centre, radius, colors, positions, count, mode);
}

DrawShader* DrawShader::TwoPointRadial(DrawPoint start, float startRadius, DrawPoint end, float endRadius,
                                       const uint32_t* colors, const float* positions, int count, TileMode mode)
{
    if (!colors || count < 2 || startRadius < 0 || endRadius < 0)
        return nullptr;
    cairo_pattern_t* pattern = cairo_pattern_create_radial(start.x, start.y, startRadius, end.x, end.y, endRadius);
    AddStops(pattern, colors, positions, count);
    cairo_pattern_set_extend(pattern, Extend(mode));
    return Wrap(pattern);
}

DrawShader* DrawShader::Sweep(DrawPoint centre, const uint32_t* colors, const float* positions, int count)
{
    if (!colors || count < 2)
        return nullptr;
    auto* shader = new (std::nothrow) DrawShader(nullptr);
    if (!shader)
        return nullptr;
    shader->m_sweep = true;
    shader->m_centre = centre;
    shader->m_colors.assign(colors, colors + count);
    for (int i = 0; i < count; ++i)
        shader->m_positions.push_back(StopPosition(positions, i, count));
    return shader;
}

DrawShader* DrawShader::Bitmap(const DrawBitmap& bitmap, TileMode modeX, TileMode modeY)
{
    if (bitmap.IsEmpty() || bitmap.GetConfig() != BitmapConfig::Argb8888)
        return nullptr;
    DrawBitmap copy;
    if (!copy.CopyFrom(bitmap))
        return nullptr;
    // An opaque bitmap is opaque whatever its alpha bytes (GDI leaves them 0).
    if (copy.IsOpaque())
        for (int y = 0; y < copy.GetHeight(); ++y)
            for (int x = 0; x < copy.GetWidth(); ++x)
                copy.Row32(y)[x] |= 0xFF000000;
    if (modeX != modeY) {
        // cairo extends both axes alike: mixed modes are sampled per draw.
        auto* shader = new (std::nothrow) DrawShader(nullptr);
        if (shader) {
            shader->m_pixels = std::move(copy);
            shader->m_tileX = modeX;
            shader->m_tileY = modeY;
        }
        return shader;
    }
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        copy.GetPixels(), CAIRO_FORMAT_ARGB32, copy.GetWidth(), copy.GetHeight(), copy.GetRowBytes());
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(surface);
    cairo_surface_destroy(surface);
    cairo_pattern_set_extend(pattern, Extend(modeX));
    DrawShader* shader = Wrap(pattern);
    if (shader)
        shader->m_pixels = std::move(copy);
    return shader;
}

bool DrawShader::GetLocalMatrix(DrawMatrix* matrix) const
{
    if (!m_hasLocalMatrix)
        return false;
    *matrix = m_localMatrix;
    return true;
}

void DrawShader::SetLocalMatrix(const DrawMatrix& matrix)
{
    m_localMatrix = matrix;
    m_hasLocalMatrix = !matrix.IsIdentity();
}

DrawMatrix DrawShader::ToDevice(const DrawMatrix& total) const
{
    DrawMatrix m = total;
    if (m_hasLocalMatrix)
        m.PreConcat(m_localMatrix);
    return m;
}

namespace {

// A new pattern with the source's kind, geometry, stops, extend and filter
// (its matrix is left identity); null when cairo cannot make one.
cairo_pattern_t* ClonePattern(cairo_pattern_t* source)
{
    cairo_pattern_t* pattern = nullptr;
    switch (cairo_pattern_get_type(source)) {
    case CAIRO_PATTERN_TYPE_SURFACE: {
        cairo_surface_t* surface = nullptr;
        cairo_pattern_get_surface(source, &surface);
        pattern = cairo_pattern_create_for_surface(surface);
        break;
    }
    case CAIRO_PATTERN_TYPE_LINEAR: {
        double x0, y0, x1, y1;
        cairo_pattern_get_linear_points(source, &x0, &y0, &x1, &y1);
        pattern = cairo_pattern_create_linear(x0, y0, x1, y1);
        break;
    }
    case CAIRO_PATTERN_TYPE_RADIAL: {
        double x0, y0, r0, x1, y1, r1;
        cairo_pattern_get_radial_circles(source, &x0, &y0, &r0, &x1, &y1, &r1);
        pattern = cairo_pattern_create_radial(x0, y0, r0, x1, y1, r1);
        break;
    }
    default:
        return nullptr;
    }
    int stops = 0;
    if (cairo_pattern_get_color_stop_count(source, &stops) == CAIRO_STATUS_SUCCESS) {
        for (int i = 0; i < stops; ++i) {
            double offset, r, g, b, a;
            cairo_pattern_get_color_stop_rgba(source, i, &offset, &r, &g, &b, &a);
            cairo_pattern_add_color_stop_rgba(pattern, offset, r, g, b, a);
        }
    }
    cairo_pattern_set_extend(pattern, cairo_pattern_get_extend(source));
    cairo_pattern_set_filter(pattern, cairo_pattern_get_filter(source));
    if (cairo_pattern_status(pattern) != CAIRO_STATUS_SUCCESS) {
        cairo_pattern_destroy(pattern);
        return nullptr;
    }
    return pattern;
}

}  // namespace

cairo_pattern_t* DrawShader::MakePattern(const DrawMatrix& total, int deviceWidth, int deviceHeight) const
{
    if (m_sweep)
        return RenderSweep(total, deviceWidth, deviceHeight);
    if (!m_pattern)
        return RenderTiles(total, deviceWidth, deviceHeight);
    // cairo patterns map device space to pattern space. Each draw gets a
    // pattern of its own: the shader may be shared by canvases on several
    // threads, so its own pattern is never changed.
    DrawMatrix inverse;
    if (!ToDevice(total).Invert(&inverse))
        return nullptr;
    cairo_pattern_t* pattern = ClonePattern(m_pattern);
    if (!pattern)
        return nullptr;
    cairo_matrix_t matrix = ToCairo(inverse);
    cairo_pattern_set_matrix(pattern, &matrix);
    return pattern;
}

namespace {

// A 32-bit surface for a shader rendered per draw; null when memory runs out.
cairo_surface_t* NewPixels(int width, int height)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS)
        return surface;
    cairo_surface_destroy(surface);
    return nullptr;
}

// A coordinate in pixels of the bitmap's axis of `size`, tiled by the mode.
int TileCoordinate(int i, int size, TileMode mode)
{
    switch (mode) {
    case TileMode::Repeat:
        i %= size;
        return i < 0 ? i + size : i;
    case TileMode::Mirror: {
        int period = 2 * size;
        i %= period;
        if (i < 0)
            i += period;
        return i < size ? i : period - 1 - i;
    }
    default:
        return i < 0 ? 0 : i >= size ? size - 1 : i;
    }
}

}  // namespace

cairo_pattern_t* DrawShader::RenderTiles(const DrawMatrix& total, int width, int height) const
{
    DrawMatrix inverse;
    if (width <= 0 || height <= 0 || !ToDevice(total).Invert(&inverse))
        return nullptr;
    cairo_surface_t* surface = NewPixels(width, height);
    if (!surface)
        return nullptr;
    cairo_surface_flush(surface);
    uint8_t* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    int w = m_pixels.GetWidth(), h = m_pixels.GetHeight();
    // Bilinear samples at pixel centres, each axis tiled by its own mode.
    for (int y = 0; y < height; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + ptrdiff_t(y) * stride);
        for (int x = 0; x < width; ++x) {
            float u, v;
            inverse.MapPoint(x + 0.5f, y + 0.5f, &u, &v);
            u -= 0.5f;
            v -= 0.5f;
            if (!(fabsf(u) < 1e8f && fabsf(v) < 1e8f)) {
                row[x] = 0;
                continue;
            }
            float fu = floorf(u), fv = floorf(v);
            int x0 = int(fu), y0 = int(fv);
            uint32_t wx = uint32_t((u - fu) * 256), wy = uint32_t((v - fv) * 256);
            const uint32_t* r0 = m_pixels.Row32(TileCoordinate(y0, h, m_tileY));
            const uint32_t* r1 = m_pixels.Row32(TileCoordinate(y0 + 1, h, m_tileY));
            int c0 = TileCoordinate(x0, w, m_tileX), c1 = TileCoordinate(x0 + 1, w, m_tileX);
            uint32_t p[4] = {r0[c0], r0[c1], r1[c0], r1[c1]};
            uint32_t weight[4] = {(256 - wx) * (256 - wy), wx * (256 - wy), (256 - wx) * wy, wx * wy};
            uint32_t pixel = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                uint32_t sum = 0;
                for (int k = 0; k < 4; ++k)
                    sum += ((p[k] >> shift) & 0xFF) * weight[k];
                pixel |= ((sum + 32768) >> 16) << shift;
            }
            row[x] = pixel;
        }
    }
    cairo_surface_mark_dirty(surface);
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(surface);
    cairo_surface_destroy(surface);
    return pattern;
}

cairo_pattern_t* DrawShader::RenderSweep(const DrawMatrix& total, int width, int height) const
{
    DrawMatrix inverse;
    if (width <= 0 || height <= 0 || !ToDevice(total).Invert(&inverse))
        return nullptr;
    cairo_surface_t* surface = NewPixels(width, height);
    if (!surface)
        return nullptr;
    std::vector<pixman_gradient_stop_t> stops(m_colors.size());
    for (size_t i = 0; i < stops.size(); ++i) {
        uint32_t c = m_colors[i];
        stops[i].x = pixman_double_to_fixed(m_positions[i]);
        stops[i].color = {uint16_t(ColorRed(c) * 257), uint16_t(ColorGreen(c) * 257), uint16_t(ColorBlue(c) * 257),
                          uint16_t(ColorAlpha(c) * 257)};
    }
    pixman_point_fixed_t origin = {0, 0};
    pixman_image_t* gradient = pixman_image_create_conical_gradient(&origin, 0, stops.data(), int(stops.size()));
    // Device -> shader space, centred, with y flipped: pixman turns
    // counter-clockwise, sweeps here turn clockwise from the x axis.
    const DrawMatrix& m = inverse;
    double rows[2][3] = {
        {m.Get(DrawMatrix::kScaleX), m.Get(DrawMatrix::kSkewX), m.Get(DrawMatrix::kTransX) - m_centre.x},
        {-m.Get(DrawMatrix::kSkewY), -m.Get(DrawMatrix::kScaleY), -(m.Get(DrawMatrix::kTransY) - m_centre.y)},
    };
    pixman_transform_t transform;
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            transform.matrix[r][c] = pixman_double_to_fixed(rows[r][c]);
    transform.matrix[2][0] = pixman_double_to_fixed(m.Get(DrawMatrix::kPersp0));
    transform.matrix[2][1] = pixman_double_to_fixed(m.Get(DrawMatrix::kPersp1));
    transform.matrix[2][2] = pixman_double_to_fixed(m.Get(DrawMatrix::kPersp2));
    pixman_image_set_transform(gradient, &transform);
    pixman_image_set_repeat(gradient, PIXMAN_REPEAT_PAD);
    cairo_surface_flush(surface);
    pixman_image_t* target =
        pixman_image_create_bits(PIXMAN_a8r8g8b8, width, height,
                                 reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface)),
                                 cairo_image_surface_get_stride(surface));
    pixman_image_composite32(PIXMAN_OP_SRC, gradient, nullptr, target, 0, 0, 0, 0, 0, 0, width, height);
    pixman_image_unref(target);
    pixman_image_unref(gradient);
    cairo_surface_mark_dirty(surface);
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(surface);
    cairo_surface_destroy(surface);
    return pattern;
}
