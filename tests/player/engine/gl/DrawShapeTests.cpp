#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "GLCallCounter.h"
#include "GLHarness.h"
#include "GLShapes.h"
#include "fixtures/SwfTimeline.h"
#include "player/engine/GLTable.h"
#include "player/engine/PVCharDictionary.h"
#include "player/engine/PVGLDraw.h"
#include "player/engine/PVShape.h"

namespace {

constexpr Pixel kWhite = {255, 255, 255, 255};
constexpr Pixel kRed = {255, 0, 0, 255};

// Pixels nearer red than white (the anti-aliased border counts by how
// much of it is covered).
int RedCount(const GLHarness& gl)
{
    int n = 0;
    for (int y = 0; y < gl.Height(); ++y)
        for (int x = 0; x < gl.Width(); ++x)
            n += gl.At(x, y).g < 128;
    return n;
}

// Without high quality no smoothing lines run along the fill edges, so the
// fill's own coverage can be counted.
void LowQuality(GLHarness& gl)
{
    if (gl.player.HighQuality())
        gl.player.ToggleQuality();
}

// One shape with id 1 placed at depth 1 under `matrix`.
SwfTimeline OneShape(const SwfShapeWriter& shape, const SwfMatrix& matrix = {})
{
    SwfTimeline tags;
    tags.DefineShape(1, shape, 0, 4000, 0, 3000).PlaceObject(1, 1, matrix).ShowFrame().End();
    return tags;
}

TEST(DrawShape, SolidRectangleFillsItsBox)
{
    GLHarness gl;
    SwfShapeWriter shape;
    AddBox(shape, 40 * 20, 30 * 20, 100 * 20, 60 * 20, shape.AddSolidFill(255, 0, 0));
    ASSERT_TRUE(gl.Load(OneShape(shape)));
    ASSERT_TRUE(gl.Draw());
    // Interior exact, the outside untouched, the one-pixel border either.
    EXPECT_EQ(gl.Count(41, 31, 139, 89, kRed), 98 * 58);
    EXPECT_EQ(gl.Count(0, 0, 200, 29, kWhite), 200 * 29);
    EXPECT_EQ(gl.Count(0, 91, 200, 150, kWhite), 200 * 59);
    EXPECT_EQ(gl.Count(0, 0, 39, 150, kWhite), 39 * 150);
    EXPECT_EQ(gl.Count(141, 0, 200, 150, kWhite), 59 * 150);
    LowQuality(gl);
    ASSERT_TRUE(gl.Draw());
    EXPECT_EQ(RedCount(gl), 100 * 60);
}

TEST(DrawShape, RingShowsTheBackgroundThroughItsHole)
{
    GLHarness gl;
    SwfShapeWriter shape;
    const int red = shape.AddSolidFill(255, 0, 0);
    AddCircle(shape, 100 * 20, 75 * 20, 60 * 20, red);
    AddCircle(shape, 100 * 20, 75 * 20, 30 * 20, red, true);
    ASSERT_TRUE(gl.Load(OneShape(shape)));
    ASSERT_TRUE(gl.Draw());
    EXPECT_EQ(gl.Count(85, 60, 115, 90, kWhite), 30 * 30);  // inside the hole
    for (auto [x, y] : {std::pair{55, 75}, {145, 75}, {100, 30}, {100, 120}})
        EXPECT_EQ(gl.Count(x - 3, y - 3, x + 4, y + 4, kRed), 49) << x << "," << y;
    EXPECT_EQ(gl.Count(0, 0, 30, 30, kWhite), 900);
    LowQuality(gl);
    ASSERT_TRUE(gl.Draw());
    const double area = 3.14159265 * (60 * 60 - 30 * 30);
    EXPECT_NEAR(RedCount(gl), area, area * 0.01);
}

TEST(DrawShape, CircleCoversPiRSquared)
{
    for (int r : {20, 50, 70}) {
        GLHarness gl;
        SwfShapeWriter shape;
        AddCircle(shape, 100 * 20, 75 * 20, r * 20, shape.AddSolidFill(255, 0, 0));
        ASSERT_TRUE(gl.Load(OneShape(shape)));
        LowQuality(gl);
        ASSERT_TRUE(gl.Draw());
        const double area = 3.14159265 * r * r;
        EXPECT_NEAR(RedCount(gl), area, area * 0.01) << r;
        EXPECT_EQ(gl.At(100, 75).g, 0) << r;
    }
}

TEST(DrawShape, MirroredMatrixFillsTheMirroredPixels)
{
    // An L whose mirror image differs from it.
    SwfShapeWriter shape;
    const int red = shape.AddSolidFill(255, 0, 0);
    shape.Select(red, 0, 0).MoveTo(400, 400);
    shape.Line(600, 0).Line(0, 1000).Line(1400, 0).Line(0, 600).Line(-2000, 0).Line(0, -1600);
    GLHarness plain, mirrored;
    ASSERT_TRUE(plain.Load(OneShape(shape)));
    ASSERT_TRUE(mirrored.Load(OneShape(shape, MakeMatrix(-1, 1, 200 * 20, 0))));
    LowQuality(plain);
    LowQuality(mirrored);
    ASSERT_TRUE(plain.Draw());
    ASSERT_TRUE(mirrored.Draw());
    int same = 0;
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x)
            same += (plain.At(x, y).g < 128) == (mirrored.At(199 - x, y).g < 128);
    EXPECT_EQ(same, 200 * 150);
    EXPECT_EQ(RedCount(plain), 30 * 50 + 100 * 30);
}

TEST(DrawShape, CurveWithinAPixelOfItsEndFillsAsStraight)
{
    GLHarness gl;
    SwfShapeWriter shape;
    shape.Select(shape.AddSolidFill(255, 0, 0), 0, 0).MoveTo(800, 600);
    // The right side is a curve whose control point sits 10 twips from its end.
    shape.Line(2000, 0).Curve(0, 1190, 0, 10).Line(-2000, 0).Line(0, -1200);
    ASSERT_TRUE(gl.Load(OneShape(shape)));
    LowQuality(gl);
    ASSERT_TRUE(gl.Draw());
    EXPECT_EQ(RedCount(gl), 100 * 60);
    EXPECT_EQ(gl.Count(41, 31, 139, 89, kRed), 98 * 58);
}

// The drawer answers and draws nothing for a matrix that maps to infinity
// or NaN, instead of sweeping undefined coordinates.
TEST(DrawShape, NonFiniteCoordinatesAreDropped)
{
    GLHarness gl;
    SwfShapeWriter shape;
    AddBox(shape, 800, 600, 2000, 1200, shape.AddSolidFill(255, 0, 0));
    ASSERT_TRUE(gl.Load(OneShape(shape)));
    auto* character = static_cast<PVShape*>(gl.player.Dictionary()->Get(1));
    ASSERT_TRUE(gl.MakeCurrent());
    for (float bad : {std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()}) {
        PVMatrix m;
        m.scaleX = bad;
        m.translateY = bad;
        EXPECT_TRUE(gl.drawer->DrawShape(m, nullptr, *character));
    }
    EXPECT_EQ(gGL.glGetError(), GLenum(GL_NO_ERROR));
    gl.Done();
}

// A span thinner than a pixel row is sent only when it covers a row's
// sampling point (the middle of the row under llvmpipe).
TEST(DrawShape, ThinSpanMissingTheSamplingPointIsCulled)
{
    const struct {
        int top;  // twips: 0.05 and 0.35 pixels into row 40
        int quads;
    } cases[] = {{801, 0}, {807, 1}};
    for (const auto& c : cases) {
        GLHarness gl;
        SwfShapeWriter shape;
        shape.Select(shape.AddSolidFill(255, 0, 0), 0, 0).MoveTo(400, c.top);
        shape.Line(2000, 0).Line(0, 6).Line(-2000, 0).Line(0, -6);
        ASSERT_TRUE(gl.Load(OneShape(shape)));
        ASSERT_TRUE(gl.Draw());
        ASSERT_TRUE(gl.drawer->SampleOffsetValid());
        EXPECT_NEAR(gl.drawer->SampleOffset(), 0.5, 0.01);
        GLCallCounter counter;
        ASSERT_TRUE(gl.Draw());
        EXPECT_EQ(counter.quadDraws, c.quads) << c.top;
    }
}

// A 2x2 matrix (scale x, rotate-skew 0, rotate-skew 1, scale y) that keeps
// the point (cx, cy) of the shape, in twips, at the window's centre.
struct Linear {
    const char* name;
    double a, b, c, d;
    // A 10-pixel line's width under the matrix: the mean length of the
    // images of the unit vectors, by hand.
    double strokeWidth;
};

SwfMatrix AboutCentre(const Linear& l, int cx, int cy)
{
    SwfMatrix m;
    m.hasScale = m.hasRotate = true;
    m.scaleX = int32_t(std::lround(l.a * 65536));
    m.rotateSkew0 = int32_t(std::lround(l.b * 65536));
    m.rotateSkew1 = int32_t(std::lround(l.c * 65536));
    m.scaleY = int32_t(std::lround(l.d * 65536));
    m.translateX = int32_t(std::lround(100 * 20 - (l.a * cx + l.c * cy)));
    m.translateY = int32_t(std::lround(75 * 20 - (l.b * cx + l.d * cy)));
    return m;
}

const double kHalfRoot2 = std::sqrt(0.5);
const Linear kLinears[] = {
    {"identity", 1, 0, 0, 1, 10},
    {"turn90", 0, 1, -1, 0, 10},
    {"flip", -1, 0, 0, 1, 10},
    {"transpose", 0, 1, 1, 0, 10},  // a flip and a quarter turn
    {"skewedMirror", 0.5, 1, 1, 0.5, 11.18},  // determinant -0.75; columns of length 1.118
    {"turn45", kHalfRoot2, kHalfRoot2, -kHalfRoot2, kHalfRoot2, 10},
};

class DrawUnderMatrix : public testing::TestWithParam<Linear> {};

TEST_P(DrawUnderMatrix, FillCoversTheAreaTimesTheDeterminant)
{
    const Linear& l = GetParam();
    // The L of 4500 pixels, centred on (70, 60) pixels.
    SwfShapeWriter shape;
    shape.Select(shape.AddSolidFill(255, 0, 0), 0, 0).MoveTo(400, 400);
    shape.Line(600, 0).Line(0, 1000).Line(1400, 0).Line(0, 600).Line(-2000, 0).Line(0, -1600);
    GLHarness gl;
    ASSERT_TRUE(gl.Load(OneShape(shape, AboutCentre(l, 1400, 1200))));
    LowQuality(gl);
    ASSERT_TRUE(gl.Draw());
    const double expected = 4500 * std::fabs(l.a * l.d - l.b * l.c);
    EXPECT_NEAR(RedCount(gl), expected, expected * 0.03);
}

TEST_P(DrawUnderMatrix, StrokeKeepsItsWidth)
{
    const Linear& l = GetParam();
    // A 100-pixel line 10 pixels wide through the window's centre.
    SwfShapeWriter shape;
    shape.Select(0, 0, shape.AddLineStyle(200, 255, 0, 0)).MoveTo(1000, 1500).Line(2000, 0);
    GLHarness gl;
    ASSERT_TRUE(gl.Load(OneShape(shape, AboutCentre(l, 2000, 1500))));
    LowQuality(gl);
    ASSERT_TRUE(gl.Draw());
    EXPECT_EQ(gl.lastError, 0u);
    // An aliased wide line covers its width across its minor axis, so it
    // spans its width on every step of its major axis: the line's extent
    // along its major axis times its width.
    const double extent = 100 * std::max(std::fabs(l.a), std::fabs(l.b));
    const double expected = extent * l.strokeWidth;
    EXPECT_NEAR(RedCount(gl), expected, expected * 0.08);
}

INSTANTIATE_TEST_SUITE_P(Matrices, DrawUnderMatrix, testing::ValuesIn(kLinears),
                         [](const testing::TestParamInfo<Linear>& info) { return std::string(info.param.name); });

}  // namespace
