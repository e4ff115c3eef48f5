#include "base/MKString.h"
#include "base/MKTOArray.h"

#include "AllocFailure.h"

#include <gtest/gtest.h>

namespace {

// Counts live objects and catches reads of destroyed ones.
struct Tracked {
    static int s_live;
    int value = 0;
    bool alive = true;

    Tracked() { ++s_live; }
    Tracked(const Tracked& other) : value(other.value) { ++s_live; }
    ~Tracked()
    {
        alive = false;
        value = -999;
        --s_live;
    }
    Tracked& operator=(const Tracked& other)
    {
        EXPECT_TRUE(other.alive) << "assigned from a destroyed element";
        value = other.value;
        return *this;
    }
};
int Tracked::s_live = 0;

Tracked Make(int value)
{
    Tracked t;
    t.value = value;
    return t;
}

TEST(ObjectArray, FirstAddConstructsAWholeBlockOfEight)
{
    {
        MKTOArray<Tracked> array;
        Tracked one = Make(1);
        ASSERT_TRUE(array.Add(one));
        EXPECT_EQ(1, array.GetCount());
        EXPECT_EQ(8, array.GetCapacity());
        EXPECT_EQ(1 + 8, Tracked::s_live);
    }
    EXPECT_EQ(0, Tracked::s_live);
}

TEST(ObjectArray, GrowsByHalfAndKeepsElements)
{
    MKTOArray<Tracked> array;
    for (int i = 0; i < 13; ++i)
        ASSERT_TRUE(array.Add(Make(i)));
    EXPECT_EQ(18, array.GetCapacity());
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(i, array[i].value);
    array.RemoveAll();
    EXPECT_EQ(0, Tracked::s_live);
}

TEST(ObjectArray, AddOfOwnElementWhileGrowing)
{
    MKTOArray<Tracked> array;
    for (int i = 0; i < 8; ++i)
        ASSERT_TRUE(array.Add(Make(i + 10)));
    ASSERT_EQ(8, array.GetCapacity());
    ASSERT_TRUE(array.Add(array[2]));
    EXPECT_EQ(12, array.GetCapacity());
    EXPECT_EQ(12, array[8].value);
}

TEST(ObjectArray, FailedGrowthLeavesTheArrayAsItWas)
{
    MKTOArray<Tracked> array;
    for (int i = 0; i < 8; ++i)
        ASSERT_TRUE(array.Add(Make(i)));
    {
        AllocFailureScope failing(0);
        EXPECT_FALSE(array.Add(Make(8)));
    }
    EXPECT_EQ(8, array.GetCount());
    EXPECT_EQ(8, array.GetCapacity());
    EXPECT_EQ(7, array[7].value);
}

TEST(ObjectArray, ResizeReplacesTheContents)
{
    MKTOArray<Tracked> array;
    ASSERT_TRUE(array.Add(Make(5)));
    ASSERT_TRUE(array.Resize(3));
    EXPECT_EQ(3, array.GetCount());
    EXPECT_EQ(3, array.GetCapacity());
    EXPECT_EQ(0, array[0].value);
    EXPECT_TRUE(array.Resize(-4));
    EXPECT_EQ(0, array.GetCapacity());
    EXPECT_EQ(0, Tracked::s_live);
    {
        AllocFailureScope failing(0);
        EXPECT_FALSE(array.Resize(2));
    }
    EXPECT_EQ(0, array.GetCount());
}

TEST(ObjectArray, AddAfterResizingToOneGrowsToTwo)
{
    // Half of one is nothing: the need, not the rule, sets the new capacity.
    MKTOArray<Tracked> array;
    ASSERT_TRUE(array.Resize(1));
    ASSERT_TRUE(array.Add(Make(4)));
    EXPECT_EQ(2, array.GetCount());
    EXPECT_EQ(2, array.GetCapacity());
    EXPECT_EQ(4, array[1].value);
    ASSERT_TRUE(array.Add(Make(5)));
    EXPECT_EQ(3, array.GetCapacity());
}

TEST(ObjectArray, StringsShareTheirBlocks)
{
    MKTOArray<MKString> strings;
    MKString first(L"first");
    ASSERT_TRUE(strings.Add(first));
    EXPECT_EQ(8, strings.GetCapacity());
    EXPECT_EQ(2, first.GetRefCount());
    EXPECT_EQ(MKString::EmptyChars(), strings[7].GetText());
    for (int i = 1; i < 8; ++i)
        ASSERT_TRUE(strings.Add(MKString::FromInt(i)));
    ASSERT_TRUE(strings.Add(strings[0]));  // grows while holding the only other reference
    EXPECT_TRUE(strings[8].EqualsText(L"first"));
    EXPECT_EQ(3, first.GetRefCount());
    strings.RemoveAll();
    EXPECT_EQ(1, first.GetRefCount());
}

}  // namespace
