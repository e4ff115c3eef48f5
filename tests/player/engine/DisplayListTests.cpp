#include <gtest/gtest.h>

#include "StandInChar.h"
#include "player/engine/PVDListObject.h"
#include "player/engine/PVDisplayList.h"

namespace {

std::string Box(const PVBounds& b)
{
    if (b.empty)
        return "empty";
    return std::to_string(static_cast<int>(b.xmin)) + ".." + std::to_string(static_cast<int>(b.xmax)) + "," +
           std::to_string(static_cast<int>(b.ymin)) + ".." + std::to_string(static_cast<int>(b.ymax));
}

// Places `character` at `depth` as a place record would, moved by (x, y).
PVDListObject* Show(PVDisplayList& list, int depth, PVChar* character, float x = 0, float y = 0)
{
    PVDListObject* entry = list.GetOrCreate(depth);
    entry->SetCharacter(character);
    entry->matrix.translateX = x;
    entry->matrix.translateY = y;
    entry->dirty = true;
    return entry;
}

struct Shapes {
    Shapes() : wide(PVChar::kShape, 1, PVBounds::Of(0, 100, 0, 50)), font(PVChar::kFont, 2, PVBounds::Of(0, 9, 0, 9))
    {
        wide.AddRef();
        font.AddRef();
    }
    StandInChar wide;
    StandInChar font;
};

TEST(DisplayList, EntriesStartEmptyAtTheirDepth)
{
    PVDisplayList list;
    PVDListObject* entry = list.GetOrCreate(5);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(list.Count(), 6);
    EXPECT_EQ(list.At(4), nullptr);
    EXPECT_EQ(list.GetOrCreate(5), entry);
    EXPECT_EQ(entry->depth, 5);
    EXPECT_EQ(entry->character, nullptr);
    EXPECT_EQ(entry->matrix.scaleX, 1);
    EXPECT_EQ(entry->cxform.multAlpha, 256);
    EXPECT_EQ(entry->ratio, 0);
    EXPECT_FALSE(entry->dirty);
    EXPECT_TRUE(entry->bounds.empty);
    EXPECT_EQ(list.GetOrCreate(-1), nullptr);
}

TEST(DisplayList, RemovalRulesAndReferences)
{
    Shapes s;
    PVDisplayList list;
    Show(list, 2, &s.wide);
    EXPECT_EQ(s.wide.RefCount(), 2);
    EXPECT_TRUE(list.Remove(40));  // past the slots
    EXPECT_FALSE(list.Remove(1));  // empty slot
    EXPECT_FALSE(list.RemoveIf(&s.font, 2));
    EXPECT_FALSE(list.RemoveIf(&s.wide, 3));
    EXPECT_NE(list.At(2), nullptr);
    EXPECT_TRUE(list.RemoveIf(&s.wide, 2));
    EXPECT_EQ(list.At(2), nullptr);
    EXPECT_EQ(s.wide.RefCount(), 1);
    Show(list, 1, &s.wide);
    Show(list, 3, &s.font);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(s.wide.RefCount(), 1);
    EXPECT_EQ(s.font.RefCount(), 1);
}

TEST(DisplayList, BoundsAndDamageFollowChangesAndRemovals)
{
    Shapes s;
    PVDisplayList list;
    PVBounds total;
    PVBounds damage;
    Show(list, 1, &s.wide, 1000, 0);
    Show(list, 2, &s.font, 7, 7);  // fonts have no place on the screen
    list.ComputeBounds(total, damage);
    EXPECT_EQ(Box(total) + " / " + Box(damage), "1000..1100,0..50 / 1000..1100,0..50");
    list.ComputeBounds(total, damage);
    EXPECT_EQ(Box(total) + " / " + Box(damage), "1000..1100,0..50 / empty");

    // A quarter turn: x' = -y, y' = x.
    PVDListObject* entry = list.At(1);
    entry->matrix.scaleX = entry->matrix.scaleY = 0;
    entry->matrix.rotateSkew0 = 1;
    entry->matrix.rotateSkew1 = -1;
    entry->dirty = true;
    list.ComputeBounds(total, damage);
    EXPECT_EQ(Box(total) + " / " + Box(damage), "950..1000,0..100 / 950..1100,0..100");

    list.Remove(1);
    list.ComputeBounds(total, damage);
    EXPECT_EQ(Box(total) + " / " + Box(damage), "empty / 950..1000,0..100");
}

TEST(DisplayList, UnionAndTransformOfBoxes)
{
    PVBounds a;
    a.Union(PVBounds());
    EXPECT_TRUE(a.empty);
    a.Union(PVBounds::Of(5, 6, 7, 8));
    EXPECT_EQ(Box(a), "5..6,7..8");
    a.Union(PVBounds());
    EXPECT_EQ(Box(a), "5..6,7..8");
    a.Union(PVBounds::Of(-1, 2, 9, 10));
    EXPECT_EQ(Box(a), "-1..6,7..10");
    PVMatrix twice;
    twice.scaleX = 2;
    twice.scaleY = -2;
    twice.translateX = 100;
    EXPECT_EQ(Box(a.Transformed(twice)), "98..112,-20..-14");
    EXPECT_TRUE(PVBounds().Transformed(twice).empty);
}

}  // namespace
