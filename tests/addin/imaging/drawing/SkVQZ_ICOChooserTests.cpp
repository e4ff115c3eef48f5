#include "addin/imaging/drawing/SkVQZ_ICOChooser.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

TEST(IconChooser, TakesTheLastExactMatch)
{
    SkVQZ_ICOChooser chooser(BitmapConfig::Argb8888, 32, 32);
    chooser.Begin(4);
    chooser.Inspect(0, BitmapConfig::Argb8888, 16, 16);
    chooser.Inspect(1, BitmapConfig::A8, 32, 32);
    chooser.Inspect(2, BitmapConfig::Argb8888, 32, 32);
    chooser.Inspect(3, BitmapConfig::Argb8888, 32, 32);
    EXPECT_EQ(chooser.Choose(), 3);
}

TEST(IconChooser, NoEntryOfTheSizeChoosesNoneButTheNearestCanBeAskedFor)
{
    SkVQZ_ICOChooser chooser(BitmapConfig::Argb8888, 40, 40);
    chooser.Begin(4);
    chooser.Inspect(0, BitmapConfig::Argb8888, 16, 16);
    chooser.Inspect(1, BitmapConfig::Argb8888, 48, 48);
    chooser.Inspect(2, BitmapConfig::Argb8888, 32, 40);
    chooser.Inspect(3, BitmapConfig::A8, 40, 40);
    EXPECT_EQ(chooser.Choose(), -1);
    EXPECT_EQ(chooser.ChooseNearest(), 2);
    // Equally near: the larger one.
    SkVQZ_ICOChooser between(BitmapConfig::Argb8888, 32, 32);
    between.Begin(2);
    between.Inspect(0, BitmapConfig::Argb8888, 48, 48);
    between.Inspect(1, BitmapConfig::Argb8888, 16, 16);
    EXPECT_EQ(between.Choose(), -1);
    EXPECT_EQ(between.ChooseNearest(), 0);
}

TEST(IconChooser, NoImageOfTheConfigChoosesNone)
{
    SkVQZ_ICOChooser chooser(BitmapConfig::Argb8888, 32, 32);
    chooser.Begin(2);
    chooser.Inspect(0, BitmapConfig::A8, 32, 32);
    EXPECT_EQ(chooser.Choose(), -1);
    chooser.Begin(0);
    EXPECT_EQ(chooser.Choose(), -1);
}

TEST(IconChooser, ZeroSizeAsksForTheSystemIconSize)
{
    SkVQZ_ICOChooser chooser(BitmapConfig::Argb8888, 0, -3);
    EXPECT_EQ(chooser.GetWidth(), GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(chooser.GetHeight(), GetSystemMetrics(SM_CYICON));
}

}  // namespace
