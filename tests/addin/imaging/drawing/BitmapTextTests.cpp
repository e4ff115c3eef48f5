#include "addin/imaging/drawing/BitmapText.h"
#include "addin/imaging/drawing/PremulColor.h"

#include <gtest/gtest.h>

namespace {

TEST(BitmapText, OpaquePixelWorkedExample)
{
    DrawBitmap bitmap;
    ASSERT_TRUE(bitmap.Allocate(BitmapConfig::Argb8888, 1, 1));
    bitmap.SetOpaque(true);
    bitmap.Row32(0)[0] = 0xFF12ABF0;
    std::wstring text = BitmapToText(bitmap);
    const wchar_t expected[] = {L'1', L'|', L'1', L'|', L'3', L'=', 0x41, 0x42, 0x4A, 0x4B, 0x4F, 0x40, 0};
    EXPECT_EQ(text, std::wstring(expected));
    EXPECT_EQ(text.size(), 12u);

    DrawBitmap back;
    ASSERT_TRUE(BitmapFromText(text.c_str(), back));
    EXPECT_TRUE(back.IsOpaque());
    ASSERT_EQ(back.GetWidth(), 1);
    EXPECT_EQ(back.Row32(0)[0], 0xFF12ABF0u);
}

TEST(BitmapText, TranslucentPixelsRoundTripStraight)
{
    DrawBitmap bitmap;
    ASSERT_TRUE(bitmap.Allocate(BitmapConfig::Argb8888, 3, 2));
    const uint32_t colours[6] = {0x80FF0000, 0x00000000, 0xFF102030, 0x40FFFFFF, 0xC0336699, 0x01FF00FF};
    for (int i = 0; i < 6; ++i)
        bitmap.Row32(i / 3)[i % 3] = PremultiplyColor(colours[i]);
    std::wstring text = BitmapToText(bitmap);
    ASSERT_EQ(text.substr(0, 6), L"3|2|4=");
    EXPECT_EQ(text.size(), 6u + 3 * 2 * 8);
    // The first pixel is written straight: alpha 0x80, red 0xFF.
    EXPECT_EQ(text.substr(6, 4), std::wstring(L"\x48\x40\x4F\x4F"));
    DrawBitmap back;
    ASSERT_TRUE(BitmapFromText(text.c_str(), back));
    EXPECT_FALSE(back.IsOpaque());
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(back.Row32(i / 3)[i % 3], bitmap.Row32(i / 3)[i % 3]) << i;
}

TEST(BitmapText, A8IsReadOneByteAPixel)
{
    DrawBitmap bitmap;
    ASSERT_TRUE(bitmap.Allocate(BitmapConfig::A8, 2, 1));
    bitmap.Row(0)[0] = 0x7F;
    bitmap.Row(0)[1] = 0xFF;
    EXPECT_EQ(BitmapToText(bitmap), L"2|1|4=GO@@@@@@OO@@@@@@");
}

TEST(BitmapText, BadTextIsRefused)
{
    const wchar_t* bad[] = {
        L"",                     // empty
        L"0|5|3=",               // zero width
        L"1|1=ABCDEF",           // two fields
        L"1|x|3=ABCDEF",         // not a number
        L"1|-1|3=ABCDEF",        // negative
        L"2|1|3=ABCDEF",         // fewer characters than promised
        L"65536|65536|4=",       // pixels that cannot exist
        L"99999999999|1|3=AB",   // beyond 32 bits
        L"1|1|3",                // no '='
    };
    for (const wchar_t* text : bad) {
        DrawBitmap bitmap;
        EXPECT_FALSE(BitmapFromText(text, bitmap)) << text;
        EXPECT_TRUE(bitmap.IsEmpty());
    }
    DrawBitmap bitmap;
    EXPECT_FALSE(BitmapFromText(nullptr, bitmap));
}

}  // namespace
