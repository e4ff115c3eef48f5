#include "addin/imaging/drawing/DrawCanvas.h"

#include <gtest/gtest.h>

namespace {

struct Target {
    Target(int width, int height) { EXPECT_TRUE(bitmap.Allocate(BitmapConfig::Argb8888, width, height)); }
    uint32_t At(int x, int y) const { return bitmap.Row32(y)[x]; }
    DrawBitmap bitmap;
};

}  // namespace

TEST(DrawShader, BitmapTilesEachAxisByItsOwnMode)
{
    // 2 x 2 source: a b / c d; x repeats, y clamps (then the other way).
    DrawBitmap source;
    ASSERT_TRUE(source.Allocate(BitmapConfig::Argb8888, 2, 2));
    source.Row32(0)[0] = 0xFFFF0000;
    source.Row32(0)[1] = 0xFF00FF00;
    source.Row32(1)[0] = 0xFF0000FF;
    source.Row32(1)[1] = 0xFFFFFFFF;
    for (int pass = 0; pass < 2; ++pass) {
        TileMode x = pass == 0 ? TileMode::Repeat : TileMode::Clamp;
        TileMode y = pass == 0 ? TileMode::Clamp : TileMode::Mirror;
        DrawShader* shader = DrawShader::Bitmap(source, x, y);
        ASSERT_NE(shader, nullptr);
        DrawMatrix local = DrawMatrix::Translate(2, 2);
        shader->SetLocalMatrix(local);
        Target t(6, 6);
        DrawCanvas canvas(t.bitmap);
        DrawPaint paint;
        paint.SetShader(shader);
        shader->Release();
        canvas.DrawRectangle({0, 0, 6, 6}, paint);
        for (int py = 0; py < 6; ++py) {
            for (int px = 0; px < 6; ++px) {
                int u = px - 2, v = py - 2;
                int sx = pass == 0 ? ((u % 2) + 2) % 2 : (u < 0 ? 0 : u > 1 ? 1 : u);
                int sy;
                if (pass == 0) {
                    sy = v < 0 ? 0 : v > 1 ? 1 : v;
                } else {
                    int m = ((v % 4) + 4) % 4;
                    sy = m < 2 ? m : 3 - m;
                }
                EXPECT_EQ(t.At(px, py), source.Row32(sy)[sx]) << pass << ": " << px << "," << py;
            }
        }
    }
}

TEST(DrawShader, EachDrawGetsAPatternOfItsOwn)
{
    // Canvases on other threads may draw with the same shader: a pattern
    // handed out keeps its own matrix when the next one is made.
    const uint32_t colors[2] = {0xFFFF0000, 0xFF0000FF};
    DrawShader* linear = DrawShader::Linear({0, 0}, {10, 0}, colors, nullptr, 2, TileMode::Clamp);
    ASSERT_NE(linear, nullptr);
    DrawBitmap pixels;
    ASSERT_TRUE(pixels.Allocate(BitmapConfig::Argb8888, 2, 2));
    DrawShader* tiles = DrawShader::Bitmap(pixels, TileMode::Repeat, TileMode::Repeat);
    ASSERT_NE(tiles, nullptr);
    for (DrawShader* shader : {linear, tiles}) {
        cairo_pattern_t* first = shader->MakePattern(DrawMatrix::Translate(5, 0), 20, 20);
        cairo_pattern_t* second = shader->MakePattern(DrawMatrix::Translate(0, 7), 20, 20);
        ASSERT_NE(first, nullptr);
        ASSERT_NE(second, nullptr);
        EXPECT_NE(first, second);
        // cairo's matrix maps device to pattern space: the inverse moves.
        cairo_matrix_t m;
        cairo_pattern_get_matrix(first, &m);
        EXPECT_EQ(m.x0, -5);
        EXPECT_EQ(m.y0, 0);
        cairo_pattern_get_matrix(second, &m);
        EXPECT_EQ(m.x0, 0);
        EXPECT_EQ(m.y0, -7);
        EXPECT_EQ(cairo_pattern_get_extend(first), cairo_pattern_get_extend(second));
        cairo_pattern_destroy(first);
        cairo_pattern_destroy(second);
    }
    linear->Release();
    tiles->Release();
}
