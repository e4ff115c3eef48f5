#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fixtures/AllocationProbe.h"
#include "player/engine/PVFindZero.h"
#include "player/engine/PVString.h"

namespace {

TEST(String, AssignsAcrossTheInlineBoundInBothDirections)
{
    // Lengths around the 15 bytes kept in the object, in an order that moves
    // the bytes from inline to heap and back, and shrinks and grows each.
    const std::string text = "0123456789abcdefghijklmnopqrstuvwxyz";
    PVString s;
    for (int length : {3, 15, 16, 35, 15, 0, 20, 17, 30, 1, 15, 16}) {
        ASSERT_TRUE(s.Assign(text.data(), length)) << length;
        EXPECT_EQ(s.Length(), length);
        EXPECT_EQ(std::string(s.Data()), text.substr(0, length)) << length;
    }
}

TEST(String, AssignsFromItsOwnBytes)
{
    for (int length : {12, 30}) {
        PVString s;
        ASSERT_TRUE(s.Assign("abcdefghijklmnopqrstuvwxyz0123", length));
        ASSERT_TRUE(s.Assign(s.Data() + 2, length - 2));  // a tail of itself
        EXPECT_EQ(std::string(s.Data()), std::string("abcdefghijklmnopqrstuvwxyz0123").substr(2, length - 2));
        ASSERT_TRUE(s.Assign(s));
        EXPECT_EQ(s.Length(), length - 2);
    }
}

TEST(String, PaddedAssignTakesOnlyTheTextFromItsBlock)
{
    // The bytes after each text stand for the rest of a movie's image.
    const char image[] = "label7\0clip12345678901234567890\0zzzzzzzzzzzzzzzz";
    PVString s;
    ASSERT_TRUE(s.AssignPadded(image, 6));
    EXPECT_EQ(std::string(s.Data()), "label7");
    PVString empty;
    ASSERT_TRUE(empty.AssignPadded(image, 0));
    EXPECT_TRUE(empty.IsEmpty());
    PVString longer;  // past the bytes kept in the object
    ASSERT_TRUE(longer.AssignPadded(image + 7, 24));
    EXPECT_EQ(longer.Length(), 24);
    EXPECT_EQ(std::string(longer.Data()), "clip12345678901234567890");
    ASSERT_TRUE(longer.AssignPadded(image, 6));  // a string that held bytes before
    EXPECT_EQ(std::string(longer.Data()), "label7");
}

TEST(String, ShortStringsCostNoHeapRequest)
{
    AllocationProbe probe;
    {
        PVString s;
        ASSERT_TRUE(s.Assign("label59990", 10));
        EXPECT_TRUE(s.Equals("label59990", 10));
    }
    EXPECT_EQ(probe.Total(), 0u);
}

// The word-wide scan against a byte loop, for every place of the 0 around
// the bound and the loadable end, over fillers with high and low bits set
// (the bytes a word test could mistake for 0).
TEST(String, FindZeroAgreesWithAByteScan)
{
    for (uint8_t filler : {0x01, 0x80, 0x81, 0xFF, 0x7F}) {
        for (int zeroAt = 0; zeroAt <= 24; ++zeroAt) {
            uint8_t bytes[24];
            std::memset(bytes, filler, sizeof bytes);
            if (zeroAt < 24)
                bytes[zeroAt] = 0;
            for (int from = 0; from < 4; ++from) {
                for (int stop = from; stop <= 20; ++stop) {
                    for (int loadEnd : {stop, stop + 3, 24}) {
                        const uint8_t* expected = bytes + from;
                        while (expected < bytes + stop && *expected)
                            ++expected;
                        EXPECT_EQ(PVFindZero(bytes + from, bytes + stop, bytes + loadEnd), expected)
                            << "filler " << int(filler) << " zero " << zeroAt << " from " << from << " stop " << stop
                            << " loadable " << loadEnd;
                    }
                }
            }
        }
    }
}

}  // namespace
