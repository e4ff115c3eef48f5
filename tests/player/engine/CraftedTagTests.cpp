#include <gtest/gtest.h>

#include "PlayerHarness.h"
#include "ParsedMovie.h"
#include "fixtures/AllocationProbe.h"
#include "fixtures/HangWatch.h"
#include "fixtures/SwfBitmapWriter.h"
#include "fixtures/SwfButtonWriter.h"
#include "fixtures/SwfFile.h"
#include "fixtures/SwfFontWriter.h"
#include "fixtures/SwfShapeWriter.h"
#include "fixtures/SwfTextWriter.h"
#include "fixtures/SwfTimeline.h"
#include "player/engine/PVControlRecord.h"
#include "player/engine/PVFont.h"
#include "player/engine/PVText.h"

namespace {

std::vector<SwfShapeWriter> TwoGlyphs()
{
    SwfShapeWriter square, triangle;
    square.Select(1, -1, -1).MoveTo(0, 0).Line(100, 0).Line(0, 100).Line(-100, 0).Line(0, -100);
    triangle.Select(1, -1, -1).MoveTo(50, 0).Line(50, 100).Line(-100, 0).Line(50, -100);
    return {square, triangle};
}

const PVFont* FontOf(const ParsedMovie& parsed, int id)
{
    const PVChar* c = parsed.dictionary.Get(id);
    return c && c->Type() == PVChar::kFont ? static_cast<const PVFont*>(c) : nullptr;
}

void SetU16(std::vector<uint8_t>& bytes, size_t at, uint16_t value)
{
    bytes[at] = static_cast<uint8_t>(value);
    bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

// DefineFont: id (2 bytes), then the offsets of the square (4, after the
// two-entry table) and of the triangle (4 + the square's bytes).
TEST(CraftedTag, GlyphOffsetsMustIncreaseWithoutOverlap)
{
    const size_t square = TwoGlyphs()[0].Records(1, 0).size();
    ASSERT_GT(square, 2u);
    struct Case {
        const char* name;
        uint16_t first;
        uint16_t second;
        bool read;
    } cases[] = {
        {"as written", 4, static_cast<uint16_t>(4 + square), true},
        {"same glyph twice", 4, 4, false},
        {"second inside the first", 4, static_cast<uint16_t>(4 + square - 1), false},
        {"second before the first", static_cast<uint16_t>(4 + square), 4, false},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> font = SwfDefineFont(5, TwoGlyphs());
        SetU16(font, 2, c.first);
        SetU16(font, 4, c.second);
        SwfTimeline movie;
        movie.Tag(10, font).ShowFrame().End();
        ParsedMovie parsed(SwfMakeFile({}, movie.Bytes()));
        const PVFont* read = FontOf(parsed, 5);
        EXPECT_EQ(read != nullptr, c.read) << c.name;
        if (read)
            EXPECT_EQ(read->GlyphCount(), 2) << c.name;
    }
}

// DefineFont2 offsets count from the table, which holds count + 1 entries:
// a glyph may not start inside it.
TEST(CraftedTag, GlyphInsideTheOffsetTableFails)
{
    std::vector<uint8_t> font = SwfDefineFont2(7, 0, "Sans", TwoGlyphs(), {0x41, 0x42});
    // id, flags, language, name length, "Sans", glyph count: the table next.
    const size_t table = 2 + 1 + 1 + 1 + 4 + 2;
    ParsedMovie good(SwfMakeFile({}, SwfTimeline().Tag(48, font).ShowFrame().End().Bytes()));
    ASSERT_NE(FontOf(good, 7), nullptr);
    SetU16(font, table, 2);  // the first glyph within the 6-byte table
    ParsedMovie bad(SwfMakeFile({}, SwfTimeline().Tag(48, font).ShowFrame().End().Bytes()));
    EXPECT_EQ(FontOf(bad, 7), nullptr);
}

// 30,000 offsets naming one glyph of 1,000 edges: one copy of the glyph
// at most is read before the tag fails.
TEST(CraftedTag, OffsetsNamingOneGlyphDoNotMultiplyIt)
{
    SwfShapeWriter glyph;
    glyph.Select(1, -1, -1).MoveTo(0, 0);
    for (int i = 0; i < 500; ++i)
        glyph.Line(10, 0).Line(0, 10);
    const std::vector<uint8_t> records = glyph.Records(1, 0);
    const int count = 30000;
    SwfBitWriter w;
    w.U16(5);
    for (int i = 0; i < count; ++i)
        w.U16(static_cast<uint16_t>(2 * count));
    w.Bytes(records);
    const std::vector<uint8_t> file = SwfMakeFile({}, SwfTimeline().Tag(10, w.Data()).ShowFrame().End().Bytes());
    AllocationProbe probe;
    ParsedMovie parsed(file);
    EXPECT_EQ(FontOf(parsed, 5), nullptr);
    // One glyph's edges (1,000 of some 50 bytes each) and the tables: far
    // below what 30,000 copies took (1.5 GB).
    EXPECT_LT(probe.Total(), 16ull << 20);
}

// A text whose glyph and advance fields have no width: each run byte
// claims 127 entries that take no bits. Such entries count a byte each
// against the tag's length, instead of 127 to a byte.
TEST(CraftedTag, ZeroWidthTextFieldsAreBoundedByTheTag)
{
    const int32_t rect[4] = {0, 2000, -200, 100};
    struct Case {
        int runs;
        bool read;
    } cases[] = {
        {1, false},  // 127 entries in a tag of 20 bytes
        {300000, false},
    };
    for (const Case& c : cases) {
        SwfTextWriter text;
        text.AddStyle({.font = 1, .height = 240});
        for (int i = 0; i < c.runs; ++i)
            text.AddRaw({0x7F});
        const std::vector<uint8_t> body = text.Body(9, rect, SwfMatrix(), 0, 0);
        const std::vector<uint8_t> file =
            SwfMakeFile({}, SwfTimeline().Tag(11, body).ShowFrame().End().Bytes());
        AllocationProbe probe;
        ParsedMovie parsed(file);
        EXPECT_EQ(parsed.dictionary.Get(9) != nullptr, c.read) << c.runs;
        // At most one entry (8 bytes) a byte of the tag, in an array that
        // grows step by step: far below 127 a byte (290 MB for the long
        // file).
        EXPECT_LT(probe.Total(), 64ull * file.size() + (1u << 20)) << c.runs;
    }
    // The same fields with room for their entries: five entries in a tag
    // of more than five bytes.
    SwfTextWriter text;
    text.AddStyle({.font = 1, .height = 240});
    text.AddRaw({0x05});
    const std::vector<uint8_t> body = text.Body(9, rect, SwfMatrix(), 0, 0);
    ParsedMovie parsed(SwfMakeFile({}, SwfTimeline().Tag(11, body).ShowFrame().End().Bytes()));
    const PVChar* read = parsed.dictionary.Get(9);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(static_cast<const PVText*>(read)->Glyphs().Count(), 5);
}

// A zigzag of 40,000 long edges, each crossing most scan lines, read as
// paths drawn without regard to fill sides: the repair ends well within the
// bound and takes memory in proportion to the edges.
TEST(CraftedTag, FillSideRepairOfManyLongEdgesEnds)
{
    SwfShapeWriter zigzag;
    zigzag.AddSolidFill(255, 0, 0);
    zigzag.Select(0, 1, -1).MoveTo(0, 0);
    for (int i = 0; i < 20000; ++i)
        zigzag.Line(10, 60000).Line(10, -59999);
    SwfTimeline movie;
    movie.Tag(25, {}).DefineShape(1, zigzag, 0, 400000, 0, 80000).ShowFrame().End();
    const std::vector<uint8_t> file = SwfMakeFile({}, movie.Bytes());
    AllocationProbe probe;
    {
        HangWatch watch(120000);
        ParsedMovie parsed(file);
        ASSERT_NE(parsed.dictionary.Get(1), nullptr);
    }
    EXPECT_LT(probe.Total(), 64ull << 20);
}

// Button records of the later format carry a filter list and a blend
// mode: both are read past and the button keeps its records.
TEST(CraftedTag, ButtonRecordsWithFiltersAndBlendModeAreRead)
{
    // A filter: its id, then `fields` bytes (zero) after `head`.
    auto filter = [](std::vector<uint8_t> head, size_t fields) {
        head.insert(head.end(), fields, 0);
        return head;
    };
    auto list = [](std::vector<std::vector<uint8_t>> filters) {
        std::vector<uint8_t> bytes{static_cast<uint8_t>(filters.size())};
        for (const auto& f : filters)
            bytes.insert(bytes.end(), f.begin(), f.end());
        return bytes;
    };
    struct Case {
        const char* name;
        std::vector<uint8_t> filters;
        int blend;
    } cases[] = {
        {"blend only", {}, 3},
        {"blur", list({filter({1}, 9)}), -1},
        {"drop shadow and glow", list({filter({0}, 23), filter({2}, 15)}), -1},
        {"gradient glow of 2", list({filter({4, 2}, 10 + 19)}), 1},
        {"convolution 3x3", list({filter({5, 3, 3}, 4 + 4 + 36 + 4 + 1)}), -1},
        {"colour matrix and bevel", list({filter({6}, 80), filter({3}, 27)}), 2},
    };
    for (const Case& c : cases) {
        SwfButtonWriter button;
        button.RecordWithExtras(1, 10, 1, c.filters, c.blend).Record(1, 11, 2);
        SwfTimeline t;
        t.Tag(34, button.Body2(30));
        SwfPlace place;
        place.depth = 1;
        place.id = 30;
        t.PlaceObject2(place).ShowFrame().End();
        PlayerHarness h;
        h.AddShape(10);
        h.AddShape(11);
        ASSERT_TRUE(h.Load(t, 1)) << c.name;
        h.Step();
        EXPECT_EQ(h.Trace(), "f=1 1:#30 {f=0 stop 1:#10 2:#11}") << c.name;
    }
}

}  // namespace

// A shape of 200 bitmap fills, each naming a bitmap of its own, placed 5,000
// times: each place record binds the bitmaps in force when it was read, but
// all the records together hold no more bitmaps than the file has bytes.
TEST(CraftedTag, BoundFillBitmapsStayWithinTheFile)
{
    const int bitmaps = 200, places = 5000;
    SwfTimeline movie;
    SwfShapeWriter shape;
    for (int i = 0; i < bitmaps; ++i) {
        movie.DefineCharacter(20, static_cast<uint16_t>(10 + i), PVChar::kBitmap,
                              SwfLossless(static_cast<uint16_t>(10 + i), 5, 1, 1, 0, {0xFF, 1, 2, 3}));
        shape.AddBitmapFill(0x41, static_cast<uint16_t>(10 + i), SwfMatrix{});
    }
    shape.Select(1, -1, -1).MoveTo(0, 0).Line(100, 0).Line(0, 100).Line(-100, 0).Line(0, -100);
    movie.DefineShape(1, shape, 0, 100, 0, 100);
    for (int i = 0; i < places; ++i)
        movie.PlaceObject(1, 1, SwfMatrix{});
    const std::vector<uint8_t> file = SwfMakeFile({}, movie.ShowFrame().End().Bytes());
    ParsedMovie parsed(file);
    ASSERT_NE(parsed.movie, nullptr);
    const PVMovieFrame* frame = parsed.movie->Frame(0);
    ASSERT_NE(frame, nullptr);
    int records = 0;
    size_t bound = 0;
    for (const PVControlRecord* r = frame->first; r; r = r->next) {
        if (r->kind != PVControlRecord::kPlace)
            continue;
        // The first record binds every bitmap its shape names.
        if (records++ == 0) {
            EXPECT_EQ(r->bitmaps.Count(), bitmaps);
        }
        bound += r->bitmaps.Count();
    }
    EXPECT_EQ(records, places);
    EXPECT_LE(bound, file.size());
}
