#include <gtest/gtest.h>

#include "GLHarness.h"
#include "GLShapes.h"
#include "fixtures/HangWatch.h"
#include "fixtures/SwfBitmapWriter.h"
#include "fixtures/SwfMorphWriter.h"
#include "fixtures/SwfTimeline.h"
#include "player/engine/PVDListObject.h"
#include "player/engine/PVDisplayList.h"
#include "player/engine/PVMovieClip.h"

namespace {

constexpr Pixel kWhite = {255, 255, 255, 255};
constexpr Pixel kRed = {255, 0, 0, 255};
constexpr Pixel kGreen = {0, 255, 0, 255};

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

// A mask at depth 5 whose clip depth (3) lies below it, under a red box at
// depth 6 and over a green one at depth 4: the drawing ends, the mask stays
// unseen and clips neither box. The same holds for an entry that holds
// such a clip depth whatever set it.
TEST(FrameState, ClipDepthBelowTheLayerEndsTheDrawing)
{
    GLHarness gl;
    SwfTimeline tags;
    DefineBox(tags, 10, 0, 0, 200, 150, {0, 0, 255, 255});  // the mask: everything
    DefineBox(tags, 11, 0, 10, 100, 30, kRed);
    DefineBox(tags, 12, 100, 50, 100, 30, kGreen);
    Place(tags, 10, 5, 3);
    Place(tags, 11, 6);
    Place(tags, 12, 4);
    tags.ShowFrame().End();
    ASSERT_TRUE(gl.Load(tags));
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 1)
            gl.player.MainClip()->DisplayList().At(5)->clipDepth = 3;
        {
            HangWatch watch(60000);
            ASSERT_TRUE(gl.Draw()) << pass;
        }
        EXPECT_EQ(gl.Count(0, 12, 99, 38, kRed), 99 * 26) << pass;
        EXPECT_EQ(gl.Count(101, 52, 200, 78, kGreen), 99 * 26) << pass;
        EXPECT_EQ(gl.Count(0, 90, 200, 150, kWhite), 200 * 60) << pass;
    }
}

// The shape is defined once with a bitmap fill naming id 7; every frame
// frees id 7, defines a new 1 x 1 bitmap under it and places the shape
// again, as ffmpeg writes JPEG video. Each frame shows its own bitmap.
TEST(FrameState, FreedAndRedefinedBitmapShowsPerFrame)
{
    const Pixel colors[] = {{200, 10, 10, 255}, {10, 200, 10, 255}, {10, 10, 200, 255}};
    GLHarness gl;
    SwfShapeWriter shape;
    AddBox(shape, 400, 400, 1600, 800, shape.AddBitmapFill(64, 7, MakeMatrix(200, 200, 400, 400)));
    SwfTimeline tags;
    tags.DefineShape(1, shape, 0, 4000, 0, 3000);
    for (int frame = 0; frame < 3; ++frame) {
        if (frame > 0)
            tags.RemoveObject(1, 1).FreeCharacter(7);
        const Pixel c = colors[frame];
        tags.Tag(20, SwfLossless(7, 5, 1, 1, 0, {0, c.r, c.g, c.b}), true);
        tags.PlaceObject(1, 1, {}).ShowFrame();
    }
    tags.End();
    ASSERT_TRUE(gl.Load(tags, 3));
    for (int frame = 0; frame < 3; ++frame) {
        if (frame > 0)
            gl.Step();
        ASSERT_TRUE(gl.Draw()) << frame;
        EXPECT_TRUE(Near(gl.At(50, 30), colors[frame], 2)) << frame << ": " << Show(gl.At(50, 30));
    }
    // Sought back to the start, the first frame shows its bitmap again.
    gl.player.MainClip()->Seek(1);
    ASSERT_TRUE(gl.Draw());
    EXPECT_TRUE(Near(gl.At(50, 30), colors[0], 2)) << Show(gl.At(50, 30));
}

// A morph from an all-red to an all-blue linear gradient: the drawn colour
// follows the ratio, as a solid fill's does.
TEST(FrameState, MorphGradientFollowsTheRatio)
{
    const struct {
        uint16_t ratio;
        Pixel color;
    } cases[] = {{0, {255, 0, 0, 255}}, {32768, {127, 0, 128, 255}}, {65535, {0, 0, 255, 255}}};
    for (const auto& c : cases) {
        GLHarness gl;
        SwfMorphWriter morph;
        const SwfMorphWriter::GradientPair first{{0, {255, 0, 0, 255}}, {0, {0, 0, 255, 255}}};
        const SwfMorphWriter::GradientPair last{{255, {255, 0, 0, 255}}, {255, {0, 0, 255, 255}}};
        const SwfMatrix m = MakeMatrix(100.0 * 20 / 32768, 1, 100 * 20, 75 * 20);
        const int fill = morph.AddGradientFill(16, m, m, {first, last});
        AddBox(morph.StartPath(), 40 * 20, 50 * 20, 120 * 20, 50 * 20, fill);
        AddBox(morph.EndPath(), 40 * 20, 50 * 20, 120 * 20, 50 * 20, fill);
        const int32_t rect[4] = {800, 3200, 1000, 2000};
        SwfTimeline tags;
        tags.DefineCharacter(46, 1, 2, morph.Body(1, rect, rect));
        SwfPlace place;
        place.id = 1;
        place.matrix = SwfMatrix();
        place.ratio = c.ratio;
        tags.PlaceObject2(place).ShowFrame().End();
        ASSERT_TRUE(gl.Load(tags));
        ASSERT_TRUE(gl.Draw());
        EXPECT_EQ(gl.Count(42, 52, 158, 98, c.color, 2), 116 * 46) << c.ratio << ": " << Show(gl.At(100, 75));
    }
}

}  // namespace
