#include "fixtures/Fixtures.h"

#include "DrawingPlugin.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Every slot reached through the tables by its position, so that an entry in
// the wrong place shows as a wrong answer.

TEST(DrawingTableSlots, PaintSettersAndGettersPair)
{
    DrawingPlugin p;
    Object paint = p.Call<Object>(kFactory, 3, p.factory, Object(nullptr), 0x0FFFu | 0x1000u, 2);
    EXPECT_EQ(p.Call<uint32_t>(kPaint, 3, paint), 0x0FFFu);  // 12 bits
    EXPECT_EQ(p.Call<int>(kPaint, 1, paint), 2);
    p.Call<void>(kPaint, 2, paint, 1);
    EXPECT_EQ(p.Call<int>(kPaint, 1, paint), 1);
    p.Call<void>(kPaint, 4, paint, 0x1u);
    EXPECT_EQ(p.Call<uint32_t>(kPaint, 3, paint), 1u);
    p.Call<void>(kPaint, 6, paint, 0x12345678u);
    EXPECT_EQ(p.Call<uint32_t>(kPaint, 5, paint), 0x12345678u);
    p.Call<void>(kPaint, 8, paint, 3.5f);
    EXPECT_EQ(p.Call<float>(kPaint, 7, paint), 3.5f);
    p.Call<void>(kPaint, 10, paint, 7.0f);
    EXPECT_EQ(p.Call<float>(kPaint, 9, paint), 7.0f);
    p.Call<void>(kPaint, 12, paint, 2);
    EXPECT_EQ(p.Call<int>(kPaint, 11, paint), 2);
    p.Call<void>(kPaint, 14, paint, 1);
    EXPECT_EQ(p.Call<int>(kPaint, 13, paint), 1);
    p.Call<void>(kPaint, 14, paint, 9);  // out of range: kept
    EXPECT_EQ(p.Call<int>(kPaint, 13, paint), 1);
    // A copy takes everything, then the flags and style given.
    Object copy = p.Call<Object>(kFactory, 3, p.factory, paint, 0u, 0);
    EXPECT_EQ(p.Call<uint32_t>(kPaint, 5, copy), 0x12345678u);
    EXPECT_EQ(p.Call<float>(kPaint, 7, copy), 3.5f);
    EXPECT_EQ(p.Call<int>(kPaint, 1, copy), 0);
    p.Call<void>(kPaint, 0, copy);
    p.Call<void>(kPaint, 0, paint);
}

TEST(DrawingTableSlots, PathSlotsBuildAndMeasure)
{
    DrawingPlugin p;
    Object path = p.Call<Object>(kFactory, 4, p.factory, Object(nullptr));
    EXPECT_EQ(p.Call<int>(kPath, 7, path) & 0xFF, 1);
    float x = 9, y = 9, w = 9, h = 9;
    p.Call<void>(kPath, 9, path, &x, &y);
    EXPECT_EQ(x, 0.0f);
    EXPECT_EQ(y, 0.0f);
    p.Call<void>(kPath, 11, path, 1.0f, 2.0f);    // MoveTo
    p.Call<void>(kPath, 14, path, 4.0f, 0.0f);    // RLineTo
    p.Call<void>(kPath, 13, path, 5.0f, 8.0f);    // LineTo
    p.Call<void>(kPath, 15, path, 0.0f, 9.0f, 1.0f, 2.0f);  // QuadTo
    p.Call<void>(kPath, 21, path);                // Close
    EXPECT_EQ(p.Call<int>(kPath, 7, path) & 0xFF, 0);
    p.Call<void>(kPath, 8, path, &x, &y, &w, &h);
    EXPECT_EQ(x, 0.0f);
    EXPECT_EQ(y, 2.0f);
    EXPECT_EQ(w, 5.0f);
    EXPECT_EQ(h, 7.0f);
    p.Call<void>(kPath, 2, path, 1);
    EXPECT_EQ(p.Call<int>(kPath, 1, path), 1);
    EXPECT_EQ(p.Call<int>(kPath, 4, path, 0x100) & 0xFF, 0);  // low byte only
    EXPECT_EQ(p.Call<int>(kPath, 4, path, 1) & 0xFF, 1);
    EXPECT_EQ(p.Call<int>(kPath, 3, path) & 0xFF, 1);

    // Offset into another path leaves this one; AddPathOffset appends.
    Object other = p.Call<Object>(kFactory, 4, p.factory, Object(nullptr));
    p.Call<void>(kPath, 31, path, 10.0f, 20.0f, other);
    p.Call<void>(kPath, 8, other, &x, &y, &w, &h);
    EXPECT_EQ(x, 10.0f);
    EXPECT_EQ(y, 22.0f);
    p.Call<void>(kPath, 8, path, &x, &y, &w, &h);
    EXPECT_EQ(x, 0.0f);
    MatrixRecord scale = {{2, 0, 0, 0, 3, 0, 0, 0, 1}, 0x80};
    p.Call<void>(kPath, 32, path, static_cast<const void*>(&scale), Object(nullptr));
    p.Call<void>(kPath, 8, path, &x, &y, &w, &h);
    EXPECT_EQ(w, 10.0f);
    EXPECT_EQ(h, 21.0f);
    p.Call<void>(kPath, 6, other);  // Rewind
    EXPECT_EQ(p.Call<int>(kPath, 7, other) & 0xFF, 1);
    p.Call<void>(kPath, 22, other, 1.0f, 1.0f, 2.0f, 2.0f, 0);   // AddRect
    p.Call<void>(kPath, 29, other, other, 5.0f, 0.0f);           // AddPathOffset of itself
    p.Call<void>(kPath, 8, other, &x, &y, &w, &h);
    EXPECT_EQ(x, 1.0f);
    EXPECT_EQ(w, 7.0f);
    p.Call<void>(kPath, 5, other);  // Reset
    p.Call<void>(kPath, 24, other, 5.0f, 5.0f, 2.0f, 1);          // AddCircle
    p.Call<void>(kPath, 8, other, &x, &y, &w, &h);
    EXPECT_EQ(x, 3.0f);
    EXPECT_EQ(h, 4.0f);
    p.Call<void>(kPath, 9, other, &x, &y);
    p.Call<void>(kPath, 0, other);
    p.Call<void>(kPath, 0, path);
}

TEST(DrawingTableSlots, CanvasStateSlots)
{
    DrawingPlugin p;
    Object bitmap = p.Bitmap(10, 10, false);
    Object canvas = p.Call<Object>(kFactory, 2, p.factory, bitmap);
    EXPECT_EQ(p.Call<int>(kCanvas, 6, canvas), 1);
    EXPECT_EQ(p.Call<int>(kCanvas, 4, canvas, 3u), 1);
    EXPECT_EQ(p.Call<int>(kCanvas, 4, canvas, 3u), 2);
    EXPECT_EQ(p.Call<int>(kCanvas, 6, canvas), 3);
    EXPECT_EQ(p.Call<int>(kCanvas, 8, canvas, 1.0f, 2.0f) & 0xFF, 1);
    EXPECT_EQ(p.Call<int>(kCanvas, 9, canvas, 2.0f, 2.0f) & 0xFF, 1);
    MatrixRecord m = {};
    p.Call<void>(kCanvas, 15, canvas, static_cast<void*>(&m));
    EXPECT_EQ(m.values[0], 2.0f);
    EXPECT_EQ(m.values[2], 1.0f);
    EXPECT_EQ(m.values[5], 2.0f);
    p.Call<void>(kCanvas, 5, canvas);  // Restore
    EXPECT_EQ(p.Call<int>(kCanvas, 6, canvas), 2);
    EXPECT_EQ(p.Call<int>(kCanvas, 10, canvas, 90.0f) & 0xFF, 1);
    p.Call<void>(kCanvas, 15, canvas, static_cast<void*>(&m));
    EXPECT_NEAR(m.values[1], -1.0f, 1e-6);  // skew-x after a quarter turn
    EXPECT_EQ(p.Call<int>(kCanvas, 11, canvas, 0.5f, 0.0f) & 0xFF, 1);
    MatrixRecord shift = {{1, 0, 3, 0, 1, 4, 0, 0, 1}, 0};
    p.Call<void>(kCanvas, 14, canvas);  // ResetMatrix
    EXPECT_EQ(p.Call<int>(kCanvas, 12, canvas, static_cast<const void*>(&shift)) & 0xFF, 1);
    p.Call<void>(kCanvas, 15, canvas, static_cast<void*>(&m));
    EXPECT_EQ(m.values[2], 3.0f);
    EXPECT_EQ(m.values[5], 4.0f);
    p.Call<void>(kCanvas, 7, canvas, -5);  // RestoreToCount: 1
    EXPECT_EQ(p.Call<int>(kCanvas, 6, canvas), 1);
    // ClipPath through a path, bounds in local units, soft edges one wider.
    Object path = p.Call<Object>(kFactory, 4, p.factory, Object(nullptr));
    p.Call<void>(kPath, 22, path, 2.0f, 2.0f, 4.0f, 4.0f, 0);
    p.Call<void>(kCanvas, 14, canvas);
    EXPECT_EQ(p.Call<int>(kCanvas, 17, canvas, path, 1) & 0xFF, 1);
    float x, y, w, h;
    EXPECT_EQ(p.Call<int>(kCanvas, 18, canvas, &x, &y, &w, &h, 1) & 0xFF, 1);
    EXPECT_EQ(x, 1.0f);
    EXPECT_EQ(w, 6.0f);
    p.Call<void>(kCanvas, 3, canvas, 0xFF0000FFu);  // DrawColor fills the clip
    EXPECT_EQ(p.Pixel(bitmap, 2, 2), 0xFF0000FFu);
    EXPECT_EQ(p.Pixel(bitmap, 6, 6), 0u);
    EXPECT_EQ(p.Call<int>(kCanvas, 16, canvas, 0.0f, 0.0f, 1.0f, 1.0f, 6) & 0xFF, 0);  // bad op
    p.Call<void>(kPath, 0, path);
    p.Call<void>(kCanvas, 0, canvas);
    p.Call<void>(kBitmap, 0, bitmap);
}

TEST(DrawingTableSlots, CanvasDrawSlotsEachDrawTheirShape)
{
    // Each entry draws one shape on a fresh canvas; probes inside and outside.
    DrawingPlugin p;
    Object paint = p.Call<Object>(kFactory, 3, p.factory, Object(nullptr), 0u, 0);
    p.Call<void>(kPaint, 6, paint, 0xFF000000u);
    struct Case {
        int slot;
        int inX, inY, outX, outY;
    };
    const Case cases[] = {
        {19, 5, 5, 6, 5}, {20, 5, 5, 5, 6}, {21, 4, 5, 4, 9}, {22, 4, 5, 4, 9}, {23, 3, 3, 9, 3},
        {24, 3, 3, 9, 3}, {25, 5, 4, 2, 2}, {26, 5, 4, 2, 2}, {27, 5, 5, 1, 1}, {28, 5, 5, 1, 1},
        {29, 6, 3, 3, 6}, {30, 6, 3, 3, 6}, {31, 5, 5, 1, 1}, {32, 5, 5, 1, 1},
    };
    for (const Case& c : cases) {
        Object bitmap = p.Bitmap(12, 12, false);
        Object canvas = p.Call<Object>(kFactory, 2, p.factory, bitmap);
        switch (c.slot) {
        case 19:
        case 20:
            p.Call<void>(kCanvas, c.slot, canvas, 5.5f, 5.5f, paint);
            break;
        case 21:
        case 22:
            p.Call<void>(kCanvas, c.slot, canvas, 0.0f, 5.5f, 8.0f, 5.5f, paint);
            break;
        case 23:
        case 24:
            p.Call<void>(kCanvas, c.slot, canvas, 2.0f, 2.0f, 6.0f, 6.0f, paint);
            break;
        case 25:
        case 26:
            p.Call<void>(kCanvas, c.slot, canvas, 2.0f, 2.0f, 8.0f, 4.0f, paint);
            break;
        case 27:
        case 28:
            p.Call<void>(kCanvas, c.slot, canvas, 5.5f, 5.5f, 3.0f, paint);
            break;
        case 29:
        case 30:
            // The quarter from 270 to 360 degrees with the centre: top right.
            p.Call<void>(kCanvas, c.slot, canvas, 0.0f, 0.0f, 10.0f, 10.0f, 270.0f, 90.0f, 1, paint);
            break;
        default:
            p.Call<void>(kCanvas, c.slot, canvas, 1.0f, 1.0f, 9.0f, 9.0f, 3.0f, 3.0f, paint);
            break;
        }
        EXPECT_EQ(p.Pixel(bitmap, c.inX, c.inY), 0xFF000000u) << c.slot;
        EXPECT_EQ(p.Pixel(bitmap, c.outX, c.outY), 0u) << c.slot;
        p.Call<void>(kCanvas, 0, canvas);
        p.Call<void>(kBitmap, 0, bitmap);
    }
    // Points as lines: two segments from four points.
    Object bitmap = p.Bitmap(12, 12, false);
    Object canvas = p.Call<Object>(kFactory, 2, p.factory, bitmap);
    const float points[8] = {0, 1.5f, 12, 1.5f, 0, 8.5f, 12, 8.5f};
    p.Call<void>(kCanvas, 33, canvas, 1, 4, points, paint);
    EXPECT_EQ(p.Pixel(bitmap, 6, 1), 0xFF000000u);
    EXPECT_EQ(p.Pixel(bitmap, 6, 8), 0xFF000000u);
    EXPECT_EQ(p.Pixel(bitmap, 6, 5), 0u);
    // DrawBitmapMatrix and DrawBitmapRect.
    Object tile = p.Bitmap(2, 2, true);
    p.Call<void>(kBitmap, 1, tile, 0xFFFF0000u);
    MatrixRecord at = {{2, 0, 4, 0, 2, 4, 0, 0, 1}, 0};
    p.Call<void>(kCanvas, 36, canvas, tile, static_cast<const void*>(&at), Object(nullptr));
    EXPECT_EQ(p.Pixel(bitmap, 7, 7), 0xFFFF0000u);
    EXPECT_EQ(p.Pixel(bitmap, 3, 4), 0u);
    p.Call<void>(kCanvas, 37, canvas, tile, 0, 0, 1, 1, 0.0f, 10.0f, 2.0f, 2.0f, Object(nullptr));
    EXPECT_EQ(p.Pixel(bitmap, 1, 11), 0xFFFF0000u);
    EXPECT_EQ(p.Pixel(bitmap, 2, 11), 0u);
    for (Object b : {tile, bitmap})
        p.Call<void>(kBitmap, 0, b);
    p.Call<void>(kCanvas, 0, canvas);
    p.Call<void>(kPaint, 0, paint);
}

TEST(DrawingTableSlots, BitmapSlotsReachTheirOperations)
{
    DrawingPlugin p;
    Object b = p.Bitmap(4, 4, false);
    p.Call<void>(kBitmap, 1, b, 0xFFFF0000u);  // EraseColor
    EXPECT_EQ(p.Pixel(b, 3, 3), 0xFFFF0000u);
    p.Call<void>(kBitmap, 8, b, 0, 0, 1, 1, 0);  // SetAlpha 0 clears
    EXPECT_EQ(p.Pixel(b, 0, 0), 0u);
    p.Call<void>(kBitmap, 13, b, 0xFF808080u, 1, 0, 1, 1);  // Tint halves red
    EXPECT_EQ(p.Pixel(b, 1, 0), 0xFF800000u);
    p.Call<void>(kBitmap, 14, b, 2, 0, 1, 1, 2.0);  // Gamma brightens (red stays 255)
    EXPECT_EQ(p.Pixel(b, 2, 0), 0xFFFF0000u);
    p.Call<void>(kBitmap, 14, b, 1, 0, 1, 1, 2.0);
    EXPECT_EQ(p.Pixel(b, 1, 0), 0xFFB50000u);
    p.Call<void>(kBitmap, 10, b);  // LuminanceToAlpha: pure red gives alpha 88
    EXPECT_EQ(p.Pixel(b, 3, 3) >> 24, 88u);
    // ScrollRect by one column to the right.
    p.Call<void>(kBitmap, 1, b, 0xFF000000u);
    p.Call<void>(kBitmap, 2, b, 0xFFFFFFFFu, 0, 0, 1, 4);
    EXPECT_EQ(p.Call<int>(kBitmap, 3, b, 0, 0, 4, 4, 1, 0) & 0xFF, 1);
    EXPECT_EQ(p.Pixel(b, 0, 2), 0xFFFFFFFFu);  // uncovered: kept
    EXPECT_EQ(p.Pixel(b, 1, 2), 0xFFFFFFFFu);
    EXPECT_EQ(p.Pixel(b, 2, 2), 0xFF000000u);
    // Blur, Shadow and InnerShadow change what they should.
    p.Call<void>(kBitmap, 5, b, 1, 0);
    EXPECT_NE(p.Pixel(b, 2, 2), 0xFF000000u);
    Object mask = p.Bitmap(4, 4, false);
    p.Call<void>(kBitmap, 2, mask, 0xFFFFFFFFu, 0, 0, 2, 4);
    p.Call<void>(kBitmap, 6, mask, 0, 0, 0x80FF0000u);  // Shadow: red coverage in the colour
    EXPECT_EQ(p.Pixel(mask, 0, 0), 0x80FF0000u);
    EXPECT_EQ(p.Pixel(mask, 3, 0), 0u);
    Object empty = p.Bitmap(2, 2, false);
    p.Call<void>(kBitmap, 7, empty, 0, 0, 0xFF00FF00u, 1.0, 0);  // InnerShadow of nothing: full colour
    EXPECT_EQ(p.Pixel(empty, 1, 1), 0xFF00FF00u);
    // ApplyMask and MultiplyAlpha take their alpha from the other bitmap.
    Object target = p.Bitmap(4, 4, false);
    p.Call<void>(kBitmap, 1, target, 0xFF0000FFu);
    p.Call<void>(kBitmap, 9, target, mask, 0, 0, 0, 0, 4, 1, 0);
    EXPECT_EQ(p.Pixel(target, 3, 0), 0u);
    EXPECT_EQ(p.Pixel(target, 3, 1), 0xFF0000FFu);
    p.Call<void>(kBitmap, 15, target, mask, 0, 0, 0, 1, 4, 1);
    EXPECT_EQ(p.Pixel(target, 0, 1), 0x800000FFu);
    EXPECT_EQ(p.Pixel(target, 3, 1), 0u);
    for (Object o : {b, mask, empty, target})
        p.Call<void>(kBitmap, 0, o);
}

TEST(DrawingTableSlots, SavedFilesLoadBackAndNonImagesFail)
{
    DrawingPlugin p;
    ScratchFolder folder;
    Object b = p.Bitmap(3, 2, false);
    p.Call<void>(kBitmap, 1, b, 0x80FF0000u);
    std::wstring path = folder.File(L"saved \u00e9t\u00e9.png");
    EXPECT_EQ(p.Call<int>(kBitmap, 11, b, path.c_str()) & 0xFF, 1);
    int w = 0, h = 0, opaque = 1;
    Object loaded = p.Call<Object>(kFactory, 11, p.factory, path.c_str(), &w, &h, &opaque);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 2);
    EXPECT_EQ(opaque, 0);
    EXPECT_EQ(p.Pixel(loaded, 2, 1), 0x80FF0000u);
    // The same bytes from memory, through both decoders.
    FILE* file = _wfopen(path.c_str(), L"rb");
    std::vector<uint8_t> bytes(4096);
    bytes.resize(fread(bytes.data(), 1, bytes.size(), file));
    fclose(file);
    for (int slot : {12, 14}) {
        w = 0, h = 0;
        Object decoded = p.Call<Object>(kFactory, slot, p.factory, static_cast<const uint8_t*>(bytes.data()),
                                        int(bytes.size()), &w, &h, &opaque);
        ASSERT_NE(decoded, nullptr) << slot;
        EXPECT_EQ(w, 3);
        p.Call<void>(kBitmap, 0, decoded);
    }
    std::wstring text = folder.File(L"readme.png");
    file = _wfopen(text.c_str(), L"wb");
    fputs("plain words", file);
    fclose(file);
    for (int slot : {11, 13}) {
        w = h = 5;
        opaque = 0;
        EXPECT_EQ(p.Call<Object>(kFactory, slot, p.factory, text.c_str(), &w, &h, &opaque), nullptr);
        EXPECT_EQ(w, 0);
        EXPECT_EQ(opaque, 1);
    }
    EXPECT_EQ(p.Call<Object>(kFactory, 12, p.factory, static_cast<const uint8_t*>(bytes.data()), 0, &w, &h,
                             &opaque),
              nullptr);
    p.Call<void>(kBitmap, 0, loaded);
    p.Call<void>(kBitmap, 0, b);
}

TEST(DrawingTableSlots, ShaderSlotsAndGradientsThroughThePaint)
{
    DrawingPlugin p;
    const float centre[2] = {5, 5};
    const uint32_t colors[2] = {0xFFFFFFFF, 0xFF000000};
    const float positions[2] = {0, 1};
    Object radial = p.Call<Object>(kFactory, 7, p.factory, centre, 5.0f, colors, positions, 2, 0);
    Object sweep = p.Call<Object>(kFactory, 9, p.factory, centre, colors, static_cast<const float*>(nullptr), 2);
    const float other[2] = {5, 5};
    Object twoPoint = p.Call<Object>(kFactory, 8, p.factory, centre, 0.0f, other, 5.0f, colors,
                                     static_cast<const float*>(nullptr), 2, 0);
    ASSERT_NE(radial, nullptr);
    ASSERT_NE(sweep, nullptr);
    ASSERT_NE(twoPoint, nullptr);
    EXPECT_EQ(p.Call<Object>(kFactory, 7, p.factory, centre, 5.0f, colors, positions, 1, 0), nullptr);
    MatrixRecord m = {};
    EXPECT_EQ(p.Call<int>(kShader, 1, radial, static_cast<void*>(&m)) & 0xFF, 0);
    MatrixRecord shift = {{1, 0, 10, 0, 1, 0, 0, 0, 1}, 0};
    p.Call<void>(kShader, 2, radial, static_cast<const void*>(&shift));
    EXPECT_EQ(p.Call<int>(kShader, 1, radial, static_cast<void*>(&m)) & 0xFF, 1);
    EXPECT_EQ(m.values[2], 10.0f);
    Object bitmap = p.Bitmap(20, 10, true);
    Object canvas = p.Call<Object>(kFactory, 2, p.factory, bitmap);
    Object paint = p.Call<Object>(kFactory, 3, p.factory, Object(nullptr), 0u, 0);
    p.Call<void>(kPaint, 15, paint, radial);
    p.Call<void>(kCanvas, 23, canvas, 0.0f, 0.0f, 20.0f, 10.0f, paint);
    // White at the moved centre, black at its radius and beyond.
    EXPECT_GT(p.Pixel(bitmap, 15, 5) & 0xFF, 0xC0u);
    EXPECT_EQ(p.Pixel(bitmap, 1, 5), 0xFF000000u);
    p.Call<void>(kPaint, 15, paint, Object(nullptr));
    p.Call<void>(kPaint, 6, paint, 0xFF00FF00u);
    p.Call<void>(kCanvas, 23, canvas, 0.0f, 0.0f, 1.0f, 1.0f, paint);
    EXPECT_EQ(p.Pixel(bitmap, 0, 0), 0xFF00FF00u);
    for (Object s : {radial, sweep, twoPoint})
        p.Call<void>(kShader, 0, s);
    p.Call<void>(kPaint, 0, paint);
    p.Call<void>(kCanvas, 0, canvas);
    p.Call<void>(kBitmap, 0, bitmap);
}
