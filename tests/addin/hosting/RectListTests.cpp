// Float rectangles and rectangle lists: the split order, subtraction with the
// removed parts, union without overlaps, bounds and the strict overlap test.
#include "addin/hosting/RectList.h"

#include <gtest/gtest.h>
#include <float.h>

#include <vector>

namespace {

std::vector<RectF> Rects(const RectList& list)
{
    std::vector<RectF> out;
    for (int i = 0; i < list.GetCount(); ++i)
        out.push_back(list[i]);
    return out;
}

float Area(const RectList& list)
{
    float area = 0;
    for (int i = 0; i < list.GetCount(); ++i)
        area += (list[i].right - list[i].left) * (list[i].bottom - list[i].top);
    return area;
}

bool NoOverlaps(const RectList& list)
{
    for (int i = 0; i < list.GetCount(); ++i) {
        for (int j = i + 1; j < list.GetCount(); ++j) {
            if (RectF::Intersects(list[i], list[j]))
                return false;
        }
    }
    return true;
}

}  // namespace

void PrintTo(const RectF& r, std::ostream* out)
{
    *out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace {

TEST(RectF, SplitCutsLeftRightTopBottomInThatOrder)
{
    struct Case {
        const char* name;
        RectF rect, cut;
        RectF intersection;
        std::vector<RectF> pieces;
    };
    const RectF none = RectF::Inverted();
    const Case cases[] = {
        {"cut inside", {0, 0, 10, 10}, {2, 2, 4, 4}, {2, 2, 4, 4},
         {{0, 0, 2, 10}, {4, 0, 10, 10}, {2, 0, 4, 2}, {2, 4, 4, 10}}},
        {"cut covers", {2, 2, 4, 4}, {0, 0, 10, 10}, {2, 2, 4, 4}, {}},
        {"cut over the right half", {0, 0, 10, 10}, {5, -1, 20, 20}, {5, 0, 10, 10}, {{0, 0, 5, 10}}},
        {"cut over the left edge, middle rows", {0, 0, 10, 10}, {-5, 3, 4, 6}, {0, 3, 4, 6},
         {{4, 0, 10, 10}, {0, 0, 4, 3}, {0, 6, 4, 10}}},
        {"cut across the bottom", {0, 0, 10, 10}, {-1, 8, 11, 12}, {0, 8, 10, 10}, {{0, 0, 10, 8}}},
        {"touching on the right", {0, 0, 10, 10}, {10, 0, 20, 10}, none, {{0, 0, 10, 10}}},
        {"touching below", {0, 0, 10, 10}, {0, 10, 10, 20}, none, {{0, 0, 10, 10}}},
        {"apart", {0, 0, 10, 10}, {20, 20, 30, 30}, none, {{0, 0, 10, 10}}},
        {"empty cut", {0, 0, 10, 10}, {5, 5, 5, 9}, none, {{0, 0, 10, 10}}},
        {"empty rectangle", {3, 3, 3, 9}, {0, 0, 10, 10}, none, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RectF intersection(1, 2, 3, 4);
        RectList pieces;
        pieces.Append(100, 100, 200, 200);  // emptied by the split
        c.rect.Split(c.cut, intersection, pieces);
        EXPECT_EQ(intersection, c.intersection);
        EXPECT_EQ(Rects(pieces), c.pieces);
    }
}

TEST(RectF, IntersectsOnlyWithAreaInCommon)
{
    struct Case {
        RectF a, b;
        bool expected;
    };
    const Case cases[] = {
        {{0, 0, 10, 10}, {5, 5, 15, 15}, true},    {{0, 0, 10, 10}, {10, 0, 20, 10}, false},
        {{0, 0, 10, 10}, {0, 10, 10, 20}, false},  {{0, 0, 10, 10}, {-5, -5, 0, 0}, false},
        {{0, 0, 10, 10}, {9.5f, 9.5f, 11, 11}, true}, {{0, 0, 10, 10}, {2, 2, 2, 8}, false},
        {{0, 0, 0, 0}, {-1, -1, 1, 1}, false},     {{0, 0, 10, 10}, {2, 2, 4, 4}, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RectF::Intersects(c.a, c.b), c.expected) << ::testing::PrintToString(c.a) << " "
                                                          << ::testing::PrintToString(c.b);
        EXPECT_EQ(RectF::Intersects(c.b, c.a), c.expected);
    }
}

TEST(RectList, SubtractLeavesThePiecesAndReportsTheRemovedPart)
{
    RectList list;
    list.Append(0, 0, 10, 10);
    RectList removed;
    removed.Append(50, 50, 60, 60);
    EXPECT_TRUE(list.Subtract(RectF(2, 2, 4, 4), &removed));
    EXPECT_EQ(Rects(list), (std::vector<RectF>{{0, 0, 2, 10}, {4, 0, 10, 10}, {2, 0, 4, 2}, {2, 4, 4, 10}}));
    EXPECT_EQ(Rects(removed), (std::vector<RectF>{{2, 2, 4, 4}}));
}

TEST(RectList, SubtractKeepsTheOrderAndCollectsEveryOverlap)
{
    RectList list;
    list.Append(0, 0, 10, 10);     // cut on its right
    list.Append(20, 0, 30, 10);    // missed
    list.Append(12, 20, 18, 30);   // covered
    RectList removed;
    EXPECT_TRUE(list.Subtract(RectF(5, -5, 19, 40), &removed));
    EXPECT_EQ(Rects(list), (std::vector<RectF>{{0, 0, 5, 10}, {20, 0, 30, 10}}));
    EXPECT_EQ(Rects(removed), (std::vector<RectF>{{5, 0, 10, 10}, {12, 20, 18, 30}}));
}

TEST(RectList, SubtractWithoutOverlapChangesNothing)
{
    RectList list;
    list.Append(0, 0, 10, 10);
    list.Append(20, 0, 30, 10);
    RectList removed;
    removed.Append(1, 1, 2, 2);
    EXPECT_FALSE(list.Subtract(RectF(10, 0, 20, 10), &removed));  // touches both
    EXPECT_EQ(Rects(list), (std::vector<RectF>{{0, 0, 10, 10}, {20, 0, 30, 10}}));
    EXPECT_EQ(removed.GetCount(), 0);
    // An empty cut is refused before anything is touched.
    removed.Append(1, 1, 2, 2);
    EXPECT_FALSE(list.Subtract(RectF(5, 5, 5, 5), &removed));
    EXPECT_EQ(removed.GetCount(), 1);
    EXPECT_FALSE(list.Subtract(RectF(5, 5, 5, 5)));
    EXPECT_EQ(list.GetCount(), 2);
}

TEST(RectList, AddRectCoversTheUnionWithoutOverlaps)
{
    struct Case {
        const char* name;
        std::vector<RectF> added;
        float area;
        RectF bounds;
    };
    const Case cases[] = {
        {"the same twice", {{0, 0, 10, 10}, {0, 0, 10, 10}}, 100, {0, 0, 10, 10}},
        {"crossing", {{0, 0, 10, 10}, {5, 5, 15, 15}}, 175, {0, 0, 15, 15}},
        {"plus sign", {{0, 4, 12, 8}, {4, 0, 8, 12}}, 80, {0, 0, 12, 12}},
        {"inside then around", {{4, 4, 6, 6}, {0, 0, 10, 10}}, 100, {0, 0, 10, 10}},
        {"apart", {{0, 0, 1, 1}, {5, 5, 7, 7}}, 5, {0, 0, 7, 7}},
        {"with an empty one", {{0, 0, 2, 2}, {1, 1, 1, 5}}, 4, {0, 0, 2, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RectList list;
        for (const RectF& r : c.added)
            list.AddRect(r.left, r.top, r.right, r.bottom);
        EXPECT_TRUE(NoOverlaps(list));
        EXPECT_FLOAT_EQ(Area(list), c.area);
        EXPECT_EQ(list.GetBounds(), c.bounds);
    }
    RectList twice;
    twice.AddRect(0, 0, 10, 10);
    twice.AddRect(0, 0, 10, 10);
    EXPECT_EQ(Rects(twice), (std::vector<RectF>{{0, 0, 10, 10}}));
}

TEST(RectList, EmptyListsHaveInvertedBoundsAndEmptyRectanglesAreNotStored)
{
    RectList list;
    EXPECT_TRUE(list.AllEmpty());
    RectF bounds = list.GetBounds();
    EXPECT_EQ(bounds, RectF(FLT_MAX, FLT_MAX, -FLT_MAX, -FLT_MAX));
    EXPECT_TRUE(bounds.IsEmpty());

    list.Append(3, 0, 3, 10);  // right = left
    list.Append(0, 5, 10, 4);  // bottom < top
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_TRUE(list.AllEmpty());
    list.Append(RectF(-2, -3, 1, 1));
    EXPECT_FALSE(list.AllEmpty());
    EXPECT_EQ(list.GetBounds(), RectF(-2, -3, 1, 1));
}

TEST(RectList, CopiesAreDeep)
{
    RectList list;
    list.Append(0, 0, 10, 10);
    RectList copy(list);
    list.Subtract(RectF(0, 0, 5, 10));
    EXPECT_EQ(Rects(copy), (std::vector<RectF>{{0, 0, 10, 10}}));
    copy = list;
    EXPECT_EQ(Rects(copy), (std::vector<RectF>{{5, 0, 10, 10}}));
}

}  // namespace
