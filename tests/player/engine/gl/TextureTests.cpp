#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "GLCallCounter.h"
#include "GLHarness.h"
#include "GLShapes.h"
#include "fixtures/SwfBitmapWriter.h"
#include "fixtures/SwfTimeline.h"
#include "player/engine/GLTable.h"
#include "player/engine/PVCharDictionary.h"
#include "player/engine/PVDListObject.h"
#include "player/engine/PVDisplayList.h"
#include "player/engine/PVGLDraw.h"
#include "player/engine/PVGradTex.h"
#include "player/engine/PVGradTexList.h"
#include "player/engine/PVImage.h"
#include "player/engine/PVMovieClip.h"

namespace {

using Entry = SwfShapeWriter::GradientEntry;

PVGradient MakeGradient(std::initializer_list<std::pair<uint8_t, PVRGBA>> entries)
{
    PVGradient g;
    for (const auto& [ratio, color] : entries) {
        g.ratios[g.count] = ratio;
        g.colors[g.count] = color;
        g.allOpaque &= color.alpha == 255;
        ++g.count;
    }
    return g;
}

// The image a cache entry builds for `gradient`.
std::unique_ptr<PVImage> BuildImage(const PVGradient& gradient, bool linear)
{
    PVGradTex texture(nullptr);
    texture.SetGradient(gradient, linear);
    return std::unique_ptr<PVImage>(texture.BuildImage(1, nullptr, nullptr));
}

Pixel ImagePixel(const PVImage& image, int x, int y)
{
    const int bytes = PVImage::BytesPerPixel(image.Kind());
    const uint8_t* p = image.Row(y) + x * bytes;
    return {p[0], p[1], p[2], uint8_t(bytes == 4 ? p[3] : 255)};
}

// A box of the whole window filled with `fill`, placed at depth 1.
SwfTimeline FilledWindow(SwfShapeWriter& shape, int fill, int width, int height,
                         const std::optional<SwfCxform>& cxform = std::nullopt)
{
    AddBox(shape, 0, 0, width * 20, height * 20, fill);
    SwfTimeline tags;
    SwfPlace place;
    place.id = 1;
    place.matrix = SwfMatrix();
    place.cxform = cxform;
    tags.DefineShape(1, shape, 0, width * 20, 0, height * 20).PlaceObject2(place).ShowFrame().End();
    return tags;
}

TEST(GradientImage, LinearRampFillsBeforeTheFirstAndAfterTheLastRatio)
{
    const auto image = BuildImage(MakeGradient({{40, {255, 0, 0, 255}}, {200, {0, 0, 255, 255}}}), true);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width(), 256);
    EXPECT_EQ(image->Height(), 1);
    EXPECT_EQ(image->Kind(), PVImage::kRGB);
    for (int x : {0, 20, 39, 40})
        EXPECT_EQ(Show(ImagePixel(*image, x, 0)), "255,0,0") << x;
    EXPECT_EQ(Show(ImagePixel(*image, 120, 0)), "127,0,127");
    for (int x : {200, 230, 255})
        EXPECT_EQ(Show(ImagePixel(*image, x, 0)), "0,0,255") << x;
}

// Ratios that go backwards leave no pixel unset (black and transparent in a
// zero-filled image): every pixel takes one of the ramp's colours or a blend.
TEST(GradientImage, DecreasingRatiosLeaveNoPixelUnset)
{
    const PVGradient g = MakeGradient(
        {{0, {200, 60, 60, 200}}, {200, {60, 200, 60, 200}}, {100, {60, 60, 200, 200}}, {255, {90, 90, 90, 200}}});
    for (bool linear : {true, false}) {
        const auto image = BuildImage(g, linear);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->Kind(), PVImage::kRGBA);
        for (int y = 0; y < image->Height(); ++y) {
            for (int x = 0; x < image->Width(); ++x) {
                const Pixel p = ImagePixel(*image, x, y);
                ASSERT_EQ(p.a, 200) << linear << " " << x << "," << y;
                ASSERT_GE(p.r + p.g + p.b, 180) << linear << " " << x << "," << y;
            }
        }
    }
}

TEST(GradientImage, RadialSizeFollowsTheEntryCountAndIsSymmetric)
{
    const PVRGBA a{255, 0, 0, 255}, b{0, 255, 0, 255}, c{0, 0, 255, 255}, d{9, 9, 9, 255};
    const auto small = BuildImage(MakeGradient({{0, a}, {128, b}, {255, c}}), false);
    const auto large = BuildImage(MakeGradient({{0, a}, {100, b}, {200, c}, {255, d}}), false);
    ASSERT_TRUE(small && large);
    EXPECT_EQ(small->Width(), 64);
    EXPECT_EQ(small->Height(), 64);
    EXPECT_EQ(large->Width(), 128);
    // The centre takes the first colour, the corners the last; the middle
    // of each side is where the outer ratio is reached.
    // (The pixels next to the centre lie 1.4 pixels from it, 22 of 512 steps.)
    EXPECT_TRUE(Near(ImagePixel(*small, 31, 31), {233, 22, 0, 255}, 1)) << Show(ImagePixel(*small, 31, 31));
    EXPECT_EQ(Show(ImagePixel(*small, 0, 0)), "0,0,255");
    EXPECT_EQ(Show(ImagePixel(*small, 0, 32)), "0,0,255");
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(Show(ImagePixel(*small, x, y)), Show(ImagePixel(*small, 63 - x, 63 - y))) << x << "," << y;
}

TEST(GradientCache, EntriesLookingAlikeAreShared)
{
    PVGradTexList cache;
    const PVGradient g = MakeGradient({{0, {200, 0, 0, 255}}, {255, {0, 0, 200, 255}}});
    PVGradient lowBits = g;
    lowBits.colors[0].red = 203;  // differs below the top 5 bits
    PVGradient otherRatio = g;
    otherRatio.ratios[1] = 250;
    PVGradTex* first = cache.Lookup(g, true);
    PVGradTex* alike = cache.Lookup(lowBits, true);
    PVGradTex* radial = cache.Lookup(g, false);
    PVGradTex* other = cache.Lookup(otherRatio, true);
    EXPECT_EQ(first, alike);
    EXPECT_EQ(first->RefCount(), 2);
    EXPECT_NE(first, radial);
    EXPECT_NE(first, other);
    EXPECT_EQ(cache.Count(), 3);
    for (PVGradTex* t : {first, alike, radial})
        t->Release();
    EXPECT_EQ(cache.Count(), 1);
    // An entry outliving its cache is cut loose, not left pointing at it.
    {
        PVGradTexList shortLived;
        PVGradTex* survivor = shortLived.Lookup(g, true);
        survivor->AddRef();
        survivor->Release();
        other->Release();
        EXPECT_EQ(cache.Count(), 0);
        other = survivor;
    }
    other->Release();
}

TEST(GradientTexture, LinearGradientMatchesItsRamp)
{
    GLHarness gl(300, 60);
    SwfShapeWriter shape;
    const std::vector<Entry> entries = {{0, {255, 0, 0, 255}}, {128, {0, 255, 0, 255}}, {255, {0, 0, 255, 255}}};
    // The gradient square (32768 units) over 256 pixels from x = 20.
    const int fill = shape.AddGradientFill(16, MakeMatrix(256.0 * 20 / 32768, 1, 148 * 20, 30 * 20), entries);
    ASSERT_TRUE(gl.Load(FilledWindow(shape, fill, 300, 60)));
    ASSERT_TRUE(gl.Draw());
    const auto ramp =
        BuildImage(MakeGradient({{0, {255, 0, 0, 255}}, {128, {0, 255, 0, 255}}, {255, {0, 0, 255, 255}}}), true);
    int off = 0;
    for (int x = 20; x < 276; ++x) {
        const Pixel expected = ImagePixel(*ramp, x - 20, 0);
        for (int y : {5, 30, 55})
            off += !Near(gl.At(x, y), expected, 3);
    }
    EXPECT_EQ(off, 0);
    // Beyond the square the end colours continue.
    EXPECT_TRUE(Near(gl.At(5, 30), {255, 0, 0, 255}, 0)) << Show(gl.At(5, 30));
    EXPECT_TRUE(Near(gl.At(290, 30), {0, 0, 255, 255}, 0)) << Show(gl.At(290, 30));
}

TEST(GradientTexture, RadialGradientHasItsCentreAndEdgeColours)
{
    GLHarness gl;
    SwfShapeWriter shape;
    const std::vector<Entry> entries = {{0, {255, 255, 0, 255}}, {255, {0, 0, 255, 255}}};
    // Radius 50 pixels around (100, 75).
    const double scale = 50.0 * 20 / 16384;
    const int fill = shape.AddGradientFill(18, MakeMatrix(scale, scale, 100 * 20, 75 * 20), entries);
    ASSERT_TRUE(gl.Load(FilledWindow(shape, fill, 200, 150)));
    ASSERT_TRUE(gl.Draw());
    EXPECT_TRUE(Near(gl.At(100, 75), {255, 255, 0, 255}, 16)) << Show(gl.At(100, 75));
    EXPECT_TRUE(Near(gl.At(125, 75), {128, 128, 128, 255}, 20)) << Show(gl.At(125, 75));
    // At and beyond the radius, in every direction, the outer colour.
    for (auto [x, y] : {std::pair{45, 75}, {155, 75}, {100, 22}, {100, 128}, {100, 149}, {100, 2}, {5, 5}, {195, 145}})
        EXPECT_TRUE(Near(gl.At(x, y), {0, 0, 255, 255}, 8)) << x << "," << y << ": " << Show(gl.At(x, y));
}

// A 2 x 2 checker bitmap, red and blue, each pixel drawn 10 pixels wide.
struct CheckerCase {
    uint8_t kind;
    bool clamped;
};

class CheckerBitmap : public ::testing::TestWithParam<CheckerCase> {};

TEST_P(CheckerBitmap, RepeatsOrClampsBeyondTheBitmap)
{
    GLHarness gl;
    const std::vector<uint8_t> pixels = {0, 255, 0, 0, 0, 0, 0, 255, 0, 0, 0, 255, 0, 255, 0, 0};
    SwfShapeWriter shape;
    const int fill = shape.AddBitmapFill(GetParam().kind, 7, MakeMatrix(200, 200, 20 * 20, 20 * 20));
    AddBox(shape, 20 * 20, 20 * 20, 80 * 20, 40 * 20, fill);
    SwfTimeline tags;
    tags.Tag(20, SwfLossless(7, 5, 2, 2, 0, pixels), true);
    tags.DefineShape(1, shape, 0, 4000, 0, 3000).PlaceObject(1, 1, {}).ShowFrame().End();
    ASSERT_TRUE(gl.Load(tags));
    GLCallCounter counter;
    ASSERT_TRUE(gl.Draw());
    EXPECT_EQ(counter.texImages, 1);
    const Pixel red = {255, 0, 0, 255}, blue = {0, 0, 255, 255}, white = {255, 255, 255, 255};
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 8; ++col) {
            const int x = 25 + 10 * col, y = 25 + 10 * row;
            const int c = GetParam().clamped ? std::min(col, 1) : col % 2;
            const int r = GetParam().clamped ? std::min(row, 1) : row % 2;
            const Pixel expected = (c + r) % 2 ? blue : red;
            // Pixel centres lie a twentieth of a texel off the texel
            // centres, which linear filtering blends in.
            EXPECT_TRUE(Near(gl.At(x, y), expected, 30)) << x << "," << y << ": " << Show(gl.At(x, y));
        }
    }
    // Clipped to the shape.
    EXPECT_EQ(gl.Count(0, 0, 200, 19, white), 200 * 19);
    EXPECT_EQ(gl.Count(101, 0, 200, 150, white), 99 * 150);
    // The texture is made once and then only bound.
    ASSERT_TRUE(gl.Draw());
    EXPECT_EQ(counter.texImages, 1);
}

INSTANTIATE_TEST_SUITE_P(Kinds, CheckerBitmap, ::testing::Values(CheckerCase{64, false}, CheckerCase{65, true}));

// Without the extension, clamping falls back to GL_CLAMP, whose linear
// filtering takes in the (black) border colour; with it (even as the start
// of a longer name) GL_CLAMP_TO_EDGE keeps the edge texels' colour.
TEST(BitmapTexture, EdgeClampFollowsTheExtensionString)
{
    const struct {
        const char* extensions;
        GLint wrap;
        Pixel color;  // of the 1 x 1 bitmap stretched over the box
    } cases[] = {{"GL_ARB_multitexture", GL_CLAMP, {2, 50, 8, 255}},
                 {"GL_EXT_texture_edge_clamp_x GL_WIN_other", GL_CLAMP_TO_EDGE, {10, 200, 30, 255}}};
    for (const auto& c : cases) {
        GLHarness gl;
        SwfShapeWriter shape;
        AddBox(shape, 400, 400, 1600, 800, shape.AddBitmapFill(65, 7, MakeMatrix(200, 200, 400, 400)));
        SwfTimeline tags;
        tags.Tag(20, SwfLossless(7, 5, 1, 1, 0, {0, 10, 200, 30}), true);
        tags.DefineShape(1, shape, 0, 4000, 0, 3000).PlaceObject(1, 1, {}).ShowFrame().End();
        ASSERT_TRUE(gl.Load(tags));
        ApplyGLExtensions(c.extensions);
        GLCallCounter counter;
        ASSERT_TRUE(gl.Draw());
        EXPECT_EQ(counter.wrapS, c.wrap) << c.extensions;
        EXPECT_EQ(counter.wrapT, c.wrap) << c.extensions;
        EXPECT_TRUE(Near(gl.At(50, 30), c.color, 2)) << Show(gl.At(50, 30));
    }
}

TEST(BitmapTexture, MissingCharacterPaintsWhite)
{
    GLHarness gl;
    SwfShapeWriter shape;
    AddBox(shape, 400, 400, 1600, 800, shape.AddBitmapFill(64, 99, MakeMatrix(20, 20, 0, 0)));
    SwfTimeline tags;
    tags.SetBackgroundColor(0, 0, 0);
    tags.DefineShape(1, shape, 0, 4000, 0, 3000).PlaceObject(1, 1, {}).ShowFrame().End();
    ASSERT_TRUE(gl.Load(tags));
    ASSERT_TRUE(gl.Draw());
    EXPECT_EQ(gl.Count(21, 21, 99, 59, {255, 255, 255, 255}), 78 * 38);
    EXPECT_EQ(gl.Count(0, 0, 200, 19, {0, 0, 0, 255}), 200 * 19);
}

SwfCxform Cxform(std::initializer_list<int16_t> mult, std::initializer_list<int16_t> add)
{
    SwfCxform x;
    x.hasMult = mult.size() > 0;
    x.hasAdd = add.size() > 0;
    if (x.hasMult)
        std::copy(mult.begin(), mult.end(), x.mult);
    if (x.hasAdd)
        std::copy(add.begin(), add.end(), x.add);
    return x;
}

struct CxformCase {
    const char* name;
    bool gradient;
    SwfCxform cxform;
    Pixel expected;
};

class ColourTransform : public ::testing::TestWithParam<CxformCase> {};

TEST_P(ColourTransform, AppliesMultipliersAndAdds)
{
    const CxformCase& c = GetParam();
    GLHarness gl;
    SwfShapeWriter shape;
    // A solid fill, or a gradient of one colour: the same colour either way.
    const int fill = c.gradient ? shape.AddGradientFill(16, MakeMatrix(1, 1, 2000, 1500),
                                                        {{0, {200, 0, 160, 255}}, {255, {200, 0, 160, 255}}})
                                : shape.AddSolidFill(200, 0, 160);
    ASSERT_TRUE(gl.Load(FilledWindow(shape, fill, 200, 150, c.cxform)));
    ASSERT_TRUE(gl.Draw());
    EXPECT_TRUE(Near(gl.At(100, 75), c.expected, 1)) << Show(gl.At(100, 75));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ColourTransform,
    ::testing::Values(CxformCase{"SolidMultiply", false, Cxform({128, 256, 64, 256}, {}), {100, 0, 40, 255}},
                      CxformCase{"SolidAdd", false, Cxform({128, 256, 64, 256}, {10, 100, -40, 0}), {110, 100, 0, 255}},
                      CxformCase{"GradientMultiply", true, Cxform({128, 256, 64, 256}, {}), {100, 0, 40, 255}},
                      CxformCase{"GradientAdd", true, Cxform({}, {128, 0, 0, 0}), {255, 0, 160, 255}},
                      CxformCase{"GradientAddRed", true, Cxform({128, 256, 256, 256}, {50, 0, 0, 0}), {150, 0, 160, 255}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GradientTexture, AlikeFillsShareOneTextureFreedWithTheirLastUser)
{
    GLHarness gl;
    SwfTimeline tags;
    const uint8_t reds[] = {200, 203, 200};
    const uint8_t lastRatios[] = {255, 255, 250};
    for (int i = 0; i < 3; ++i) {
        SwfShapeWriter shape;
        const int fill = shape.AddGradientFill(16, MakeMatrix(0.05, 0.05, 1000, 300 + 1000 * i),
                                               {{0, {reds[i], 0, 0, 255}}, {lastRatios[i], {0, 0, 200, 255}}});
        AddBox(shape, 200, 100 + 1000 * i, 3000, 400, fill);
        tags.DefineShape(uint16_t(1 + i), shape, 0, 4000, 0, 3000);
    }
    tags.ShowFrame().End();
    ASSERT_TRUE(gl.Load(tags));
    // Shown without place records, which would hold the shapes for as long
    // as the movie could show their frame again: the display list and the
    // dictionary are their only users here.
    for (int i = 0; i < 3; ++i) {
        PVDListObject* entry = gl.player.MainClip()->DisplayList().GetOrCreate(1 + i);
        ASSERT_NE(entry, nullptr);
        entry->SetCharacter(gl.player.Dictionary()->Get(1 + i));
        entry->dirty = true;
    }
    EXPECT_EQ(gl.player.Dictionary()->GradientTextures().Count(), 2);
    GLCallCounter counter;
    ASSERT_TRUE(gl.Draw());
    EXPECT_EQ(counter.texImages, 2);
    EXPECT_EQ(gl.drawer->LiveTextureCount(), 2);
    ASSERT_TRUE(gl.Draw());
    EXPECT_EQ(counter.texImages, 2);

    // Taking away the shape with its own texture frees that one at the
    // next frame; the shared one goes with the second of its users.
    gl.player.MainClip()->DisplayList().Remove(3);
    gl.player.Dictionary()->Remove(3);
    ASSERT_TRUE(gl.Draw());
    EXPECT_EQ(counter.deletedTextures, 1);
    EXPECT_EQ(gl.drawer->LiveTextureCount(), 1);
    gl.player.MainClip()->DisplayList().Remove(1);
    gl.player.Dictionary()->Remove(1);
    ASSERT_TRUE(gl.Draw());
    EXPECT_EQ(counter.deletedTextures, 1);
    gl.player.MainClip()->DisplayList().Remove(2);
    gl.player.Dictionary()->Remove(2);
    ASSERT_TRUE(gl.Draw());
    EXPECT_EQ(counter.deletedTextures, 2);
    EXPECT_EQ(gl.drawer->LiveTextureCount(), 0);
    EXPECT_EQ(gl.player.Dictionary()->GradientTextures().Count(), 0);
}

}  // namespace
