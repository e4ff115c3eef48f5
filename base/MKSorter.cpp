#include "base/MKSorter.h"

void MKSorter::QuickSort(void** items, int first, int last)
{
    while (first < last) {
        void* pivot = items[first + (last - first) / 2];
        int low = first;
        int high = last;
        // The bounds only matter for a comparison that contradicts itself; a
        // consistent one always stops at the pivot or a swapped item.
        do {
            while (low < last && Compare(items[low], pivot) < 0)
                ++low;
            while (high > first && Compare(pivot, items[high]) < 0)
                --high;
            if (low <= high) {
                void* swap = items[low];
                items[low] = items[high];
                items[high] = swap;
                ++low;
                --high;
            }
        } while (low <= high);
        // Recursing into the smaller part keeps the stack depth logarithmic.
        if (high - first < last - low) {
            QuickSort(items, first, high);
            first = low;
        } else {
            QuickSort(items, low, last);
            last = high;
        }
    }
}
