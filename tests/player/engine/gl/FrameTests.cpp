#include <gtest/gtest.h>

#include <cstdlib>

#include "GLHarness.h"
#include "GLShapes.h"
#include "fixtures/SwfButtonWriter.h"
#include "fixtures/SwfFontWriter.h"
#include "fixtures/SwfMorphWriter.h"
#include "fixtures/SwfTextWriter.h"
#include "fixtures/SwfTimeline.h"
#include "player/engine/GLTable.h"
#include "player/engine/PVGLDraw.h"

namespace {

constexpr Pixel kWhite = {255, 255, 255, 255};
constexpr Pixel kRed = {255, 0, 0, 255};
constexpr Pixel kGreen = {0, 255, 0, 255};
constexpr Pixel kBlue = {0, 0, 255, 255};

// Defines shape `id`: one box (pixels) in a solid colour.
SwfTimeline& DefineBox(SwfTimeline& tags, uint16_t id, int x, int y, int w, int h, Pixel c)
{
    SwfShapeWriter shape;
    AddBox(shape, x * 20, y * 20, w * 20, h * 20, shape.AddSolidFill(c.r, c.g, c.b));
    return tags.DefineShape(id, shape, x * 20, (x + w) * 20, y * 20, (y + h) * 20);
}

SwfTimeline& Place(SwfTimeline& tags, uint16_t id, uint16_t depth, uint16_t clipDepth = 0)
{
    SwfPlace place;
    place.id = id;
    place.depth = depth;
    place.matrix = SwfMatrix();
    if (clipDepth)
        place.clipDepth = clipDepth;
    return tags.PlaceObject2(place);
}

TEST(ClipLayer, MasksTheDepthsUpToItsClipDepthOnly)
{
    GLHarness gl;
    SwfTimeline tags;
    DefineBox(tags, 10, 0, 0, 100, 150, kBlue);  // the mask: left half
    DefineBox(tags, 11, 0, 10, 200, 30, kRed);
    DefineBox(tags, 12, 0, 50, 200, 30, kGreen);
    DefineBox(tags, 13, 0, 90, 200, 30, kRed);
    Place(tags, 10, 3, 5);
    Place(tags, 11, 4);
    Place(tags, 12, 5);
    Place(tags, 13, 6);
    tags.ShowFrame().End();
    ASSERT_TRUE(gl.Load(tags));
    ASSERT_TRUE(gl.Draw());
    EXPECT_EQ(gl.Count(0, 12, 99, 38, kRed), 99 * 26);
    EXPECT_EQ(gl.Count(101, 12, 200, 38, kWhite), 99 * 26);
    EXPECT_EQ(gl.Count(0, 52, 99, 78, kGreen), 99 * 26);
    EXPECT_EQ(gl.Count(101, 52, 200, 78, kWhite), 99 * 26);
    EXPECT_EQ(gl.Count(0, 92, 200, 118, kRed), 200 * 26);
    // The mask itself is not shown.
    EXPECT_EQ(gl.Count(0, 125, 200, 150, kWhite), 200 * 25);
    EXPECT_EQ(gl.lastError, GLenum(GL_NO_ERROR));
}

// A clip layer inside a clipped sprite masks within the outer mask: the
// outer mask still holds while and after the inner one is drawn.
TEST(ClipLayer, NestedLayerKeepsTheOuterMask)
{
    GLHarness gl;
    SwfTimeline tags;
    DefineBox(tags, 10, 0, 0, 100, 150, kBlue);  // outer mask: left half
    DefineBox(tags, 11, 0, 0, 200, 75, kBlue);   // inner mask: top half
    DefineBox(tags, 12, 0, 0, 200, 150, kRed);
    DefineBox(tags, 13, 0, 100, 200, 50, kGreen);
    SwfTimeline inner;
    Place(inner, 11, 1, 2);
    Place(inner, 12, 2);
    Place(inner, 13, 3);
    inner.ShowFrame().End();
    tags.DefineSprite(20, 1, inner);
    Place(tags, 10, 1, 3);
    Place(tags, 20, 2);
    tags.ShowFrame().End();
    ASSERT_TRUE(gl.Load(tags));
    ASSERT_TRUE(gl.Draw());
    EXPECT_EQ(gl.Count(0, 0, 99, 74, kRed), 99 * 74);
    EXPECT_EQ(gl.Count(101, 0, 200, 150, kWhite), 99 * 150);
    EXPECT_EQ(gl.Count(0, 76, 99, 99, kWhite), 99 * 23);
    // After the inner layer, the outer mask alone.
    EXPECT_EQ(gl.Count(0, 101, 99, 150, kGreen), 99 * 49);
}

TEST(Morph, BlendsShapeAndColourByRatio)
{
    const struct {
        uint16_t ratio;
        int left;  // pixels
        Pixel color;
    } cases[] = {{0, 20, {255, 0, 0, 255}}, {32768, 70, {127, 0, 128, 255}}, {65535, 120, {0, 0, 255, 255}}};
    for (const auto& c : cases) {
        GLHarness gl;
        SwfMorphWriter morph;
        const int fill = morph.AddSolidFill(0xFF0000FF, 0x0000FFFF);
        AddBox(morph.StartPath(), 20 * 20, 50 * 20, 40 * 20, 50 * 20, fill);
        AddBox(morph.EndPath(), 120 * 20, 50 * 20, 40 * 20, 50 * 20, fill);
        const int32_t start[4] = {400, 1200, 1000, 2000}, end[4] = {2400, 3200, 1000, 2000};
        SwfTimeline tags;
        tags.DefineCharacter(46, 1, 2, morph.Body(1, start, end));
        SwfPlace place;
        place.id = 1;
        place.matrix = SwfMatrix();
        place.ratio = c.ratio;
        tags.PlaceObject2(place).ShowFrame().End();
        ASSERT_TRUE(gl.Load(tags));
        ASSERT_TRUE(gl.Draw());
        EXPECT_EQ(gl.Count(c.left + 1, 51, c.left + 39, 99, c.color, 1), 38 * 48) << c.ratio;
        EXPECT_EQ(gl.Count(0, 0, c.left - 1, 150, kWhite), (c.left - 1) * 150) << c.ratio;
        EXPECT_EQ(gl.Count(c.left + 41, 0, 200, 150, kWhite), (159 - c.left) * 150) << c.ratio;
    }
}

TEST(Text, GlyphsStandAtTheirAdvancesInTheTextColour)
{
    GLHarness gl;
    // One glyph: a box 512 wide and 800 high above the baseline (em 1024).
    SwfShapeWriter glyph;
    AddBox(glyph, 0, -800, 512, 800, 1);
    SwfTextWriter text;
    SwfTextWriter::Style style;
    style.font = 5;
    style.height = 400;  // 20 pixels: the glyph is 10 x 15.6 pixels
    style.color = 0x00C000FF;
    style.x = 20 * 20;
    style.y = 100 * 20;
    text.AddStyle(style).AddRun({{0, 600}, {0, 600}, {0, 900}, {0, 600}});
    const int32_t rect[4] = {0, 4000, 0, 3000};
    SwfTimeline tags;
    tags.DefineCharacter(10, 5, 4, SwfDefineFont(5, {glyph}));
    tags.DefineCharacter(11, 6, 5, text.Body(6, rect, SwfMatrix(), 1, 12));
    tags.PlaceObject(6, 1, {}).ShowFrame().End();
    ASSERT_TRUE(gl.Load(tags));
    ASSERT_TRUE(gl.Draw());
    const Pixel green = {0, 192, 0, 255};
    for (int left : {20, 50, 80, 125}) {
        EXPECT_EQ(gl.Count(left + 1, 86, left + 9, 99, green), 8 * 13) << left;
        EXPECT_EQ(gl.Count(left + 11, 80, left + 19, 110, kWhite), 8 * 30) << left;
    }
    EXPECT_EQ(gl.Count(0, 0, 200, 83, kWhite), 200 * 83);
}

TEST(Button, ShowsItsOverStateUnderTheMouse)
{
    GLHarness gl;
    SwfTimeline tags;
    DefineBox(tags, 10, 50, 40, 100, 70, kRed);
    DefineBox(tags, 11, 50, 40, 100, 70, kGreen);
    SwfButtonWriter button;
    button.Record(1 | 8, 10, 1).Record(2, 11, 2);
    tags.DefineCharacter(34, 30, 6, button.Body2(30));
    tags.PlaceObject(30, 1, {}).ShowFrame().End();
    ASSERT_TRUE(gl.Load(tags));
    ASSERT_TRUE(gl.Draw(10, 10));
    EXPECT_EQ(gl.drawer->ButtonUnderMouse(), nullptr);
    EXPECT_TRUE(Near(gl.At(100, 75), kRed, 0)) << Show(gl.At(100, 75));
    // A step with the mouse over the hit area finds the button while it
    // draws, and the player moves it to its over state.
    gl.player.Step(gl.drawer, 100, 75, false, true);
    EXPECT_NE(gl.player.ButtonUnderMouse(), nullptr);
    ASSERT_TRUE(gl.Draw(100, 75));
    EXPECT_NE(gl.drawer->ButtonUnderMouse(), nullptr);
    EXPECT_EQ(gl.Count(51, 41, 149, 109, kGreen), 98 * 68);
    ASSERT_TRUE(gl.Draw(160, 75));
    EXPECT_EQ(gl.drawer->ButtonUnderMouse(), nullptr);
}

TEST(ViewModes, OutlinesDrawEdgesOnly)
{
    const struct {
        bool blackAndWhite;
        Pixel background;
        Pixel edge;
    } cases[] = {{false, {0, 0, 0, 255}, {0, 0, 255, 255}}, {true, {255, 255, 255, 255}, {0, 0, 0, 255}}};
    for (const auto& c : cases) {
        GLHarness gl;
        SwfShapeWriter shape;
        const int red = shape.AddSolidFill(255, 0, 0);
        const int line = shape.AddLineStyle(40, 0, 0, 255);
        shape.Select(red, 0, line).MoveTo(800, 600);
        shape.Line(2000, 0).Line(0, 1200).Line(-2000, 0).Line(0, -1200);
        SwfTimeline tags;
        tags.SetBackgroundColor(0, 0, 0);
        tags.DefineShape(1, shape, 800, 2800, 600, 1800).PlaceObject(1, 1, {}).ShowFrame().End();
        ASSERT_TRUE(gl.Load(tags));
        gl.drawer->SetOutlines(true, c.blackAndWhite);
        ASSERT_TRUE(gl.Draw());
        EXPECT_EQ(gl.Count(43, 33, 137, 87, c.background), 94 * 54) << c.blackAndWhite;
        EXPECT_EQ(gl.Count(0, 0, 200, 25, c.background), 200 * 25) << c.blackAndWhite;
        // Each edge's line straddles a pixel border: the two pixels beside
        // it hold together about a pixel's worth of the edge colour.
        auto ink = [&](Pixel p) {
            return std::abs(p.r - c.background.r) + std::abs(p.g - c.background.g) + std::abs(p.b - c.background.b);
        };
        const int full = ink(c.edge);
        for (auto [x, y] : {std::pair{40, 60}, {140, 60}, {90, 30}, {90, 90}}) {
            const Pixel a = gl.At(x, y), b = y == 60 ? gl.At(x - 1, y) : gl.At(x, y - 1);
            EXPECT_GE(ink(a) + ink(b), full * 3 / 4) << c.blackAndWhite << " " << x << "," << y << " " << Show(a)
                                                     << " " << Show(b);
            EXPECT_LE(a.r + b.r, 2 * c.background.r + 2 * c.edge.r) << "no red fill";
        }
    }
}

class ThreeD : public ::testing::TestWithParam<int> {};

TEST_P(ThreeD, ModeDrawsTheShapeWithoutError)
{
    GLHarness gl;
    SwfTimeline tags;
    tags.SetBackgroundColor(0, 0, 0);
    DefineBox(tags, 10, 20, 20, 160, 110, kRed);
    DefineBox(tags, 11, 60, 50, 80, 50, kGreen);
    Place(tags, 10, 1);
    Place(tags, 11, 2);
    tags.ShowFrame().End();
    ASSERT_TRUE(gl.Load(tags));
    gl.drawer->SetViewMode(GetParam());
    ASSERT_TRUE(gl.Draw());
    EXPECT_EQ(gl.lastError, GLenum(GL_NO_ERROR));
    int drawn = 0;
    for (int y = 0; y < gl.Height(); ++y)
        for (int x = 0; x < gl.Width(); ++x)
            drawn += gl.At(x, y).r > 128 || gl.At(x, y).g > 128;
    EXPECT_GT(drawn, 1000) << "mode " << GetParam();
    // Not the flat picture: the view is turned.
    EXPECT_LT(gl.Count(20, 20, 180, 130, kRed), 160 * 110 - 80 * 50);
}

INSTANTIATE_TEST_SUITE_P(Modes, ThreeD, ::testing::Values(1, 2, 3));

TEST(ViewDrag, ZoomFollowsThePointerUpAndDown)
{
    GLHarness gl;
    SwfTimeline tags;
    DefineBox(tags, 10, 20, 20, 160, 110, kRed);
    Place(tags, 10, 1).ShowFrame().End();
    ASSERT_TRUE(gl.Load(tags));
    gl.drawer->SetViewMode(PVGLDraw::kPlane);
    gl.drawer->BeginViewDrag(0.5f, 0.5f, true);
    gl.drawer->UpdateViewDrag(0.5f, 0.3f);
    EXPECT_FLOAT_EQ(gl.drawer->DragZoom(), 1.4f);
    gl.drawer->UpdateViewDrag(0.5f, 0.7f);
    EXPECT_FLOAT_EQ(gl.drawer->DragZoom(), 0.8f);
    gl.drawer->UpdateViewDrag(0.5f, 2.0f);
    EXPECT_FLOAT_EQ(gl.drawer->DragZoom(), 0.001f);
    gl.drawer->UpdateViewDrag(0.5f, 0.7f);
    gl.drawer->EndViewDrag();
    EXPECT_FLOAT_EQ(gl.drawer->DragZoom(), 1.0f);
    EXPECT_FLOAT_EQ(gl.drawer->Zoom(), 0.8f);
    ASSERT_TRUE(gl.Draw());
    EXPECT_EQ(gl.lastError, GLenum(GL_NO_ERROR));
}

// Swap-hint calls seen while a SwapHintProbe lives.
struct SwapHint {
    int x, y, w, h;
};
std::vector<SwapHint> gHints;

void WINAPI RecordSwapHint(GLint x, GLint y, GLsizei w, GLsizei h)
{
    gHints.push_back({x, y, w, h});
}

TEST(PartialUpdate, RedrawsTheDamageWithASwapHint)
{
    GLHarness gl;
    SwfTimeline tags;
    DefineBox(tags, 10, 10, 50, 30, 20, kGreen);
    DefineBox(tags, 11, 0, 0, 20, 20, kRed);
    Place(tags, 10, 1);
    SwfMatrix at120 = MakeMatrix(1, 1, 120 * 20, 50 * 20), at150 = MakeMatrix(1, 1, 150 * 20, 50 * 20);
    tags.PlaceObject(11, 2, at120).ShowFrame();
    SwfPlace move;
    move.depth = 2;
    move.move = true;
    move.matrix = at150;
    tags.PlaceObject2(move).ShowFrame().ShowFrame().End();
    ASSERT_TRUE(gl.Load(tags, 3));
    // Without the extension (as in Wine) every frame is drawn whole.
    ASSERT_EQ(gGL.addSwapHintRect, nullptr);
    gHints.clear();
    gGL.addSwapHintRect = RecordSwapHint;
    // The first frame, and any repaint with force, is drawn whole.
    ASSERT_TRUE(gl.drawer->Render(nullptr, -1, -1, true));
    ASSERT_TRUE(gl.Draw(-1, -1, true));
    EXPECT_TRUE(gHints.empty());
    ASSERT_TRUE(gl.Draw(-1, -1, false));  // takes the damage of the first frame
    gHints.clear();

    gl.Step();
    ASSERT_TRUE(gl.Draw(-1, -1, false));
    ASSERT_EQ(gHints.size(), 1u);
    // The damage is the moved box's old and new place: x 120-170, y 50-70.
    EXPECT_EQ(gHints[0].x, 118);
    EXPECT_EQ(gHints[0].y, 150 - 72 - 1);
    EXPECT_EQ(gHints[0].w, 54);
    EXPECT_EQ(gHints[0].h, 24);
    EXPECT_EQ(gl.Count(151, 51, 169, 69, kRed), 18 * 18);
    // Outside the update rectangle nothing was drawn into the back buffer.
    EXPECT_EQ(gl.Count(10, 50, 40, 70, kWhite), 30 * 20);

    // A frame that changes nothing draws nothing.
    gl.Step();
    EXPECT_FALSE(gl.Draw(-1, -1, false));
    ASSERT_TRUE(gl.Draw(-1, -1, true));
    EXPECT_EQ(gl.Count(11, 51, 39, 69, kGreen), 28 * 18);
    EXPECT_EQ(gHints.size(), 1u);
    gGL.addSwapHintRect = nullptr;
}

}  // namespace
