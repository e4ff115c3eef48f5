#include <gtest/gtest.h>

#include "ParsedMovie.h"
#include "fixtures/SwfActionWriter.h"
#include "fixtures/SwfFile.h"
#include "fixtures/SwfShapeWriter.h"
#include "fixtures/SwfTimeline.h"
#include "player/engine/PVSprite.h"

namespace {

SwfMatrix Translate(int32_t x, int32_t y)
{
    SwfMatrix m;
    m.translateX = x;
    m.translateY = y;
    return m;
}

// A movie that uses every timeline tag the parser keeps, a sprite with its
// own frames, labels and actions, and tags it must skip by their length.
SwfTimeline RichMovie()
{
    SwfTimeline sprite;
    sprite.FrameLabel("spin").PlaceObject2({.depth = 1, .id = 1, .matrix = Translate(-40, 60)});
    sprite.DoAction(SwfActionWriter().Plain(0x06)).ShowFrame();
    SwfPlace move{.depth = 1, .move = true, .ratio = 300};
    SwfMatrix rotate;
    rotate.hasRotate = true;
    rotate.rotateSkew0 = 0x8000;
    rotate.rotateSkew1 = -0x8000;
    move.matrix = rotate;
    sprite.PlaceObject2(move).DoAction(SwfActionWriter().GotoFrame(0)).ShowFrame().End();

    SwfShapeWriter square;
    square.Rectangle(0, 0, 200, 200, square.AddSolidFill(255, 0, 0));

    SwfMatrix scaled = Translate(1000, -2000);
    scaled.hasScale = true;
    scaled.scaleX = 0x18000;
    scaled.scaleY = -0x4000;
    SwfCxform tint;
    tint.hasMult = true;
    tint.mult[0] = 128;
    tint.mult[1] = -256;
    tint.mult[2] = 0;
    tint.mult[3] = 200;
    tint.hasAdd = true;
    tint.add[0] = -255;
    tint.add[3] = 100;

    SwfTimeline movie;
    movie.SetBackgroundColor(10, 20, 30);
    movie.DefineShape(1, square, 0, 200, 0, 200);
    movie.DefineSprite(2, 2, sprite).NameCharacter(2, "spinner").NameCharacter(77, "nobody");
    movie.FrameLabel("intro");
    movie.PlaceObject(1, 1, scaled, tint);
    movie.PlaceObject2({.depth = 2, .id = 2, .cxform = tint, .name = "clip", .clipDepth = 5});
    movie.Tag(24, {1, 2, 3});           // skipped code
    movie.Tag(200, {9, 9, 9, 9}, true); // unknown code, long header
    movie.Tag(41, {1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    movie.DoAction(SwfActionWriter().Plain(0x07).GotoLabel("end"));
    movie.ShowFrame();
    movie.RemoveObject(1, 1).RemoveObject2(2).PlaceObject(1, 3, Translate(5, 5));
    movie.Tag(56, {1, 0, 2, 0, 'x', 0});  // ExportAssets
    movie.ShowFrame();
    movie.FrameLabel("end").DoAction(SwfActionWriter().Plain(0x07)).ShowFrame().End();
    return movie;
}

TEST(TagLoop, ParseMatchesTheWritersManifestStoredAndDeflated)
{
    const SwfTimeline movie = RichMovie();
    SwfHeader header;
    header.frameCount = 3;
    const std::vector<uint8_t> stored = SwfMakeFile(header, movie.Bytes());
    const std::vector<uint8_t> deflated = SwfDeflateFile(stored);
    ASSERT_NE(stored, deflated);

    for (const auto* file : {&stored, &deflated}) {
        for (int chunk : {1 << 30, 7}) {
            ParsedMovie parsed(*file, chunk);
            ASSERT_NE(parsed.movie, nullptr);
            EXPECT_EQ(parsed.parser.IsCompressed(), file == &deflated);
            EXPECT_EQ(parsed.Dump(), movie.Manifest(3));
        }
    }
}

TEST(TagLoop, SpriteIsAddedWithItsOwnTimeline)
{
    ParsedMovie parsed(SwfMakeFile({.frameCount = 3}, RichMovie().Bytes()));
    ASSERT_NE(parsed.movie, nullptr);
    auto* sprite = static_cast<PVSprite*>(parsed.dictionary.Get(2));
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->Type(), PVChar::kSprite);
    // The dictionary's reference and that of the main timeline's one place
    // record, bound to the sprite when its frame was read.
    EXPECT_EQ(sprite->RefCount(), 2);
    EXPECT_EQ(sprite->Movie()->FrameCount(), 2);
    EXPECT_EQ(parsed.dictionary.BackgroundColor().blue, 30);
}

TEST(TagLoop, HandlerThatReadsLessContinuesAtTheTagEnd)
{
    // RemoveObject2 reads 2 bytes of its 6; the bytes left look like tags.
    SwfTimeline movie;
    movie.Tag(28, {4, 0, 0x40, 0x00, 0x00, 0x00});
    movie.RemoveObject2(9).ShowFrame().End();
    ParsedMovie parsed(SwfMakeFile({}, movie.Bytes()));
    ASSERT_NE(parsed.movie, nullptr);
    EXPECT_EQ(DumpMovie(*parsed.movie, 0),
              "movie frames=1\n frame 0 label=\"\"\n  removedepth depth=4\n  removedepth depth=9\n");
}

TEST(TagLoop, StopsAfterTheShowFrameThatPassesTheHeaderCount)
{
    SwfTimeline movie;
    movie.RemoveObject2(1).ShowFrame().RemoveObject2(2).ShowFrame().ShowFrame().RemoveObject2(3).ShowFrame().End();
    ParsedMovie parsed(SwfMakeFile({.frameCount = 1}, movie.Bytes()));
    ASSERT_NE(parsed.movie, nullptr);
    // Frame 1's record grows the count to 2; the empty frame 2 ends the loop.
    EXPECT_EQ(DumpMovie(*parsed.movie, 0), "movie frames=2\n frame 0 label=\"\"\n  removedepth depth=1\n"
                                           " frame 1 label=\"\"\n  removedepth depth=2\n");
}

TEST(TagLoop, PlaceObjectEndingAfterItsMatrixKeepsTheIdentityCxform)
{
    SwfTimeline movie;
    movie.PlaceObject(3, 4, Translate(100, 200)).ShowFrame().End();
    ParsedMovie parsed(SwfMakeFile({}, movie.Bytes()));
    ASSERT_NE(parsed.movie, nullptr);
    const PVControlRecord* place = parsed.movie->Frame(0)->first;
    ASSERT_NE(place, nullptr);
    EXPECT_EQ(place->cxform.multRed, 256);
    EXPECT_EQ(place->cxform.addAlpha, 0);
    EXPECT_EQ(place->matrix.translateY, 200.0f);
    EXPECT_EQ(parsed.Dump(), movie.Manifest(1));
}

TEST(TagLoop, FreeCharacterAndFreeAllEmptyTheDictionary)
{
    SwfTimeline empty;
    empty.ShowFrame().End();
    SwfTimeline movie;
    movie.DefineSprite(0, 1, empty).DefineSprite(1, 1, empty).DefineSprite(2, 1, empty).DefineSprite(3, 1, empty).FreeCharacter(2);
    movie.Tag(3, {99, 0});  // an id that is not there changes nothing
    movie.Tag(3, {1});      // nor does a tag too short for its id
    movie.ShowFrame();
    ParsedMovie kept(SwfMakeFile({}, SwfTimeline(movie).End().Bytes()));
    ASSERT_NE(kept.movie, nullptr);
    EXPECT_EQ(kept.Dump(), SwfTimeline(movie).End().Manifest(1));
    EXPECT_NE(kept.dictionary.Get(0), nullptr);
    EXPECT_NE(kept.dictionary.Get(1), nullptr);
    EXPECT_EQ(kept.dictionary.Get(2), nullptr);

    movie.FreeAll().End();
    ParsedMovie freed(SwfMakeFile({}, movie.Bytes()));
    ASSERT_NE(freed.movie, nullptr);
    EXPECT_EQ(freed.dictionary.Get(1), nullptr);
    EXPECT_EQ(freed.dictionary.Get(3), nullptr);
    EXPECT_EQ(freed.Dump(), movie.Manifest(1));
}

TEST(TagLoop, RecordsAfterTheLastCountedFrameGrowTheCount)
{
    SwfTimeline movie;
    movie.ShowFrame().FrameLabel("tail").RemoveObject2(7).End();
    ParsedMovie parsed(SwfMakeFile({.frameCount = 1}, movie.Bytes()));
    ASSERT_NE(parsed.movie, nullptr);
    EXPECT_EQ(parsed.movie->FrameCount(), 2);
    EXPECT_EQ(parsed.Dump(), movie.Manifest(1));
}

TEST(TagLoop, FailingTagEndsTheLoopButKeepsWhatWasRead)
{
    SwfTimeline movie;
    movie.RemoveObject2(1).ShowFrame();
    movie.Tag(26, {0x20, 1, 0, 'a', 'b'});  // a name without its terminator
    movie.RemoveObject2(2).ShowFrame().End();
    ParsedMovie parsed(SwfMakeFile({.frameCount = 2}, movie.Bytes()));
    ASSERT_NE(parsed.movie, nullptr);
    EXPECT_EQ(DumpMovie(*parsed.movie, 0), "movie frames=2\n frame 0 label=\"\"\n  removedepth depth=1\n");
}

TEST(TagLoop, PathsArePostScriptMarksTheMovie)
{
    SwfTimeline movie;
    movie.Tag(25, {}).ShowFrame().End();
    ParsedMovie parsed(SwfMakeFile({}, movie.Bytes()));
    ASSERT_NE(parsed.movie, nullptr);
    EXPECT_TRUE(parsed.movie->PathsArePostScript());
    EXPECT_TRUE(parsed.parser.PathsArePostScript());
}

}  // namespace
