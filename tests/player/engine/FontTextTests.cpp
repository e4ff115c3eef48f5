#include <gtest/gtest.h>

#include "ParsedMovie.h"
#include "ShapeDump.h"
#include "fixtures/SwfFile.h"
#include "fixtures/SwfFontWriter.h"
#include "fixtures/SwfShapeWriter.h"
#include "fixtures/SwfTextWriter.h"
#include "fixtures/SwfTimeline.h"
#include "player/engine/PVFont.h"
#include "player/engine/PVFontInfo.h"
#include "player/engine/PVShape.h"
#include "player/engine/PVText.h"

namespace {

const char kSquareGlyph[] =
    "L 0,0 100,0 f=1,- l=- G\n"
    "L 100,0 100,100 f=1,- l=-\n"
    "L 0,100 100,100 f=-,1 l=- R\n"
    "L 0,0 0,100 f=-,1 l=- R\n"
    "fill 1 solid 0,0,0,255\n"
    "bounds 0,0,0,0 empty\n";
const char kTriangleGlyph[] =
    "L 50,0 100,100 f=1,- l=- G\n"
    "L 0,100 100,100 f=-,1 l=- R\n"
    "L 50,0 0,100 f=-,1 l=- R\n"
    "fill 1 solid 0,0,0,255\n"
    "bounds 0,0,0,0 empty\n";

std::vector<SwfShapeWriter> Glyphs()
{
    SwfShapeWriter square, triangle;
    square.Select(1, -1, -1).MoveTo(0, 0).Line(100, 0).Line(0, 100).Line(-100, 0).Line(0, -100);
    triangle.Select(1, -1, -1).MoveTo(50, 0).Line(50, 100).Line(-100, 0).Line(50, -100);
    return {square, triangle};
}

std::string GlyphDump(const PVFont& font, int index)
{
    const PVShape* glyph = font.Glyph(index);
    return glyph ? DumpEdges(*glyph) + DumpStyles(*glyph) : "(none)";
}

const PVFont* FontOf(const ParsedMovie& parsed, int id)
{
    const PVChar* c = parsed.dictionary.Get(id);
    return c && c->Type() == PVChar::kFont ? static_cast<const PVFont*>(c) : nullptr;
}

std::vector<uint8_t> File(const SwfTimeline& movie)
{
    return SwfMakeFile({}, movie.Bytes());
}

TEST(FontText, DefineFontGlyphsAreReadAsPreparedShapes)
{
    SwfTimeline movie;
    movie.DefineCharacter(10, 5, 4, SwfDefineFont(5, Glyphs())).ShowFrame().End();
    ParsedMovie parsed(File(movie));
    const PVFont* font = FontOf(parsed, 5);
    ASSERT_NE(font, nullptr);
    ASSERT_EQ(font->GlyphCount(), 2);
    EXPECT_EQ(GlyphDump(*font, 0), kSquareGlyph);
    EXPECT_EQ(GlyphDump(*font, 1), kTriangleGlyph);
    EXPECT_EQ(font->Glyph(0)->Id(), 0);
    EXPECT_EQ(font->Info(), nullptr);
    // Text names glyphs by unchecked indexes.
    EXPECT_EQ(font->Glyph(2), nullptr);
    EXPECT_EQ(font->Glyph(-1), nullptr);
}

TEST(FontText, FirstOffsetGivesTheGlyphCount)
{
    SwfTimeline movie;
    movie.DefineCharacter(10, 5, 4, SwfDefineFont(5, {Glyphs()[1]}));  // first offset 2
    movie.DefineCharacter(10, 6, 4, {6, 0, 0, 0});                      // first offset 0
    movie.ShowFrame().End();
    ParsedMovie parsed(File(movie));
    ASSERT_NE(FontOf(parsed, 5), nullptr);
    ASSERT_EQ(FontOf(parsed, 5)->GlyphCount(), 1);
    EXPECT_EQ(GlyphDump(*FontOf(parsed, 5), 0), kTriangleGlyph);
    ASSERT_NE(FontOf(parsed, 6), nullptr);
    EXPECT_EQ(FontOf(parsed, 6)->GlyphCount(), 0);
}

TEST(FontText, FontInfoReadsOneCodePerGlyphNarrowOrWide)
{
    struct Case {
        int version;
        uint8_t flags;
        std::vector<uint16_t> codes;
    };
    for (const Case& c : {Case{1, 0x01 | 0x02 | 0x20, {0x41, 0x2603}}, Case{1, 0x04 | 0x08 | 0x10, {0x61, 0xE9}},
                          Case{2, 0x01, {0x3042, 0x3044}}}) {
        SwfTimeline movie;
        movie.DefineCharacter(10, 5, 4, SwfDefineFont(5, Glyphs()));
        movie.Tag(c.version == 1 ? 13 : 62, SwfDefineFontInfo(5, c.version, "Arial", c.flags, c.codes));
        movie.RemoveObject2(1).ShowFrame().End();
        ParsedMovie parsed(File(movie));
        ASSERT_NE(parsed.movie->Frame(0), nullptr) << "the tag loop went on";
        const PVFontInfo* info = FontOf(parsed, 5)->Info();
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(std::string(info->name.Data(), info->name.Length()), "Arial");
        EXPECT_EQ(info->wideCodes, c.flags & 0x01);
        EXPECT_EQ(info->bold, (c.flags >> 1) & 1);
        EXPECT_EQ(info->italic, (c.flags >> 2) & 1);
        EXPECT_EQ(info->ansi, (c.flags >> 3) & 1);
        EXPECT_EQ(info->shiftJIS, (c.flags >> 4) & 1);
        EXPECT_EQ(info->smallText, (c.flags >> 5) & 1);
        ASSERT_EQ(info->codes.Count(), 2);
        EXPECT_EQ(info->codes[0], c.codes[0]);
        EXPECT_EQ(info->codes[1], c.codes[1]);
    }
}

TEST(FontText, FontInfoForNoFontFailsAndEndsTheLoop)
{
    SwfShapeWriter shape;
    shape.AddSolidFill(1, 2, 3);
    shape.Rectangle(0, 0, 10, 10, 1);
    for (bool shapeThere : {false, true}) {
        SwfTimeline movie;
        if (shapeThere)
            movie.DefineShape(5, shape, 0, 10, 0, 10);
        movie.Tag(13, SwfDefineFontInfo(5, 1, "Arial", 0, {0x41}));
        movie.RemoveObject2(1).ShowFrame().End();
        ParsedMovie parsed(File(movie));
        EXPECT_EQ(parsed.movie->Frame(0), nullptr) << shapeThere;
    }
}

TEST(FontText, DefineFont2CarriesFlagsNameGlyphsAndCodes)
{
    for (uint8_t flags : {uint8_t(0x40 | 0x20 | 0x10 | 0x04 | 0x02 | 0x01), uint8_t(0x08), uint8_t(0x08 | 0x04)}) {
        SwfTimeline movie;
        movie.DefineCharacter(48, 7, 4, SwfDefineFont2(7, flags, "Sans", Glyphs(), {0x3042, 0x41}));
        movie.ShowFrame().End();
        ParsedMovie parsed(File(movie));
        const PVFont* font = FontOf(parsed, 7);
        ASSERT_NE(font, nullptr) << int(flags);
        ASSERT_EQ(font->GlyphCount(), 2);
        EXPECT_EQ(GlyphDump(*font, 0), kSquareGlyph);
        EXPECT_EQ(GlyphDump(*font, 1), kTriangleGlyph);
        const PVFontInfo* info = font->Info();
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(std::string(info->name.Data(), info->name.Length()), "Sans");
        EXPECT_EQ(info->shiftJIS, (flags >> 6) & 1);
        EXPECT_EQ(info->smallText, (flags >> 5) & 1);
        EXPECT_EQ(info->ansi, (flags >> 4) & 1);
        EXPECT_EQ(info->wideCodes, (flags >> 2) & 1);
        EXPECT_EQ(info->italic, (flags >> 1) & 1);
        EXPECT_EQ(info->bold, flags & 1);
        ASSERT_EQ(info->codes.Count(), 2);
        EXPECT_EQ(info->codes[0], info->wideCodes ? 0x3042 : 0x42);
        EXPECT_EQ(info->codes[1], 0x41);
    }
    // A font of device glyphs only.
    SwfTimeline empty;
    empty.DefineCharacter(48, 8, 4, {8, 0, 0, 0, 3, 'A', 'b', 'c', 0, 0}).ShowFrame().End();
    ParsedMovie parsed(File(empty));
    ASSERT_NE(FontOf(parsed, 8), nullptr);
    EXPECT_EQ(FontOf(parsed, 8)->GlyphCount(), 0);
}

TEST(FontText, GlyphOffsetsOutsideTheTagFail)
{
    std::vector<uint8_t> font = SwfDefineFont(5, Glyphs());
    font[4] = 0xF0;  // second glyph's offset, far past the tag
    SwfTimeline movie;
    movie.Tag(10, font).RemoveObject2(1).ShowFrame().End();
    ParsedMovie parsed(File(movie));
    EXPECT_EQ(parsed.dictionary.Get(5), nullptr);
    EXPECT_EQ(parsed.movie->Frame(0), nullptr);
}

const int32_t kTextRect[4] = {0, 2000, -200, 100};

TEST(FontText, TextRecordsCarryStylesOverAndHoldGlyphsAndAdvances)
{
    for (int code : {11, 33}) {
        SwfTextWriter text(code);
        text.AddStyle({.font = 5, .height = 240, .color = 0xFF000080, .x = 10, .y = -20});
        text.AddRun({{0, 100}, {1, 120}});
        text.AddStyle({.color = 0x00FF00FF});
        text.AddRun({{1, -50}});
        text.AddRun({{0, 1}, {0, 2}, {1, 3}, {1, 4}, {0, 255}});
        SwfTimeline movie;
        movie.DefineCharacter(10, 5, 4, SwfDefineFont(5, Glyphs()));
        SwfMatrix m;
        m.translateX = 300;
        movie.DefineCharacter(code, 6, 5, text.Body(6, kTextRect, m, 1, 9)).ShowFrame().End();
        ParsedMovie parsed(File(movie));
        const PVChar* c = parsed.dictionary.Get(6);
        ASSERT_NE(c, nullptr);
        ASSERT_EQ(c->Type(), PVChar::kText);
        const auto& t = *static_cast<const PVText*>(c);
        EXPECT_EQ(t.Matrix().translateX, 300);
        EXPECT_EQ(t.DisplayBounds().ymin, -200);
        EXPECT_FALSE(t.DisplayBounds().empty);

        ASSERT_EQ(t.Styles().Count(), 2);
        const PVTextRecord1& first = t.Styles()[0];
        EXPECT_EQ(first.style, (5u << 16) | 0x8F);
        EXPECT_EQ(first.color.red, 255);
        EXPECT_EQ(first.color.alpha, code == 33 ? 0x80 : 255);
        EXPECT_EQ(first.XOffset(), 10);
        EXPECT_EQ(first.YOffset(), -20);
        EXPECT_EQ(first.height, 240u);
        EXPECT_EQ(first.runCount, 1u);
        EXPECT_EQ(first.firstRun, 0u);
        const PVTextRecord1& second = t.Styles()[1];
        EXPECT_EQ(second.style, (5u << 16) | 0x84);  // the font carries over
        EXPECT_EQ(second.color.green, 255);
        EXPECT_EQ(second.color.red, 0);
        EXPECT_EQ(second.XOffset(), 10);
        EXPECT_EQ(second.YOffset(), -20);
        EXPECT_EQ(second.height, 240u);
        EXPECT_EQ(second.runCount, 2u);
        EXPECT_EQ(second.firstRun, 1u);

        ASSERT_EQ(t.Runs().Count(), 3);
        EXPECT_EQ(t.Runs()[0].glyphCount, 2u);
        EXPECT_EQ(t.Runs()[1].firstGlyph, 2u);
        EXPECT_EQ(t.Runs()[2].glyphCount, 5u);
        EXPECT_EQ(t.Runs()[2].firstGlyph, 3u);
        const std::pair<int, int> glyphs[] = {{0, 100}, {1, 120}, {1, -50}, {0, 1}, {0, 2}, {1, 3}, {1, 4}, {0, 255}};
        ASSERT_EQ(t.Glyphs().Count(), 8);
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(t.Glyphs()[i].index, glyphs[i].first) << i;
            EXPECT_EQ(t.Glyphs()[i].advance, glyphs[i].second) << i;
        }
        // Fonts are looked up, and checked, when the text is drawn.
        EXPECT_EQ(PVText::FontOf(parsed.dictionary, first), FontOf(parsed, 5));
        PVTextRecord1 other = first;
        other.style = 6u << 16;  // the text itself
        EXPECT_EQ(PVText::FontOf(parsed.dictionary, other), nullptr);
        other.style = 99u << 16;
        EXPECT_EQ(PVText::FontOf(parsed.dictionary, other), nullptr);
    }
}

TEST(FontText, BadTextRecordsFailTheTag)
{
    struct Case {
        const char* name;
        SwfTextWriter text;
        int glyphBits;
    };
    SwfTextWriter runFirst;
    runFirst.AddRun({{0, 10}});
    SwfTextWriter unended;
    unended.AddStyle({.font = 5, .height = 10}).AddRaw({0x03, 0xFF});  // three glyphs, one byte of them
    SwfTextWriter wide;
    wide.AddStyle({.font = 5, .height = 10}).AddRun({{0, 10}});
    for (const Case& c : {Case{"run before style", runFirst, 1}, Case{"cut run", unended, 8},
                          Case{"glyph bits past 32", wide, 40}}) {
        std::vector<uint8_t> body = c.text.Body(6, kTextRect, SwfMatrix{}, c.glyphBits, 8);
        if (std::string(c.name) == "cut run")
            body.pop_back();  // no end byte either
        SwfTimeline movie;
        movie.Tag(11, body).RemoveObject2(1).ShowFrame().End();
        ParsedMovie parsed(File(movie));
        EXPECT_EQ(parsed.dictionary.Get(6), nullptr) << c.name;
        EXPECT_EQ(parsed.movie->Frame(0), nullptr) << c.name;
    }
}

}  // namespace
