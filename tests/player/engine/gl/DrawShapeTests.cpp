#include <gtest/gtest.h>

#include <cmath>

#include "GLHarness.h"
#include "fixtures/SwfShapeWriter.h"
#include "fixtures/SwfTimeline.h"
#include "player/engine/PVGLDraw.h"

namespace {

constexpr Pixel kWhite = {255, 255, 255, 255};
constexpr Pixel kRed = {255, 0, 0, 255};

// A closed box path going clockwise on screen, its inside on the right of
// the path (fill 1).
SwfShapeWriter& Box(SwfShapeWriter& shape, int x, int y, int w, int h, int fill)
{
    shape.Select(0, fill, 0).MoveTo(x, y);
    return shape.Line(w, 0).Line(0, h).Line(-w, 0).Line(0, -h);
}

SwfMatrix Translate(int x, int y)
{
    SwfMatrix m;
    m.translateX = x;
    m.translateY = y;
    return m;
}

TEST(DrawShape, SolidRectangleFillsItsBox)
{
    GLHarness gl;
    SwfShapeWriter shape;
    const int red = shape.AddSolidFill(255, 0, 0);
    Box(shape, 40 * 20, 30 * 20, 100 * 20, 60 * 20, red);
    SwfTimeline tags;
    tags.DefineShape(1, shape, 800, 2800, 600, 1800).PlaceObject(1, 1, {}).ShowFrame().End();
    ASSERT_TRUE(gl.Load(tags));
    ASSERT_TRUE(gl.Draw());
    // Interior exact, the outside untouched, the one-pixel border either.
    EXPECT_EQ(gl.Count(41, 31, 139, 89, kRed), 98 * 58);
    EXPECT_EQ(gl.Count(0, 0, 200, 29, kWhite), 200 * 29);
    EXPECT_EQ(gl.Count(0, 91, 200, 150, kWhite), 200 * 59);
    EXPECT_EQ(gl.Count(0, 0, 39, 150, kWhite), 39 * 150);
    EXPECT_EQ(gl.Count(141, 0, 200, 150, kWhite), 59 * 150);
}

}  // namespace
