#include <gtest/gtest.h>
#include <windows.h>

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
                    for (int loadEnd : {from, stop > from ? stop - 1 : from, stop, stop + 3, 24}) {
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

// A string that runs to the last readable byte, with no access at all past
// it: the scan reads nothing beyond the loadable end.
TEST(String, FindZeroReadsNothingPastTheLoadableEnd)
{
    const DWORD page = 4096;
    auto* region = static_cast<uint8_t*>(VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(region, nullptr);
    DWORD old = 0;
    ASSERT_TRUE(VirtualProtect(region + page, page, PAGE_NOACCESS, &old));
    uint8_t* const end = region + page;
    std::memset(end - 64, 'x', 64);
    for (int from = 1; from <= 9; ++from) {
        EXPECT_EQ(PVFindZero(end - from, end, end), end) << from;  // no 0: the bound
        end[-1] = 0;
        EXPECT_EQ(PVFindZero(end - from, end, end), end - 1) << from;
        end[-1] = 'x';
    }
    VirtualFree(region, 0, MEM_RELEASE);
}

TEST(String, AStringThatHeldAHeapBlockCanBeEmptiedAndFilledAgain)
{
    PVString s;
    ASSERT_TRUE(s.Assign("a text longer than the bytes kept inline", 40));
    ASSERT_TRUE(s.Assign("", 0));
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_STREQ(s.Data(), "");
    ASSERT_TRUE(s.AssignPadded("label7\0zzzzzzzzzzzzzzzz", 6));
    EXPECT_STREQ(s.Data(), "label7");
    ASSERT_TRUE(s.Assign("", 0));
    ASSERT_TRUE(s.Assign("", 0));  // empty to empty
    EXPECT_TRUE(s.IsEmpty());
}

}  // namespace
