#include "addin/imaging/drawing/DrawCanvas.h"
#include "addin/imaging/drawing/DrawPicture.h"

#include <gtest/gtest.h>

namespace {

struct Target {
    Target(int width, int height) { EXPECT_TRUE(bitmap.Allocate(BitmapConfig::Argb8888, width, height)); }
    uint32_t At(int x, int y) const { return bitmap.Row32(y)[x]; }
    DrawBitmap bitmap;
};

DrawPaint Solid(uint32_t color)
{
    DrawPaint paint;
    paint.SetColor(color);
    return paint;
}

}  // namespace

TEST(DrawPicture, PlaysItsCallsUnderThePlayingCanvasMatrix)
{
    DrawPicture* picture = DrawPicture::Create(nullptr);
    ASSERT_NE(picture, nullptr);
    std::shared_ptr<DrawCanvas> recorder = picture->BeginRecording(20, 20);
    ASSERT_TRUE(recorder);
    EXPECT_TRUE(recorder->IsRecording());
    recorder->Save(DrawCanvas::kMatrixClipSave);
    recorder->Translate(2, 0);
    recorder->ClipRect({0, 0, 4, 20}, DrawCanvas::kIntersect);
    // The recording canvas answers queries as it records.
    DrawRect bounds;
    ASSERT_TRUE(recorder->GetClipBounds(&bounds, DrawCanvas::kHardEdges));
    EXPECT_EQ(bounds.right, 4.0f);
    recorder->DrawRectangle({0, 0, 10, 2}, Solid(0xFFFF0000));
    recorder->Restore();
    DrawMatrix scale;
    scale.Set(DrawMatrix::kScaleY, 2);
    recorder->SetMatrix(scale);
    recorder->DrawRectangle({0, 5, 1, 6}, Solid(0xFF00FF00));
    picture->EndRecording();
    EXPECT_FALSE(recorder->IsRecording());
    recorder->DrawColor(0xFFFFFFFF);  // after the end: neither recorded nor drawn
    recorder.reset();

    Target t(40, 40);
    DrawCanvas canvas(t.bitmap);
    canvas.Translate(10, 10);
    picture->Draw(canvas);
    // The red rect clipped to 4 wide, at (12..16, 10..12).
    EXPECT_EQ(t.At(12, 10), 0xFFFF0000u);
    EXPECT_EQ(t.At(15, 11), 0xFFFF0000u);
    EXPECT_EQ(t.At(16, 10), 0u);
    EXPECT_EQ(t.At(11, 10), 0u);
    // SetMatrix is taken relative to the playing canvas: y 5..6 doubled, +10.
    EXPECT_EQ(t.At(10, 20), 0xFF00FF00u);
    EXPECT_EQ(t.At(10, 21), 0xFF00FF00u);
    EXPECT_EQ(t.At(10, 22), 0u);
    EXPECT_EQ(t.At(39, 39), 0u);
    // Playing leaves the canvas as it was.
    EXPECT_EQ(canvas.GetSaveCount(), 1);
    EXPECT_EQ(canvas.GetTotalMatrix().Get(DrawMatrix::kTransX), 10.0f);
    picture->Release();
}

TEST(DrawPicture, KeepsItsOwnBitmapsAndCopiesShareTheCalls)
{
    DrawBitmap image;
    ASSERT_TRUE(image.Allocate(BitmapConfig::Argb8888, 2, 2));
    image.EraseColor(0xFF0000FF);
    DrawPicture* picture = DrawPicture::Create(nullptr);
    std::shared_ptr<DrawCanvas> recorder = picture->BeginRecording(10, 10);
    recorder->DrawImage(image, 1, 1, nullptr);
    picture->EndRecording();
    image.EraseColor(0xFFFF0000);  // changed after recording
    image.Reset();
    DrawPicture* copy = DrawPicture::Create(picture);
    picture->Release();

    Target t(10, 10);
    DrawCanvas canvas(t.bitmap);
    copy->Draw(canvas);
    EXPECT_EQ(t.At(1, 1), 0xFF0000FFu);
    EXPECT_EQ(t.At(2, 2), 0xFF0000FFu);
    EXPECT_EQ(t.At(3, 3), 0u);
    copy->Release();
}

TEST(DrawPicture, NewRecordingDropsTheOldCalls)
{
    DrawPicture* picture = DrawPicture::Create(nullptr);
    picture->BeginRecording(10, 10)->DrawColor(0xFFFF0000);
    picture->BeginRecording(10, 10)->DrawRectangle({0, 0, 1, 1}, Solid(0xFF00FF00));
    picture->EndRecording();
    Target t(4, 4);
    DrawCanvas canvas(t.bitmap);
    picture->Draw(canvas);
    EXPECT_EQ(t.At(0, 0), 0xFF00FF00u);
    EXPECT_EQ(t.At(3, 3), 0u);
    picture->Release();
}
