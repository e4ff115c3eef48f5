#pragma once
#include <stdint.h>

// The growth rule of the growable arrays: the capacity for a need above the
// current capacity grows by half, to at least the need, and starts at `first`
// for an array without a block; it never passes INT32_MAX.
inline int MKGrownCapacity(int capacity, int need, int first)
{
    int64_t grown = capacity == 0 ? first : int64_t(capacity) + capacity / 2;
    if (grown < need)
        grown = need;
    return grown > INT32_MAX ? INT32_MAX : int(grown);
}
