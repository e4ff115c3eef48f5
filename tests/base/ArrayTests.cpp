#include "base/MKTArray.h"
#include "base/MKTextBuffer.h"

#include "AllocFailure.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> Items(const MKIntArray& array)
{
    return std::vector<int>(array.GetData(), array.GetData() + array.GetCount());
}

void Fill(MKIntArray& array, std::initializer_list<int> items)
{
    for (int item : items)
        ASSERT_TRUE(array.Add(item));
}

TEST(Array, AddGrowsByHalfFromEight)
{
    MKIntArray array;
    std::vector<int> capacities;
    for (int i = 0; i < 28; ++i) {
        ASSERT_TRUE(array.Add(i));
        if (capacities.empty() || capacities.back() != array.GetCapacity())
            capacities.push_back(array.GetCapacity());
    }
    EXPECT_EQ((std::vector<int>{8, 12, 18, 27, 40}), capacities);
    EXPECT_EQ(27, array[27]);
}

TEST(Array, AppendRangeGrowsExactlyThenByHalf)
{
    MKIntArray array;
    int items[20] = {};
    ASSERT_TRUE(array.AppendRange(items, 20));
    EXPECT_EQ(20, array.GetCapacity());
    ASSERT_TRUE(array.AppendRange(items, 1));
    EXPECT_EQ(30, array.GetCapacity());
    EXPECT_EQ(21, array.GetCount());
    EXPECT_TRUE(array.AppendRange(items, 0));
    EXPECT_FALSE(array.AppendRange(items, -1));
}

TEST(Array, AppendRangeOfOwnItemsWhileGrowing)
{
    MKIntArray array;
    Fill(array, {1, 2, 3, 4, 5, 6, 7, 8});
    ASSERT_EQ(8, array.GetCapacity());
    ASSERT_TRUE(array.AppendRange(array.GetData(), 8));
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 1, 2, 3, 4, 5, 6, 7, 8}), Items(array));
}

TEST(Array, AddOfOwnItemWhileGrowing)
{
    MKIntArray array;
    Fill(array, {1, 2, 3, 4, 5, 6, 7, 8});
    ASSERT_TRUE(array.Add(array[3]));
    EXPECT_EQ(4, array[8]);
}

TEST(Array, AssignShrinksOnlyBelowHalf)
{
    struct Case {
        int n;
        int capacity;
    } cases[] = {{3, 3}, {4, 8}, {5, 8}, {8, 8}, {9, 9}};
    int source[9] = {9, 8, 7, 6, 5, 4, 3, 2, 1};
    for (const Case& c : cases) {
        MKIntArray array;
        ASSERT_TRUE(array.Reserve(8));
        ASSERT_TRUE(array.Assign(source, c.n));
        EXPECT_EQ(c.capacity, array.GetCapacity()) << c.n;
        EXPECT_EQ(std::vector<int>(source, source + c.n), Items(array));
    }
}

TEST(Array, AssignOfNothingFrees)
{
    MKIntArray array;
    Fill(array, {1, 2});
    ASSERT_TRUE(array.Assign(nullptr, 0));
    EXPECT_EQ(0, array.GetCapacity());
    EXPECT_EQ(nullptr, array.GetData());
}

TEST(Array, AssignKeepsTheLargerBlockWhenShrinkingFails)
{
    MKIntArray array;
    Fill(array, {1, 2, 3, 4, 5, 6, 7, 8});
    AllocFailureScope failing(0);
    ASSERT_TRUE(array.Assign(array.GetData() + 5, 3));
    EXPECT_EQ(8, array.GetCapacity());
    EXPECT_EQ((std::vector<int>{6, 7, 8}), Items(array));
}

TEST(Array, RemoveRangeClipsToTheItems)
{
    struct Case {
        int start, n;
        std::vector<int> left;
    } cases[] = {
        {-2, 3, {1, 2, 3, 4}},    {2, 0, {0, 1, 2, 3, 4}}, {1, 2, {0, 3, 4}},   {3, 100, {0, 1, 2}},
        {5, 1, {0, 1, 2, 3, 4}}, {-5, 3, {0, 1, 2, 3, 4}}, {0, 5, {}},          {4, -1, {0, 1, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        MKIntArray array;
        Fill(array, {0, 1, 2, 3, 4});
        array.RemoveRange(c.start, c.n);
        EXPECT_EQ(c.left, Items(array)) << c.start << "," << c.n;
    }
}

TEST(Array, RemoveAtIgnoresBadIndices)
{
    MKIntArray array;
    Fill(array, {0, 1, 2});
    array.RemoveAt(-1);
    array.RemoveAt(3);
    array.RemoveAt(1);
    EXPECT_EQ((std::vector<int>{0, 2}), Items(array));
}

TEST(Array, InsertAtClampsTheIndex)
{
    MKIntArray array;
    ASSERT_TRUE(array.InsertAt(5, 1));  // appends, first block of 8
    EXPECT_EQ(8, array.GetCapacity());
    ASSERT_TRUE(array.InsertAt(-3, 0));
    ASSERT_TRUE(array.InsertAt(1, 9));
    ASSERT_TRUE(array.InsertAt(3, 2));
    EXPECT_EQ((std::vector<int>{0, 9, 1, 2}), Items(array));
}

TEST(Array, InsertRangeMovesTheTail)
{
    struct Case {
        int index;
        std::vector<int> result;
    } cases[] = {{-1, {7, 8, 0, 1, 2}}, {1, {0, 7, 8, 1, 2}}, {3, {0, 1, 2, 7, 8}}, {9, {0, 1, 2, 7, 8}}};
    for (const Case& c : cases) {
        MKIntArray array, other;
        Fill(array, {0, 1, 2});
        Fill(other, {7, 8});
        ASSERT_TRUE(array.InsertRange(c.index, other));
        EXPECT_EQ(c.result, Items(array)) << c.index;
    }
}

TEST(Array, InsertRangeOfItself)
{
    for (int index = 0; index <= 4; ++index) {
        MKIntArray array;
        Fill(array, {0, 1, 2, 3});
        ASSERT_TRUE(array.InsertRange(index, array));
        std::vector<int> expected{0, 1, 2, 3};
        expected.insert(expected.begin() + index, {0, 1, 2, 3});
        EXPECT_EQ(expected, Items(array)) << index;
    }
}

TEST(Array, SetSizeZeroesNewItemsAndNeverShrinksTheBlock)
{
    MKIntArray array;
    Fill(array, {5, 6, 7});
    ASSERT_TRUE(array.SetSize(1));
    EXPECT_EQ(8, array.GetCapacity());
    ASSERT_TRUE(array.SetSize(10));
    EXPECT_EQ(10, array.GetCapacity());
    EXPECT_EQ((std::vector<int>{5, 0, 0, 0, 0, 0, 0, 0, 0, 0}), Items(array));
    ASSERT_TRUE(array.SetSize(-1));
    EXPECT_EQ(0, array.GetCount());
    EXPECT_EQ(0, array.GetCapacity());
}

TEST(Array, FailedGrowthLeavesTheArrayAsItWas)
{
    MKIntArray array;
    Fill(array, {1, 2, 3, 4, 5, 6, 7, 8});
    int more[4] = {9, 9, 9, 9};
    AllocFailureScope failing(0);
    EXPECT_FALSE(array.Add(9));
    EXPECT_FALSE(array.AppendRange(more, 4));
    EXPECT_FALSE(array.InsertAt(0, 9));
    EXPECT_FALSE(array.Assign(more, 9));
    EXPECT_FALSE(array.Reserve(9));
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}), Items(array));
    EXPECT_EQ(8, array.GetCapacity());
    EXPECT_GT(failing.Requests(), 0);
}

TEST(Array, SetSizeThatCannotGrowLeavesTheArrayEmpty)
{
    MKIntArray ints;
    Fill(ints, {1, 2, 3, 4, 5, 6, 7, 8});
    MKTextBuffer text;
    ASSERT_TRUE(text.AppendText(L"abc"));
    AllocFailureScope failing(0);
    EXPECT_FALSE(ints.SetSize(100));
    EXPECT_EQ(0, ints.GetCount());
    EXPECT_EQ(0, ints.GetCapacity());
    EXPECT_FALSE(text.SetSize(100));
    EXPECT_EQ(0, text.GetCount());
}

TEST(Array, HugeRequestsFailInsteadOfWrapping)
{
    MKTArray<double> array;
    EXPECT_FALSE(array.SetSize(0x7FFFFFFF));
    EXPECT_FALSE(array.Reserve(0x20000000));
    EXPECT_EQ(0, array.GetCapacity());
}

TEST(Array, CompactKeepsNonZeroItemsInOrder)
{
    MKIntArray array;
    Fill(array, {0, 3, 0, 0, 4, 5, 0});
    array.Compact();
    EXPECT_EQ((std::vector<int>{3, 4, 5}), Items(array));
    MKTArray<void*> pointers;
    int x = 0;
    ASSERT_TRUE(pointers.Add(nullptr));
    ASSERT_TRUE(pointers.Add(&x));
    pointers.Compact();
    ASSERT_EQ(1, pointers.GetCount());
    EXPECT_EQ(&x, pointers[0]);
}

TEST(Array, DetachedBlockMovesToAnotherArrayWithoutACopy)
{
    MKIntArray from;
    Fill(from, {1, 2, 3});
    int* block = from.GetData();
    int count = from.GetCount();
    int capacity = from.GetCapacity();
    EXPECT_EQ(block, from.Detach());
    EXPECT_EQ(nullptr, from.GetData());
    EXPECT_EQ(0, from.GetCount());
    EXPECT_EQ(0, from.GetCapacity());
    EXPECT_TRUE(from.Add(7));  // still usable

    MKIntArray to;
    Fill(to, {9, 9});
    to.Adopt(block, count, capacity);  // its own block is freed
    EXPECT_EQ(block, to.GetData());
    EXPECT_EQ(8, to.GetCapacity());
    EXPECT_EQ((std::vector<int>{1, 2, 3}), Items(to));
    // The adopted block grows like the array's own.
    for (int i = 4; i <= 9; ++i)
        ASSERT_TRUE(to.Add(i));
    EXPECT_EQ(12, to.GetCapacity());
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}), Items(to));
}

TEST(Array, AdoptingNothingOrItsOwnBlock)
{
    MKIntArray array;
    EXPECT_EQ(nullptr, array.Detach());
    Fill(array, {1, 2});
    int* own = array.GetData();
    array.Adopt(own, 1, array.GetCapacity());  // the block is kept, not freed
    EXPECT_EQ((std::vector<int>{1}), Items(array));
    array.Adopt(nullptr, 5, 5);
    EXPECT_EQ(0, array.GetCount());
    EXPECT_EQ(0, array.GetCapacity());
}

TEST(Array, LookupAnswersNeutralValuesOutOfRange)
{
    MKIntArray array;
    Fill(array, {4, 5, 4});
    EXPECT_EQ(0, array.IndexOf(4));
    EXPECT_EQ(-1, array.IndexOf(6));
    EXPECT_EQ(5, array.SafeGetAt(1));
    EXPECT_EQ(0, array.SafeGetAt(3));
    EXPECT_EQ(0, array.SafeGetAt(-1));
}

}  // namespace
