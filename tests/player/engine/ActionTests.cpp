#include <gtest/gtest.h>

#include "MemoryInStream.h"
#include "ParsedMovie.h"
#include "fixtures/SwfActionWriter.h"
#include "fixtures/SwfBitWriter.h"
#include "fixtures/SwfFile.h"
#include "fixtures/SwfTimeline.h"
#include "player/engine/PVAction.h"

namespace {

// The actions of the first record of frame 0 of a movie holding one
// DoAction tag with `body`.
std::string DecodeTag(const std::vector<uint8_t>& body)
{
    SwfTimeline movie;
    movie.Tag(12, body).ShowFrame().End();
    ParsedMovie parsed(SwfMakeFile({}, movie.Bytes()));
    if (!parsed.movie || !parsed.movie->Frame(0) || !parsed.movie->Frame(0)->first)
        return "(no record)";
    return DumpActions(parsed.movie->Frame(0)->first->actions);
}

TEST(Actions, EveryRecordDecodesAsWritten)
{
    SwfActionWriter body;
    body.Plain(0x11).Plain(0x10);
    SwfActionWriter actions;
    actions.Plain(0x04).Plain(0x05).Plain(0x06).Plain(0x07).Plain(0x08).Plain(0x09);
    actions.GotoFrame(65535).GetURL("http://x/", "_blank").ConstantPool({"a", "", "longer one"});
    actions.WaitForFrame(7, 2).SetTarget("/clip/inner").GotoLabel("intro");
    actions.PushString("text").PushNumber(1.5f).Jump(-5).If(12).GotoFrame2(true).GotoFrame2(false);
    actions.DefineFunction("f", body).Plain(0x3E).Record(0xFE, {1, 2, 3});
    EXPECT_EQ(DecodeTag(actions.Bytes()), actions.Manifest() + " 0xFE");
}

TEST(Actions, EachListedActionHoldsOneReference)
{
    SwfTimeline movie;
    movie.DoAction(SwfActionWriter().Plain(0x06).GotoFrame(3)).ShowFrame().End();
    ParsedMovie parsed(SwfMakeFile({}, movie.Bytes()));
    ASSERT_NE(parsed.movie, nullptr);
    for (const PVAction* a = parsed.movie->Frame(0)->first->actions; a; a = a->Next())
        EXPECT_EQ(a->RefCount(), 1);
}

TEST(Actions, PayloadLongerThanTheListIsCutBeforeItsLastByte)
{
    // A 10-byte tag: GotoFrame whose length says 200, then room for 0 end.
    std::vector<uint8_t> tag = {0x81, 200, 0, 5, 0, 1, 1, 1, 1, 0};
    ASSERT_EQ(tag.size(), 10u);
    EXPECT_EQ(DecodeTag(tag), "GotoFrame(5)");
    // One byte more and the cut grows with it, swallowing the Play.
    tag = {0x81, 200, 0, 5, 0, 1, 1, 1, 1, 0x06, 0};
    EXPECT_EQ(DecodeTag(tag), "GotoFrame(5)");
}

TEST(Actions, ConstantPoolOf130EntriesStaysEmptyAndDecodingGoesOn)
{
    std::vector<std::string> strings;
    for (int i = 0; i < 130; ++i)
        strings.push_back("s" + std::to_string(i));
    SwfActionWriter actions;
    actions.ConstantPool(strings).Plain(0x07);
    EXPECT_EQ(DecodeTag(actions.Bytes()), "ConstantPool() Stop");
}

TEST(Actions, ConstantPoolIsCutLikeAnyRecord)
{
    // Length 300 in an 11-byte list is cut to 7: the second string crosses
    // the cut, which ends the list.
    std::vector<uint8_t> tag = {0x88, 0x2C, 0x01, 2, 0, 'a', 'b', 0, 'c', 'd', 0};
    EXPECT_EQ(DecodeTag(tag), "");
    tag = {0x88, 0x2C, 0x01, 1, 0, 'a', 'b', 0, 'c', 'd', 'e', 0x07, 0};
    EXPECT_EQ(DecodeTag(tag), "ConstantPool(\"ab\")");
}

TEST(Actions, ListWithNoRoomForAPayloadEndsInsteadOfLooping)
{
    // Limits of 1 to 3 bytes for a long record: nothing can be decoded.
    for (const std::vector<uint8_t>& tag : std::vector<std::vector<uint8_t>>{{0x81}, {0x81, 0}, {0x81, 0, 0}})
        EXPECT_EQ(DecodeTag(tag), "");
    // The last record before the cut still decodes.
    EXPECT_EQ(DecodeTag({0x06, 0x81, 0, 0}), "Play");
}

TEST(Actions, ReadActionWithSmallLimitsEndsTheList)
{
    SwfTimeline movie;
    movie.Tag(77, {0x81, 2, 0, 9, 0, 0x06, 0}).End();
    const std::vector<uint8_t> file = SwfMakeFile({}, movie.Bytes());
    for (int limit : {-5, 0, 1, 2, 3}) {
        PVMovieParser parser;
        MemoryInStream stream(file);
        PVRect rect;
        float rate;
        uint16_t frames;
        ASSERT_TRUE(parser.ReadHeader(stream, rect, rate, frames));
        PVTagHeader tag;
        ASSERT_TRUE(parser.ReadTagHeader(tag));
        EXPECT_EQ(parser.ReadActionList(limit), nullptr) << limit;
    }
}

TEST(Actions, PushOfANumberIsSkippedByItsLength)
{
    SwfActionWriter actions;
    actions.PushNumber(2.0f).PushString("kept").Plain(0x06);
    EXPECT_EQ(DecodeTag(actions.Bytes()), "Push(1) Push(0,\"kept\") Play");
}

TEST(Actions, StringCrossingItsPayloadEndsTheList)
{
    // SetTarget with length 2 over "abc\0": the path has no 0 within it.
    EXPECT_EQ(DecodeTag({0x06, 0x8B, 2, 0, 'a', 'b', 'c', 0, 0x07, 0}), "Play");
}

TEST(Actions, ListRunningOffTheTagKeepsTheDecodedActions)
{
    // No end code and a record whose header passes the tag end.
    EXPECT_EQ(DecodeTag({0x06, 0x07}), "Play Stop");
    EXPECT_EQ(DecodeTag({0x06, 0x81, 9}), "Play");
}

}  // namespace
