#include "addin/imaging/drawing/BitmapPlatformDevice.h"
#include "addin/imaging/drawing/DrawPath.h"
#include "addin/imaging/drawing/PlatformDevice.h"

#include <gtest/gtest.h>
#include <math.h>

namespace {

TEST(DrawPath, EmptyPathAnswersZeros)
{
    DrawPath path;
    EXPECT_TRUE(path.IsEmpty());
    DrawPoint last = path.GetLastPoint();
    EXPECT_EQ(last.x, 0.0f);
    EXPECT_EQ(last.y, 0.0f);
    DrawRect bounds = path.GetBounds();
    EXPECT_EQ(bounds.right, 0.0f);
}

TEST(DrawPath, RelativeVerbsStartFromTheLastPoint)
{
    DrawPath path;
    path.MoveTo(10, 10);
    path.RLineTo(5, 0);
    path.RQuadTo(0, 5, 5, 5);
    path.RCubicTo(1, 1, 2, 2, 3, 3);
    DrawPoint last = path.GetLastPoint();
    EXPECT_EQ(last.x, 23.0f);
    EXPECT_EQ(last.y, 18.0f);
    const std::vector<uint8_t> verbs = {DrawPath::kMove, DrawPath::kLine, DrawPath::kQuad, DrawPath::kCubic};
    EXPECT_EQ(path.GetVerbs(), verbs);
    path.Close();
    // A line after a close starts again at the contour's first point.
    path.LineTo(0, 0);
    EXPECT_EQ(path.GetVerbs()[5], DrawPath::kMove);
    EXPECT_EQ(path.GetPoints()[7].x, 10.0f);
}

TEST(DrawPath, ShapesHaveTheirBounds)
{
    DrawPath path;
    path.AddCircle(50, 40, 10, DrawPath::kClockwise);
    DrawRect b = path.GetBounds();
    EXPECT_NEAR(b.left, 40, 0.01);
    EXPECT_NEAR(b.right, 60, 0.01);
    EXPECT_NEAR(b.top, 26, 4.2);  // control points lie a little outside
    path.Reset();
    path.AddRoundRect({0, 0, 100, 50}, 10, 10, DrawPath::kCounterClockwise);
    b = path.GetBounds();
    EXPECT_EQ(b.left, 0.0f);
    EXPECT_EQ(b.bottom, 50.0f);
    path.Reset();
    path.AddArc({0, 0, 20, 20}, 0, 90);
    EXPECT_NEAR(path.GetPoints()[0].x, 20, 1e-4);
    EXPECT_NEAR(path.GetLastPoint().x, 10, 1e-4);
    EXPECT_NEAR(path.GetLastPoint().y, 20, 1e-4);
}

TEST(DrawPath, TangentArcTouchesBothLines)
{
    DrawPath path;
    path.MoveTo(0, 0);
    path.ArcToTangent(10, 0, 10, 10, 5);
    // Ends on the second line, a radius below the corner.
    EXPECT_NEAR(path.GetLastPoint().x, 10, 1e-4);
    EXPECT_NEAR(path.GetLastPoint().y, 5, 1e-4);
    EXPECT_NEAR(path.GetPoints()[1].x, 5, 1e-4);
}

TEST(PlatformDevice, BezierRunsRaiseLinesAndQuads)
{
    DrawPath path;
    path.MoveTo(1, 2);
    path.LineTo(3, 4);
    path.QuadTo(5, 6, 7, 8);
    path.Close();
    path.MoveTo(0, 0);
    path.CubicTo(1, 1, 2, 2, 3, 3);
    std::vector<std::vector<DrawPoint>> runs;
    ASSERT_TRUE(PlatformDevice::PathToBezierRuns(runs, path));
    ASSERT_EQ(runs.size(), 2u);
    ASSERT_EQ(runs[0].size(), 8u);
    EXPECT_EQ(runs[0][1].x, 1.0f);  // (p0, p0, p1, p1)
    EXPECT_EQ(runs[0][2].x, 3.0f);
    EXPECT_EQ(runs[0][5].x, 5.0f);  // (p0, p1, p2, p2)
    EXPECT_EQ(runs[0][7].x, 7.0f);
    EXPECT_EQ(runs[1].size(), 4u);
}

TEST(PlatformDevice, SelectedPathFillsItsInsideWithTheFillRule)
{
    BitmapPlatformDevice* device = BitmapPlatformDevice::MakeForScreen(40, 40, true, nullptr);
    ASSERT_TRUE(device);
    HDC dc = device->GetMemoryDC();
    DrawPath path;
    path.AddRect({0, 0, 40, 40}, DrawPath::kClockwise);
    path.AddRect({10, 10, 30, 30}, DrawPath::kClockwise);
    path.SetFillType(DrawPath::kEvenOdd);
    ASSERT_TRUE(PlatformDevice::SelectPathIntoDC(dc, path));
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    FillPath(dc);
    GdiFlush();
    EXPECT_EQ(device->GetBitmap().Row32(5)[5] & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(device->GetBitmap().Row32(20)[20] & 0xFFFFFF, 0u);  // the hole
    device->Release();
}

}  // namespace
