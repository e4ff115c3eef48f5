#include <gtest/gtest.h>

#include "ParsedMovie.h"
#include "ShapeDump.h"
#include "fixtures/SwfFile.h"
#include "fixtures/SwfShapeWriter.h"
#include "fixtures/SwfTimeline.h"
#include "player/engine/PVShape.h"

namespace {

// The shape a one-tag movie defines as character 1 (after an optional
// PathsArePostScript tag), as the parser prepared it.
struct ParsedShape {
    explicit ParsedShape(const SwfShapeWriter& writer, bool postScript = false)
        : parsed(File(writer, postScript))
    {
        PVChar* c = parsed.dictionary.Get(1);
        shape = c && c->Type() == PVChar::kShape ? static_cast<const PVShape*>(c) : nullptr;
    }
    static std::vector<uint8_t> File(const SwfShapeWriter& writer, bool postScript)
    {
        SwfTimeline movie;
        if (postScript)
            movie.Tag(25, {});
        movie.DefineShape(1, writer, 0, 400, 0, 400).ShowFrame().End();
        return SwfMakeFile({}, movie.Bytes());
    }
    std::string Edges() const { return shape ? DumpEdges(*shape) : "(no shape)"; }
    std::string Styles() const { return shape ? DumpStyles(*shape) : "(no shape)"; }

    ParsedMovie parsed;
    const PVShape* shape = nullptr;
};

SwfShapeWriter Square(bool clockwise, int fill0, int fill1, int tagCode = 2)
{
    SwfShapeWriter w(tagCode);
    w.AddSolidFill(255, 0, 0);
    w.AddSolidFill(0, 0, 255);
    w.AddLineStyle(20, 0, 0, 0);
    w.Select(fill0, fill1, 1).MoveTo(0, 0);
    if (clockwise)
        w.Line(200, 0).Line(0, 200).Line(-200, 0).Line(0, -200);
    else
        w.Line(0, 200).Line(200, 0).Line(0, -200).Line(-200, 0);
    return w;
}

// A square drawn clockwise on screen with fill 0 inside: every edge comes
// out pointing down (or right), the fill on the side it lies on.
const char kSquare[] =
    "L 0,0 200,0 f=1,- l=1 G\n"
    "L 200,0 200,200 f=1,- l=1\n"
    "L 0,200 200,200 f=-,1 l=1 R\n"
    "L 0,0 0,200 f=-,1 l=1 R\n";

TEST(Shape, EdgesAreOrientedDownwardWithTheirFillsSwapped)
{
    ParsedShape square(Square(true, 1, 0));
    EXPECT_EQ(square.Edges(), kSquare);
    EXPECT_EQ(square.Styles(), "fill 1 solid 255,0,0,255\nfill 2 solid 0,0,255,255\nline 1 w=20 0,0,0,255\n"
                               "bounds 0,400,0,400\n");
}

TEST(Shape, DegenerateCurvesBecomeStraightAndFlatCurvesKeepTheirReach)
{
    SwfShapeWriter w;
    w.AddLineStyle(20, 0, 0, 0);
    w.Select(-1, -1, 1).MoveTo(0, 0);
    w.Curve(100, 0, 0, 0);       // control on the end
    w.Curve(0, 0, 0, 100);       // control on the start
    w.Curve(50, 50, -50, -50);   // closed: out to the control point
    w.Curve(0, 0, 0, 0);         // nothing at all: dropped
    w.Curve(200, 0, -100, 0);    // flat, control beyond the end
    w.Curve(-100, 0, 200, 0);    // flat, control before the start
    w.Curve(50, 0, 50, 0);       // flat, control between the ends
    w.Curve(100, 0, 0, 100);     // a true curve
    EXPECT_EQ(ParsedShape(w).Edges(),
              "L 0,0 100,0 f=-,- l=1 G\n"
              "L 100,0 100,100 f=-,- l=1\n"
              "L 100,100 150,150 f=-,- l=1\n"
              "L 100,100 200,100 f=-,- l=1\n"
              "L 200,100 300,100 f=-,- l=1\n"
              "L 100,100 200,100 f=-,- l=1\n"
              "L 200,100 300,100 f=-,- l=1\n"
              "L 300,100 400,100 f=-,- l=1\n"
              "C 400,100 500,200 c=500,100 f=-,- l=1\n");
}

TEST(Shape, GroupStartPassesToWhatReplacesTheFirstEdge)
{
    SwfShapeWriter dropped;
    dropped.AddLineStyle(20, 0, 0, 0);
    dropped.Select(-1, -1, 1).MoveTo(0, 0).Line(0, 0).Line(100, 0);
    EXPECT_EQ(ParsedShape(dropped).Edges(), "L 0,0 100,0 f=-,- l=1 G\n");

    SwfShapeWriter inserted;
    inserted.AddLineStyle(20, 0, 0, 0);
    inserted.Select(-1, -1, 1).MoveTo(200, 100).Curve(-100, 0, 200, 0);
    EXPECT_EQ(ParsedShape(inserted).Edges(), "L 100,100 200,100 f=-,- l=1 G\nL 200,100 300,100 f=-,- l=1\n");
}

TEST(Shape, CoincidingEdgesOfOneGroupMergeIntoOneWithBothFills)
{
    SwfShapeWriter w;
    w.AddSolidFill(255, 0, 0);
    w.AddSolidFill(0, 0, 255);
    w.Select(1, -1, -1).MoveTo(0, 0).Line(200, 0).Line(0, 200).Line(-200, 0).Line(0, -200);
    w.Select(2, -1, -1).MoveTo(200, 0).Line(200, 0).Line(0, 200).Line(-200, 0).Line(0, -200);
    ParsedShape shape(w);
    EXPECT_EQ(shape.Edges(),
              "L 0,0 200,0 f=1,- l=- G\n"
              "L 200,0 200,200 f=1,2 l=-\n"
              "L 0,200 200,200 f=-,1 l=- R\n"
              "L 0,0 0,200 f=-,1 l=- R\n"
              "L 200,0 400,0 f=2,- l=-\n"
              "L 400,0 400,200 f=2,- l=-\n"
              "L 200,200 400,200 f=-,2 l=- R\n");
    EXPECT_EQ(shape.shape->EdgeCount(), 7);
}

TEST(Shape, NewGroupsAndNewStyleTablesKeepTheirEdgesApart)
{
    SwfShapeWriter w;
    w.AddSolidFill(255, 0, 0);
    w.Select(1, -1, -1).MoveTo(0, 0).Line(100, 0).Line(0, 100).Line(-100, 0).Line(0, -100);
    w.Select(0, 0, 0).MoveTo(0, 0);  // the writer's mark of a new group
    w.NewStyles();
    w.AddSolidFill(0, 0, 255);
    w.AddLineStyle(40, 0, 255, 0);
    w.Select(1, -1, 1).MoveTo(0, 0).Line(100, 0).Line(0, 100).Line(-100, 0).Line(0, -100);
    ParsedShape shape(w);
    EXPECT_EQ(shape.Edges(),
              "L 0,0 100,0 f=1,- l=- G\n"
              "L 100,0 100,100 f=1,- l=-\n"
              "L 0,100 100,100 f=-,1 l=- R\n"
              "L 0,0 0,100 f=-,1 l=- R\n"
              "L 0,0 100,0 f=1.1,- l=1.1 G\n"
              "L 100,0 100,100 f=1.1,- l=1.1\n"
              "L 0,100 100,100 f=-,1.1 l=1.1 R\n"
              "L 0,0 0,100 f=-,1.1 l=1.1 R\n");
    EXPECT_EQ(shape.Styles(), "fill 1 solid 255,0,0,255\nfill 1.1 solid 0,0,255,255\nline 1.1 w=40 0,255,0,255\n"
                              "bounds 0,400,0,400\n");
}

TEST(Shape, PostScriptPathsGetTheirFillSidesRepaired)
{
    // Counter-clockwise with fill 0: every side is wrong until repaired,
    // the horizontal edges by the second, turned sweep.
    EXPECT_EQ(ParsedShape(Square(false, 1, 0), false).Edges(),
              "L 0,0 0,200 f=1,- l=1 G\n"
              "L 0,200 200,200 f=1,- l=1\n"
              "L 200,0 200,200 f=-,1 l=1 R\n"
              "L 0,0 200,0 f=-,1 l=1 R\n");
    EXPECT_EQ(ParsedShape(Square(false, 1, 0), true).Edges(),
              "L 0,0 0,200 f=-,1 l=1 G\n"
              "L 0,200 200,200 f=-,1 l=1\n"
              "L 200,0 200,200 f=1,- l=1 R\n"
              "L 0,0 200,0 f=1,- l=1 R\n");
    // Right sides stay as they are.
    EXPECT_EQ(ParsedShape(Square(true, 1, 0), true).Edges(), kSquare);
    EXPECT_EQ(ParsedShape(Square(false, 0, 1), true).Edges(), ParsedShape(Square(false, 1, 0), true).Edges());
}

TEST(Shape, OnlyTheWrongEdgesOfAMixedPathAreRepaired)
{
    SwfShapeWriter w;
    w.AddSolidFill(255, 0, 0);
    w.MoveTo(0, 0);
    w.Select(0, 1, -1).Line(200, 0);  // top: wrong side
    w.Select(1, 0, -1).Line(0, 200);
    w.Select(0, 1, -1).Line(-200, 0); // bottom: right side
    w.Select(0, 1, -1).Line(0, -200); // left: wrong side
    EXPECT_EQ(ParsedShape(w, true).Edges(),
              "L 0,0 200,0 f=1,- l=- G\n"
              "L 200,0 200,200 f=1,- l=-\n"
              "L 0,200 200,200 f=-,1 l=- R\n"
              "L 0,0 0,200 f=-,1 l=- R\n");
}

TEST(Shape, CurvedPathsAreRepairedLikeTheirMirrorDrawnRightly)
{
    // Three curves drawn clockwise on screen: fill 0 is inside, fill 1 not.
    auto lens = [](int fill0, int fill1) {
        SwfShapeWriter w;
        w.AddSolidFill(255, 0, 0);
        w.Select(fill0, fill1, -1).MoveTo(0, 100);
        w.Curve(100, -100, 100, 100).Curve(0, 100, -100, 0).Curve(-100, 0, 0, -100);
        return w;
    };
    const std::string right = ParsedShape(lens(1, 0), false).Edges();
    ASSERT_NE(ParsedShape(lens(0, 1), false).Edges(), right);
    EXPECT_EQ(ParsedShape(lens(0, 1), true).Edges(), right);
    EXPECT_EQ(ParsedShape(lens(1, 0), true).Edges(), right);
}

TEST(Shape, StyleCountsOf255AndExtendedCountsAreRead)
{
    for (const auto& [tagCode, fills] : {std::pair{2, 255}, std::pair{22, 300}, std::pair{32, 255}}) {
        SwfShapeWriter w(tagCode);
        for (int i = 0; i < fills; ++i)
            w.AddSolidFill(static_cast<uint8_t>(i), 1, 2, 3);
        w.Select(fills, -1, -1).MoveTo(0, 0).Line(0, 100);
        ParsedShape shape(w);
        ASSERT_NE(shape.shape, nullptr) << tagCode;
        EXPECT_EQ(shape.shape->FillArray(0)->entries.Count(), fills);
        EXPECT_EQ(shape.Edges(), "L 0,0 0,100 f=" + std::to_string(fills) + ",- l=- G\n") << tagCode;
        // Only DefineShape3 reads alpha.
        EXPECT_EQ(shape.shape->FillArray(0)->entries[4].color.alpha, tagCode == 32 ? 3 : 255);
    }
}

TEST(Shape, GradientsKeepEightEntriesTheLastOverwritten)
{
    std::vector<SwfShapeWriter::GradientEntry> ten;
    for (int i = 0; i < 10; ++i)
        ten.push_back({static_cast<uint8_t>(20 * i), {static_cast<uint8_t>(i), 0, 0, static_cast<uint8_t>(i == 9 ? 128 : 255)}});
    SwfMatrix m;
    m.hasScale = true;
    m.scaleX = 0x8000;
    m.scaleY = 0x20000;
    m.translateX = -40;
    SwfShapeWriter w(32);
    w.AddGradientFill(0x10, m, {{0, {1, 2, 3, 255}}, {255, {4, 5, 6, 255}}});
    w.AddGradientFill(0x12, SwfMatrix{}, ten);
    w.AddBitmapFill(0x41, 7, m);
    EXPECT_EQ(ParsedShape(w).Styles(),
              "fill 1 gradient16 n=2 0:1,2,3,255 255:4,5,6,255 opaque m=0.5,2,0,0,-40,0\n"
              "fill 2 gradient18 n=8 0:0,0,0,255 20:1,0,0,255 40:2,0,0,255 60:3,0,0,255 80:4,0,0,255 "
              "100:5,0,0,255 120:6,0,0,255 180:9,0,0,128 m=1,1,0,0,0,0\n"
              "fill 3 bitmap65 id=7 m=0.5,2,0,0,-40,0\n"
              "bounds 0,400,0,400\n");
}

TEST(Shape, FillKindsNotDrawnAreSteppedOverWhole)
{
    SwfBitWriter focal;
    focal.Matrix(SwfMatrix{.translateX = 5});
    focal.U8(2);  // two entries, RGB
    focal.Bytes({0, 1, 1, 1, 255, 2, 2, 2});
    focal.U16(0x0080);  // focal point
    SwfBitWriter bitmap;
    bitmap.U16(9);
    bitmap.Matrix(SwfMatrix{.translateY = 7});
    SwfShapeWriter w(22);
    w.AddRawFill(0x13, focal.Data());
    w.AddRawFill(0x42, bitmap.Data());
    w.AddRawFill(0x43, bitmap.Data());
    w.AddSolidFill(255, 0, 0);
    w.AddRawFill(0x20, {});  // unknown: nothing follows
    w.AddSolidFill(0, 255, 0);
    w.AddLineStyle(30, 0, 0, 255);
    w.Select(4, 6, 1).MoveTo(0, 0).Line(0, 100);
    ParsedShape shape(w);
    EXPECT_EQ(shape.Styles(),
              "fill 1 solid 0,0,0,255\nfill 2 solid 0,0,0,255\nfill 3 solid 0,0,0,255\nfill 4 solid 255,0,0,255\n"
              "fill 5 solid 0,0,0,255\nfill 6 solid 0,255,0,255\nline 1 w=30 0,0,255,255\nbounds 0,400,0,400\n");
    EXPECT_EQ(shape.Edges(), "L 0,0 0,100 f=4,6 l=1 G\n");
}

TEST(Shape, PenPositionsStayWithinTheirBoundWhateverTheRecordsAdd)
{
    SwfShapeWriter w;
    w.AddLineStyle(20, 0, 0, 0);
    w.Select(-1, -1, 1).MoveTo(0x3FFFFFFF, -0x40000000);
    for (int i = 0; i < 4; ++i)
        w.Line(60000, -60000);
    w.Curve(60000, 60000, 60000, 60000);
    ParsedShape shape(w);
    ASSERT_NE(shape.shape, nullptr);
    const int32_t limit = 1 << 29;
    for (const PVShapeEdge* e = shape.shape->FirstEdge(); e; e = e->next) {
        for (int32_t v : {e->startX, e->startY, e->endX, e->endY, e->controlX, e->controlY})
            EXPECT_LE(std::abs(v), limit);
    }
    EXPECT_EQ(shape.shape->FirstEdge()->startX, limit);
    EXPECT_EQ(shape.shape->FirstEdge()->startY, -limit);
}

TEST(Shape, CutShapeFailsItsTagAndEndsTheLoop)
{
    SwfShapeWriter w;
    w.AddSolidFill(255, 0, 0);
    w.Rectangle(0, 0, 100, 100, 1);
    std::vector<uint8_t> body = w.Body(1, 0, 100, 0, 100);
    body.resize(body.size() - 3);
    SwfTimeline movie;
    movie.Tag(2, body).RemoveObject2(1).ShowFrame().End();
    ParsedMovie parsed(SwfMakeFile({}, movie.Bytes()));
    ASSERT_NE(parsed.movie, nullptr);
    EXPECT_EQ(parsed.dictionary.Get(1), nullptr);
    EXPECT_EQ(parsed.movie->Frame(0), nullptr);
}

}  // namespace
