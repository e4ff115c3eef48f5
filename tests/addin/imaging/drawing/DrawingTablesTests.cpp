#include "DrawingPlugin.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <string>
#include <thread>
#include <vector>
#include <windows.h>

// The tables as a plug-in sees them: arrays of entries filled by
// FillDrawingTables and called through WINAPI pointers of the layout's types.

namespace {

const GfxSlot kUnset = reinterpret_cast<GfxSlot>(uintptr_t(0x5EED));

MatrixRecord Identity() { return {{1, 0, 0, 0, 1, 0, 0, 0, 1}, 0}; }

}  // namespace

TEST(DrawingTables, EveryTableHasItsSlotCount)
{
    DrawingPlugin plugin;
    ASSERT_NE(plugin.factory, nullptr);
    std::vector<GfxSlot> big[kTables];
    for (auto& table : big)
        table.assign(100, kUnset);
    GfxFactory* factory = FillDrawingTables(100, big[0].data(), 100, big[1].data(), 100, big[2].data(), 100,
                                            big[3].data(), 100, big[4].data(), 100, big[5].data(), 100,
                                            big[6].data(), 100, big[7].data(), 100, big[8].data());
    ASSERT_NE(factory, nullptr);
    for (int t = 0; t < kTables; ++t) {
        for (int i = 0; i < 100; ++i) {
            if (i < kDrawingSlots[t]) {
                EXPECT_NE(big[t][size_t(i)], kUnset) << t << " " << i;
                EXPECT_NE(big[t][size_t(i)], nullptr);
            } else {
                EXPECT_EQ(big[t][size_t(i)], kUnset) << t << " " << i;
            }
        }
    }
    // Both handle kinds share one table; the canvas's second entries are the first ones.
    EXPECT_EQ(big[kHandle][0], big[kHandle2][0]);
    for (int slot = 19; slot <= 31; slot += 2)
        EXPECT_EQ(big[kCanvas][size_t(slot)], big[kCanvas][size_t(slot + 1)]) << slot;
    EXPECT_NE(big[kCanvas][33], big[kCanvas][34]);
    reinterpret_cast<void(WINAPI*)(Object)>(big[kFactory][0])(factory);
}

TEST(DrawingTables, SmallCountsFillOnlyThoseSlots)
{
    const int counts[kTables] = {3, 0, 0, 1, 1, 0, 0, 0, 5};
    std::vector<GfxSlot> arrays[kTables];
    for (auto& array : arrays)
        array.assign(40, kUnset);
    GfxFactory* factory = FillDrawingTables(3, arrays[0].data(), 0, arrays[1].data(), 0, arrays[2].data(), 1,
                                            arrays[3].data(), 1, arrays[4].data(), 0, arrays[5].data(), 0,
                                            arrays[6].data(), 0, arrays[7].data(), 5, arrays[8].data());
    ASSERT_NE(factory, nullptr);
    DrawingPlugin plugin;
    for (int t = 0; t < kTables; ++t)
        for (int i = 0; i < 40; ++i)
            EXPECT_EQ(arrays[t][size_t(i)], i < counts[t] ? plugin.tables[t][size_t(i)] : kUnset) << t << " " << i;
    // Negative counts and null arrays copy nothing.
    GfxFactory* second = FillDrawingTables(-4, arrays[1].data(), 5, nullptr, 0, nullptr, 0, nullptr, 0, nullptr,
                                           0, nullptr, 0, nullptr, 0, nullptr, 0, nullptr);
    EXPECT_EQ(arrays[1][0], kUnset);
    plugin.Call<void>(kFactory, 0, Object(second));
    plugin.Call<void>(kFactory, 0, Object(factory));
}

TEST(DrawingTables, ShapesAndBitmapOperationsGiveExactPixels)
{
    DrawingPlugin plugin;
    Object bitmap = plugin.Bitmap(20, 20, false);
    ASSERT_NE(bitmap, nullptr);
    Object canvas = plugin.CanvasOn(bitmap);
    ASSERT_NE(canvas, nullptr);
    Object paint = plugin.Paint(0xFFFF0000);
    plugin.Call<void>(kCanvas, 23, canvas, 2.0f, 3.0f, 4.0f, 5.0f, paint);
    EXPECT_EQ(plugin.Pixel(bitmap, 2, 3), 0xFFFF0000u);
    EXPECT_EQ(plugin.Pixel(bitmap, 5, 7), 0xFFFF0000u);
    EXPECT_EQ(plugin.Pixel(bitmap, 6, 7), 0u);
    EXPECT_EQ(plugin.Pixel(bitmap, 5, 8), 0u);
    EXPECT_EQ(plugin.Pixel(bitmap, 500, 5), 0u);  // outside: 0, no read

    // FillRect only when wholly inside.
    plugin.Call<void>(kBitmap, 2, bitmap, 0x800000FFu, 10, 10, 3, 2);
    EXPECT_EQ(plugin.Pixel(bitmap, 12, 11), 0x800000FFu);
    EXPECT_EQ(plugin.Pixel(bitmap, 13, 11), 0u);
    plugin.Call<void>(kBitmap, 2, bitmap, 0xFF00FF00u, 18, 0, 3, 1);
    EXPECT_EQ(plugin.Pixel(bitmap, 18, 0), 0u);

    // Transfer mode 1 (source) replaces; 3 (source-over) blends again.
    Object half = plugin.Paint(0x8000FF00);
    plugin.Call<void>(kPaint, 18, half, 1);
    plugin.Call<void>(kCanvas, 23, canvas, 2.0f, 3.0f, 1.0f, 1.0f, half);
    EXPECT_EQ(plugin.Pixel(bitmap, 2, 3), 0x8000FF00u);
    plugin.Call<void>(kPaint, 18, half, 3);
    plugin.Call<void>(kCanvas, 23, canvas, 3.0f, 3.0f, 1.0f, 1.0f, half);
    EXPECT_EQ(plugin.Pixel(bitmap, 3, 3), 0xFF7F8000u);

    // Device alpha at the translated position, only there.
    plugin.Call<void>(kBitmap, 1, bitmap, 0x00000000u);
    plugin.Call<void>(kBitmap, 2, bitmap, 0x40FFFFFFu, 0, 0, 20, 20);
    plugin.Call<int>(kCanvas, 8, canvas, 5.0f, 6.0f);
    plugin.Call<void>(kCanvas, 38, canvas, 1, 1, 2, 3, 255);
    EXPECT_EQ(plugin.Pixel(bitmap, 6, 7) >> 24, 255u);
    EXPECT_EQ(plugin.Pixel(bitmap, 7, 9) >> 24, 255u);
    EXPECT_EQ(plugin.Pixel(bitmap, 8, 7) >> 24, 0x40u);
    EXPECT_EQ(plugin.Pixel(bitmap, 6, 10) >> 24, 0x40u);
    EXPECT_EQ(plugin.Pixel(bitmap, 5, 7) >> 24, 0x40u);

    // The matrix record: the mask given is not trusted, the one answered is right.
    MatrixRecord record = Identity();
    record.values[2] = 7;
    plugin.Call<void>(kCanvas, 13, canvas, static_cast<const void*>(&record));
    MatrixRecord out = {};
    plugin.Call<void>(kCanvas, 15, canvas, static_cast<void*>(&out));
    EXPECT_EQ(out.values[2], 7.0f);
    EXPECT_EQ(out.mask & 0x0F, 0x01u);

    // An empty clip: false and four zeros.
    float bounds[4] = {9, 9, 9, 9};
    plugin.Call<int>(kCanvas, 16, canvas, 0.0f, 0.0f, 0.0f, 0.0f, 1);
    EXPECT_EQ(plugin.Call<int>(kCanvas, 18, canvas, &bounds[0], &bounds[1], &bounds[2], &bounds[3], 0) & 0xFF, 0);
    for (float b : bounds)
        EXPECT_EQ(b, 0.0f);

    plugin.Release(kPaint, half);
    plugin.Release(kPaint, paint);
    plugin.Release(kCanvas, canvas);
    plugin.Release(kBitmap, bitmap);
}

TEST(DrawingTables, TextFormRoundTripsAndBadTextFails)
{
    DrawingPlugin plugin;
    int width = -1, height = -1, opaque = -1;
    Object bitmap = plugin.Call<Object>(kFactory, 15, Object(plugin.factory), L"1|1|3=ABJKO@", &width, &height,
                                        &opaque);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(width, 1);
    EXPECT_EQ(height, 1);
    EXPECT_EQ(opaque, 1);
    EXPECT_EQ(plugin.Pixel(bitmap, 0, 0), 0xFF12ABF0u);
    EXPECT_EQ(plugin.Text(bitmap), L"1|1|3=ABJKO@");
    plugin.Release(kBitmap, bitmap);

    for (const wchar_t* bad : {L"0|5|3=", L"", L"2|2|4=AB", L"99999|99999|4=", L"1|1="}) {
        width = height = 7;
        opaque = 0;
        EXPECT_EQ(plugin.Call<Object>(kFactory, 15, Object(plugin.factory), bad, &width, &height, &opaque), nullptr)
            << bad;
        EXPECT_EQ(width, 0);
        EXPECT_EQ(height, 0);
        EXPECT_EQ(opaque, 1);
    }
}

TEST(DrawingTables, ExtractAndResizeAnswerNewBitmaps)
{
    DrawingPlugin plugin;
    Object bitmap = plugin.Bitmap(4, 4, true);
    plugin.Call<void>(kBitmap, 1, bitmap, 0xFF204060u);
    int width = 10, height = 10;
    Object copy = plugin.Call<Object>(kBitmap, 16, bitmap, -5, -5, &width, &height);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(width, 4);
    EXPECT_EQ(height, 4);
    EXPECT_EQ(plugin.Pixel(copy, 3, 3), 0xFF204060u);
    width = height = 3;
    Object none = plugin.Call<Object>(kBitmap, 16, bitmap, 4, 0, &width, &height);
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
    Object bigger = plugin.Call<Object>(kBitmap, 4, bitmap, 8, 6);
    ASSERT_NE(bigger, nullptr);
    EXPECT_EQ(plugin.Pixel(bigger, 7, 5), 0xFF204060u);
    // A size of 0 or less answers an empty bitmap of the source's kind.
    for (const auto& [w, h] : {std::pair{0, 6}, std::pair{6, -1}, std::pair{-3, -3}}) {
        Object empty = plugin.Call<Object>(kBitmap, 4, bitmap, w, h);
        ASSERT_NE(empty, nullptr) << w << "x" << h;
        EXPECT_EQ(plugin.Text(empty), L"0|0|3=");
        plugin.Release(kBitmap, empty);
    }
    for (Object o : {copy, none, bigger, bitmap})
        plugin.Release(kBitmap, o);
}

TEST(DrawingTables, ObjectsOfAnotherKindAreRefused)
{
    DrawingPlugin plugin;
    Object bitmap = plugin.Bitmap(8, 8, false);
    Object paint = plugin.Paint(0xFFFF0000);
    Object canvas = plugin.CanvasOn(bitmap);
    Object path = plugin.Call<Object>(kFactory, 4, Object(plugin.factory), Object(nullptr));
    EXPECT_EQ(plugin.CanvasOn(paint), nullptr);
    EXPECT_EQ(plugin.Call<Object>(kFactory, 5, Object(plugin.factory), paint, 0, 0), nullptr);
    EXPECT_EQ(plugin.Call<Object>(kFactory, 5, Object(plugin.factory), bitmap, 0, 7), nullptr);  // tile mode
    plugin.Call<void>(kCanvas, 23, canvas, 0.0f, 0.0f, 8.0f, 8.0f, path);
    plugin.Call<void>(kCanvas, 23, bitmap, 0.0f, 0.0f, 8.0f, 8.0f, paint);
    EXPECT_EQ(plugin.Pixel(bitmap, 1, 1), 0u);
    EXPECT_EQ(plugin.Pixel(paint, 1, 1), 0u);
    // A release of the wrong kind does nothing; the object still works.
    plugin.Release(kPaint, bitmap);
    plugin.Release(kBitmap, paint);
    Object blur = plugin.Call<Object>(kFactory, 17, Object(plugin.factory), 2.0f, 0);
    ASSERT_NE(blur, nullptr);
    EXPECT_EQ(plugin.Call<Object>(kFactory, 17, Object(plugin.factory), 0.0f, 0), nullptr);
    EXPECT_EQ(plugin.Call<Object>(kFactory, 17, Object(plugin.factory), 2.0f, 9), nullptr);
    // A mask filter is not a looper.
    plugin.Call<void>(kPaint, 17, paint, blur);
    plugin.Call<void>(kCanvas, 23, canvas, 2.0f, 2.0f, 2.0f, 2.0f, paint);
    EXPECT_EQ(plugin.Pixel(bitmap, 3, 3), 0xFFFF0000u);
    EXPECT_EQ(plugin.Pixel(bitmap, 1, 1), 0u);
    plugin.Release(kHandle, blur);
    plugin.Release(kPath, path);
    plugin.Release(kCanvas, canvas);
    plugin.Release(kPaint, paint);
    plugin.Release(kBitmap, bitmap);
}

TEST(DrawingTables, PicturesShadowsAndAlphaBitmapsThroughTheTables)
{
    DrawingPlugin plugin;
    Object paint = plugin.Paint(0xFF0000FF);
    Object picture = plugin.Call<Object>(kFactory, 16, Object(plugin.factory), Object(nullptr));
    ASSERT_NE(picture, nullptr);
    Object recorder = plugin.Call<Object>(kPicture, 1, picture, 10, 10, 0u);
    ASSERT_NE(recorder, nullptr);
    plugin.Call<void>(kCanvas, 27, recorder, 3.0f, 3.0f, 2.0f, paint);
    plugin.Call<void>(kPicture, 2, picture);
    plugin.Release(kCanvas, recorder);
    Object copy = plugin.Call<Object>(kFactory, 16, Object(plugin.factory), picture);
    plugin.Release(kPicture, picture);

    Object bitmap = plugin.Bitmap(20, 20, false);
    Object canvas = plugin.CanvasOn(bitmap);
    plugin.Call<int>(kCanvas, 8, canvas, 10.0f, 10.0f);
    plugin.Call<void>(kPicture, 3, copy, canvas);
    EXPECT_EQ(plugin.Pixel(bitmap, 13, 13), 0xFF0000FFu);
    EXPECT_EQ(plugin.Pixel(bitmap, 3, 3), 0u);
    plugin.Release(kPicture, copy);

    // A sharp shadow looper handed over and released at once.
    Object looper = plugin.Call<Object>(kFactory, 19, Object(plugin.factory), 0.0f, 3.0f, 0.0f, 0xFF00FF00u);
    plugin.Call<void>(kPaint, 17, paint, looper);
    plugin.Release(kHandle2, looper);
    plugin.Call<void>(kCanvas, 14, canvas);
    plugin.Call<void>(kCanvas, 23, canvas, 0.0f, 0.0f, 2.0f, 2.0f, paint);
    EXPECT_EQ(plugin.Pixel(bitmap, 1, 1), 0xFF0000FFu);
    EXPECT_EQ(plugin.Pixel(bitmap, 4, 1), 0xFF00FF00u);
    EXPECT_EQ(plugin.Pixel(bitmap, 6, 1), 0u);

    // Alpha-only bitmaps keep one byte a pixel and draw the paint's colour.
    Object alpha = plugin.Call<Object>(kFactory, 10, Object(plugin.factory), 2, 2, 0, 1);
    ASSERT_NE(alpha, nullptr);
    plugin.Call<void>(kBitmap, 1, alpha, 0x80000000u);
    EXPECT_EQ(plugin.Pixel(alpha, 1, 1), 0x80000000u);
    Object plain = plugin.Paint(0xFFFF0000);
    plugin.Call<void>(kCanvas, 35, canvas, alpha, 15.0f, 0.0f, plain);
    EXPECT_EQ(plugin.Pixel(bitmap, 16, 1), 0x80FF0000u);
    EXPECT_EQ(plugin.Pixel(bitmap, 17, 1), 0u);
    int w = 5, h = 5;
    Object alphaCopy = plugin.Call<Object>(kBitmap, 16, alpha, 0, 0, &w, &h);
    EXPECT_EQ(w, 2);
    EXPECT_EQ(plugin.Pixel(alphaCopy, 1, 1), 0x80000000u);
    for (Object o : {alphaCopy, alpha})
        plugin.Release(kBitmap, o);
    plugin.Release(kPaint, plain);
    plugin.Release(kPaint, paint);
    plugin.Release(kCanvas, canvas);
    plugin.Release(kBitmap, bitmap);
}

TEST(DrawingTables, ReleasesFromTwoThreadsAtOnce)
{
    DrawingPlugin plugin;
    const int count = 300;
    std::vector<Object> paints, canvases;
    Object bitmap = plugin.Bitmap(4, 4, false);
    for (int i = 0; i < count; ++i) {
        paints.push_back(plugin.Paint(0xFF000000u + uint32_t(i)));
        canvases.push_back(plugin.CanvasOn(bitmap));
    }
    plugin.Release(kBitmap, bitmap);  // the canvases keep the pixels
    std::thread first([&] {
        for (Object p : paints)
            plugin.Release(kPaint, p);
    });
    std::thread second([&] {
        for (Object c : canvases)
            plugin.Release(kCanvas, c);
    });
    first.join();
    second.join();
    SUCCEED();
}
