#include "base/MKSorter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdint.h>
#include <vector>

namespace {

class IntSorter : public MKSorter {
public:
    int Compare(void* a, void* b) override
    {
        intptr_t x = reinterpret_cast<intptr_t>(a), y = reinterpret_cast<intptr_t>(b);
        return x < y ? -1 : x > y ? 1 : 0;
    }
};

class ContradictingSorter : public MKSorter {
public:
    int Compare(void*, void*) override { return -1; }
};

std::vector<void*> Pointers(const std::vector<intptr_t>& values)
{
    std::vector<void*> items;
    for (intptr_t v : values)
        items.push_back(reinterpret_cast<void*>(v));
    return items;
}

TEST(Sorter, SortsLikeTheStandardLibrary)
{
    uint32_t seed = 12345;
    for (int size : {0, 1, 2, 3, 7, 50, 1000}) {
        for (int range : {3, 1000000}) {
            std::vector<intptr_t> values;
            for (int i = 0; i < size; ++i) {
                seed = seed * 1103515245 + 12345;
                values.push_back(intptr_t((seed >> 8) % unsigned(range)));
            }
            std::vector<void*> items = Pointers(values);
            IntSorter().QuickSort(items.data(), 0, size - 1);
            std::sort(values.begin(), values.end());
            EXPECT_EQ(Pointers(values), items) << size << "/" << range;
        }
    }
}

TEST(Sorter, SortsOnlyTheGivenRange)
{
    std::vector<void*> items = Pointers({9, 5, 4, 3, 0});
    IntSorter().QuickSort(items.data(), 1, 3);
    EXPECT_EQ(Pointers({9, 3, 4, 5, 0}), items);
}

TEST(Sorter, SortedAndReversedInput)
{
    std::vector<intptr_t> values;
    for (int i = 0; i < 5000; ++i)
        values.push_back(5000 - i);
    std::vector<void*> items = Pointers(values);
    IntSorter().QuickSort(items.data(), 0, 4999);
    std::sort(values.begin(), values.end());
    EXPECT_EQ(Pointers(values), items);
    IntSorter().QuickSort(items.data(), 0, 4999);
    EXPECT_EQ(Pointers(values), items);
}

TEST(Sorter, ContradictingComparisonStaysInsideTheRange)
{
    std::vector<void*> items = Pointers({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    std::vector<void*> guarded = items;
    ContradictingSorter().QuickSort(guarded.data() + 2, 0, 5);
    std::vector<void*> sortedPart(guarded.begin() + 2, guarded.begin() + 8);
    std::sort(sortedPart.begin(), sortedPart.end());
    EXPECT_EQ(std::vector<void*>(items.begin() + 2, items.begin() + 8), sortedPart);
    EXPECT_EQ(items[0], guarded[0]);
    EXPECT_EQ(items[9], guarded[9]);
}

}  // namespace
