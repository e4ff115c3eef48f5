#include <gtest/gtest.h>

#include <random>

#include "JpegEncoder.h"
#include "ParsedMovie.h"
#include "fixtures/SwfBitmapWriter.h"
#include "fixtures/SwfFile.h"
#include "fixtures/SwfFontWriter.h"
#include "fixtures/SwfMorphWriter.h"
#include "fixtures/SwfShapeWriter.h"
#include "fixtures/SwfTextWriter.h"
#include "fixtures/SwfTimeline.h"
#include "player/engine/PVMorph.h"

namespace {

// One of every character tag of shapes, morphs, fonts, text and bitmaps,
// in a movie whose paths need their fill sides repaired.
std::vector<uint8_t> CharacterMovie()
{
    SwfShapeWriter shape(32);
    shape.AddSolidFill(255, 0, 0, 200);
    shape.AddGradientFill(0x12, SwfMatrix{.translateX = 50}, {{0, {0, 0, 0, 255}}, {255, {9, 9, 9, 9}}});
    shape.AddLineStyle(20, 1, 2, 3, 4);
    shape.Select(1, 2, 1).MoveTo(10, 10).Line(300, 0).Curve(100, 100, -100, 100).Line(-300, 0).Line(0, -200);
    shape.Select(0, 0, 0).MoveTo(0, 0);
    shape.NewStyles();
    shape.AddBitmapFill(0x40, 4, SwfMatrix{});
    shape.Select(1, -1, -1).MoveTo(50, 50).Curve(40, 0, 0, 40).Curve(-40, 0, 0, -40);

    SwfMorphWriter morph;
    morph.AddSolidFill(0xFF0000FF, 0x00FF0080);
    morph.AddLineStyle(10, 30, 0x000000FF, 0xFFFFFFFF);
    morph.StartPath().Select(1, 0, 1).MoveTo(0, 0).Line(100, 0).Curve(50, 50, -50, 50).Line(-100, 0).Line(0, -100);
    morph.EndPath().MoveTo(20, 20).Line(200, 0).Curve(10, 90, -10, 90).Line(-200, 0).Line(0, -180);

    SwfShapeWriter glyph;
    glyph.Select(1, -1, -1).MoveTo(0, 0).Line(100, 0).Curve(50, 50, -50, 50).Line(-100, 0).Line(0, -100);
    SwfTextWriter text(33);
    text.AddStyle({.font = 5, .height = 240, .color = 0x102030FF, .x = 3}).AddRun({{0, 100}, {1, 50}});
    text.AddStyle({.y = 40}).AddRun({{1, -20}});

    std::vector<uint8_t> pixels;
    for (int i = 0; i < 16 * 8 * 3; ++i)
        pixels.push_back(uint8_t(i * 5));
    const JpegParts parts = EncodeAbbreviatedJpeg(16, 8, 3, pixels);
    const std::vector<uint8_t> jpeg = EncodeJpeg(16, 8, 3, pixels);
    std::vector<uint8_t> lossless;
    for (int i = 0; i < 3 * 4 + 8 * 6; ++i)
        lossless.push_back(uint8_t(i * 11));
    const int32_t rect[4] = {0, 500, 0, 500};

    SwfTimeline movie;
    movie.Tag(25, {});
    movie.DefineShape(1, shape, 0, 500, 0, 500);
    movie.DefineCharacter(46, 2, 2, morph.Body(2, rect, rect));
    movie.DefineCharacter(10, 5, 4, SwfDefineFont(5, {glyph, glyph}));
    movie.Tag(62, SwfDefineFontInfo(5, 2, "F", 0x01, {0x41, 0x42}));
    movie.DefineCharacter(48, 6, 4, SwfDefineFont2(6, 0x0C, "G", {glyph}, {0x43}));
    movie.DefineCharacter(33, 7, 5, text.Body(7, rect, SwfMatrix{}, 2, 8));
    movie.Tag(8, parts.tables);
    movie.DefineCharacter(6, 8, 3, SwfIdAndBytes(8, parts.image));
    movie.DefineCharacter(21, 9, 3, SwfIdAndBytes(9, jpeg));
    movie.DefineCharacter(35, 10, 3, SwfJpeg3(10, jpeg, SwfDeflate(std::vector<uint8_t>(128, 7))));
    movie.DefineCharacter(36, 11, 3, SwfLossless(11, 3, 5, 6, 3, lossless));
    movie.PlaceObject2({.depth = 1, .id = 2, .ratio = 1000});
    movie.ShowFrame().End();
    return SwfMakeFile({}, movie.Bytes());
}

// Blends every morph the movie kept, as placing it would.
void BlendMorphs(ParsedMovie& parsed)
{
    for (int id = 0; id < parsed.dictionary.SlotCount(); ++id) {
        PVChar* c = parsed.dictionary.Get(id);
        if (c && c->Type() == PVChar::kMorph) {
            for (int ratio : {0, 30000, 65535, 12})
                static_cast<PVMorph*>(c)->SetRatio(ratio);
        }
    }
}

TEST(CharacterHostile, WholeMovieReadsEveryCharacter)
{
    ParsedMovie parsed(CharacterMovie());
    ASSERT_NE(parsed.movie, nullptr);
    const int types[] = {0, 1, 2, 0, 0, 4, 4, 5, 3, 3, 3, 3};
    for (int id = 1; id <= 11; ++id) {
        const PVChar* c = parsed.dictionary.Get(id);
        if (types[id] == 0)
            EXPECT_EQ(c, nullptr) << id;
        else
            EXPECT_TRUE(c && c->Type() == types[id]) << id;
    }
    ASSERT_NE(parsed.movie->Frame(0), nullptr);
    BlendMorphs(parsed);
}

TEST(CharacterHostile, CutAtEveryByteParsesCleanly)
{
    const std::vector<uint8_t> file = CharacterMovie();
    const size_t tags = SwfTagsOffset({});
    for (size_t length = tags; length < file.size(); ++length) {
        std::vector<uint8_t> cut(file.begin(), file.begin() + length);
        for (int i = 0; i < 4; ++i)
            cut[4 + i] = static_cast<uint8_t>(length >> (8 * i));
        ParsedMovie parsed(cut);
        EXPECT_NE(parsed.movie, nullptr) << length;
        BlendMorphs(parsed);
    }
}

TEST(CharacterHostile, RandomlyDamagedCharactersParseCleanly)
{
    const std::vector<uint8_t> file = CharacterMovie();
    const size_t tags = SwfTagsOffset({});
    std::mt19937 random(977);
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> damaged = file;
        const int hits = 1 + static_cast<int>(random() % 6);
        for (int i = 0; i < hits; ++i)
            damaged[tags + random() % (file.size() - tags)] = static_cast<uint8_t>(random());
        ParsedMovie parsed(damaged);
        EXPECT_NE(parsed.movie, nullptr);
        BlendMorphs(parsed);
    }
}

}  // namespace
