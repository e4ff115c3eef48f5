#pragma once

// Sorts arrays of pointers in place with a comparison supplied by a derived
// class. Not stable: equal items may change places.
class MKSorter {
public:
    MKSorter() = default;
    virtual ~MKSorter() = default;
    MKSorter(const MKSorter&) = delete;
    MKSorter& operator=(const MKSorter&) = delete;

    // Negative, 0 or positive as a sorts before, with or after b.
    virtual int Compare(void* a, void* b) = 0;

    // Sorts items[first..last] (both included); nothing when first >= last.
    void QuickSort(void** items, int first, int last);
};
