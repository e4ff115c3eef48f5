#include <gtest/gtest.h>

#include "ParsedMovie.h"
#include "ShapeDump.h"
#include "fixtures/SwfFile.h"
#include "fixtures/SwfMorphWriter.h"
#include "fixtures/SwfShapeWriter.h"
#include "fixtures/SwfTimeline.h"
#include "player/engine/PVMorph.h"
#include "player/engine/PVShape.h"

namespace {

const int32_t kStartRect[4] = {0, 200, 0, 200};
const int32_t kEndRect[4] = {100, 400, 100, 400};

// A movie of morph 1 (and shape 2 when given), read.
struct ParsedMorph {
    explicit ParsedMorph(const SwfMorphWriter& writer, const SwfShapeWriter* shape = nullptr,
                         const int32_t* shapeRect = kStartRect)
        : parsed(File(writer, shape, shapeRect))
    {
        PVChar* c = parsed.dictionary.Get(1);
        morph = c && c->Type() == PVChar::kMorph ? static_cast<PVMorph*>(c) : nullptr;
        c = parsed.dictionary.Get(2);
        this->shape = c && c->Type() == PVChar::kShape ? static_cast<const PVShape*>(c) : nullptr;
    }
    static std::vector<uint8_t> File(const SwfMorphWriter& writer, const SwfShapeWriter* shape,
                                     const int32_t* rect)
    {
        SwfTimeline movie;
        movie.DefineCharacter(46, 1, 2, writer.Body(1, kStartRect, kEndRect));
        if (shape)
            movie.DefineShape(2, *shape, rect[0], rect[1], rect[2], rect[3]);
        movie.ShowFrame().End();
        return SwfMakeFile({}, movie.Bytes());
    }
    std::string Result() const { return DumpEdges(morph->Result()) + DumpStyles(morph->Result()); }
    std::string Shape() const { return DumpEdges(*shape) + DumpStyles(*shape); }

    ParsedMovie parsed;
    PVMorph* morph = nullptr;
    const PVShape* shape = nullptr;
};

void ClockwiseSquare(SwfShapeWriter& path, int32_t x, int32_t y, int32_t side, bool styled)
{
    if (styled)
        path.Select(1, -1, 1);
    path.MoveTo(x, y).Line(side, 0).Line(0, side).Line(-side, 0).Line(0, -side);
}

// Red square growing into a blue one, its black outline to a white one.
SwfMorphWriter GrowingSquare()
{
    SwfMorphWriter w;
    w.AddSolidFill(0xFF0000FF, 0x0000FFFF);
    w.AddLineStyle(20, 40, 0x000000FF, 0xFFFFFFFF);
    ClockwiseSquare(w.StartPath(), 0, 0, 200, true);
    ClockwiseSquare(w.EndPath(), 100, 100, 300, false);
    return w;
}

// The same as a plain shape with the given colours.
SwfShapeWriter SquareShape(int32_t x, int32_t y, int32_t side, uint32_t fill, uint16_t width, uint32_t line)
{
    SwfShapeWriter w(32);
    w.AddSolidFill(fill >> 24, fill >> 16 & 0xFF, fill >> 8 & 0xFF, fill & 0xFF);
    w.AddLineStyle(width, line >> 24, line >> 16 & 0xFF, line >> 8 & 0xFF, line & 0xFF);
    ClockwiseSquare(w, x, y, side, true);
    return w;
}

TEST(Morph, EndRatiosGiveTheHalvesExactly)
{
    const SwfShapeWriter start = SquareShape(0, 0, 200, 0xFF0000FF, 20, 0x000000FF);
    ParsedMorph atStart(GrowingSquare(), &start, kStartRect);
    ASSERT_NE(atStart.morph, nullptr);
    EXPECT_EQ(atStart.morph->Ratio(), PVMorph::kNoRatio);
    ASSERT_TRUE(atStart.morph->SetRatio(0));
    EXPECT_EQ(atStart.Result(), atStart.Shape());

    const SwfShapeWriter end = SquareShape(100, 100, 300, 0x0000FFFF, 40, 0xFFFFFFFF);
    ParsedMorph atEnd(GrowingSquare(), &end, kEndRect);
    ASSERT_TRUE(atEnd.morph->SetRatio(65535));
    EXPECT_EQ(atEnd.Result(), atEnd.Shape());
    // And back.
    ASSERT_TRUE(atEnd.morph->SetRatio(0));
    EXPECT_EQ(atEnd.Result(), atStart.Result());
}

TEST(Morph, MiddleRatioBlendsEdgesColoursWidthsAndBounds)
{
    ParsedMorph morph(GrowingSquare());
    ASSERT_TRUE(morph.morph->SetRatio(32768));
    EXPECT_EQ(morph.Result(),
              "L 50,50 300,50 f=1,- l=1 G\n"
              "L 300,50 300,300 f=1,- l=1\n"
              "L 50,300 300,300 f=-,1 l=1 R\n"
              "L 50,50 50,300 f=-,1 l=1 R\n"
              "fill 1 solid 127,0,127,255\n"
              "line 1 w=30 127,127,127,255\n"
              "bounds 50,300,50,300\n");
}

TEST(Morph, MiddleRatioIsThe32768thOf65535)
{
    // 131071 x 32768 / 65535 = 65536.5000076: a blend at exactly one half
    // would give 65535.
    SwfMorphWriter w;
    w.AddLineStyle(20, 20, 0x000000FF, 0x000000FF);
    w.StartPath().Select(0, 0, 1).MoveTo(0, 0).Line(0, 100);
    w.EndPath().MoveTo(131071, 0).Line(0, 100);
    ParsedMorph morph(w);
    ASSERT_NE(morph.morph, nullptr);
    EXPECT_FALSE(morph.morph->FillsDiffer());
    EXPECT_FALSE(morph.morph->LinesDiffer());
    EXPECT_TRUE(morph.morph->EdgesDiffer());
    ASSERT_TRUE(morph.morph->SetRatio(32768));
    EXPECT_EQ(DumpEdges(morph.morph->Result()), "L 65536,0 65536,100 f=-,- l=1 G\n");
}

TEST(Morph, GradientsAndBitmapMatricesBlendPerEntry)
{
    SwfMatrix a, b;
    a.translateX = 0;
    b.translateX = 1000;
    b.hasScale = true;
    b.scaleX = 0x30000;
    b.scaleY = 0x10000;
    SwfMorphWriter w;
    w.AddGradientFill(0x10, a, b, {{{0, {0, 0, 0, 255}}, {100, {200, 100, 50, 255}}},
                                   {{255, {255, 255, 255, 255}}, {255, {255, 255, 255, 0}}}});
    w.AddBitmapFill(0x40, 3, a, b);
    w.StartPath().Select(1, 2, 0).MoveTo(0, 0).Line(0, 100);
    w.EndPath().MoveTo(0, 0).Line(0, 100);
    ParsedMorph morph(w);
    ASSERT_NE(morph.morph, nullptr);
    EXPECT_TRUE(morph.morph->FillsDiffer());
    EXPECT_FALSE(morph.morph->EdgesDiffer());
    ASSERT_TRUE(morph.morph->SetRatio(16384));  // t = 0.2500038
    EXPECT_EQ(DumpStyles(morph.morph->Result()),
              "fill 1 gradient16 n=2 25:50,25,12,255 255:255,255,255,191 m=1.50001,1,0,0,250.004,0\n"
              "fill 2 bitmap64 id=3 m=1.50001,1,0,0,250.004,0\n"
              "bounds 0,200,0,200\n");
}

TEST(Morph, SettingTheSameRatioAgainDoesNothing)
{
    ParsedMorph morph(GrowingSquare());
    ASSERT_TRUE(morph.morph->SetRatio(32768));
    PVFillStyle& fill = morph.morph->Result().FillArray(0)->entries[0];
    fill.color.green = 99;  // marks the result
    ASSERT_TRUE(morph.morph->SetRatio(32768));
    EXPECT_EQ(fill.color.green, 99);
    ASSERT_TRUE(morph.morph->SetRatio(32769));
    EXPECT_EQ(fill.color.green, 0);
}

TEST(Morph, FillSidesSurviveOneBlendAfterAnother)
{
    // Preparation turns edges around and swaps their fills; the next blend
    // must start from the halves' sides again.
    ParsedMorph stepped(GrowingSquare());
    ParsedMorph direct(GrowingSquare());
    for (int ratio : {1000, 40000, 2000})
        ASSERT_TRUE(stepped.morph->SetRatio(ratio));
    ASSERT_TRUE(direct.morph->SetRatio(2000));
    EXPECT_EQ(stepped.Result(), direct.Result());
}

TEST(Morph, EqualHalvesDrawTheStartAtEveryRatio)
{
    SwfMorphWriter w;
    w.AddSolidFill(0x102030FF, 0x102030FF);
    w.AddLineStyle(20, 20, 0x000000FF, 0x000000FF);
    ClockwiseSquare(w.StartPath(), 0, 0, 200, true);
    ClockwiseSquare(w.EndPath(), 0, 0, 200, false);
    const SwfShapeWriter square = SquareShape(0, 0, 200, 0x102030FF, 20, 0x000000FF);
    ParsedMorph morph(w, &square, kStartRect);
    ASSERT_NE(morph.morph, nullptr);
    EXPECT_FALSE(morph.morph->FillsDiffer() || morph.morph->LinesDiffer() || morph.morph->EdgesDiffer());
    for (int ratio : {1, 30000, 65535, 0, 7}) {
        ASSERT_TRUE(morph.morph->SetRatio(ratio));
        EXPECT_EQ(morph.Result(), morph.Shape()) << ratio;
    }
}

TEST(Morph, StartShapeHasItsFillSidesRepaired)
{
    // Drawn counter-clockwise with fill 0: the wrong side.
    SwfMorphWriter w;
    w.AddSolidFill(0xFF0000FF, 0xFF0000FF);
    w.StartPath().Select(1, 0, 0).MoveTo(0, 0).Line(0, 200).Line(200, 0).Line(0, -200).Line(-200, 0);
    w.EndPath().MoveTo(0, 0).Line(0, 300).Line(300, 0).Line(0, -300).Line(-300, 0);
    ParsedMorph morph(w);
    ASSERT_NE(morph.morph, nullptr);
    ASSERT_TRUE(morph.morph->SetRatio(65535));
    EXPECT_EQ(DumpEdges(morph.morph->Result()),
              "L 0,0 0,300 f=-,1 l=- G\n"
              "L 0,300 300,300 f=-,1 l=-\n"
              "L 300,0 300,300 f=1,- l=- R\n"
              "L 0,0 300,0 f=1,- l=- R\n");
}

TEST(Morph, HalvesOfDifferentEdgeCountsAreRefusedAndEndTheLoop)
{
    SwfMorphWriter w;
    w.AddSolidFill(0xFF0000FF, 0x0000FFFF);
    w.StartPath().Select(1, 0, 0).MoveTo(0, 0);
    w.EndPath().MoveTo(0, 0);
    for (int i = 0; i < 10; ++i) {
        w.StartPath().Line(10, 10);
        w.EndPath().Line(20, 10);
    }
    w.EndPath().Line(0, 10);
    SwfTimeline movie;
    movie.DefineCharacter(46, 1, 2, w.Body(1, kStartRect, kEndRect)).RemoveObject2(1).ShowFrame().End();
    ParsedMovie parsed(SwfMakeFile({}, movie.Bytes()));
    ASSERT_NE(parsed.movie, nullptr);
    EXPECT_EQ(parsed.dictionary.Get(1), nullptr);
    EXPECT_EQ(parsed.movie->Frame(0), nullptr);
}

TEST(Morph, DisplayListSeesTheBlendThroughTheCharacter)
{
    ParsedMorph morph(GrowingSquare());
    PVChar& character = *morph.morph;
    ASSERT_TRUE(character.SetDisplayRatio(65535));
    const PVBounds bounds = character.DisplayBounds();
    EXPECT_EQ(bounds.xmin, 100);
    EXPECT_EQ(bounds.xmax, 400);
    EXPECT_FALSE(bounds.empty);
}

}  // namespace
