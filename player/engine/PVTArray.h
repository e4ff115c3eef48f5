#pragma once
#include <climits>
#include <type_traits>

#include "base/MKTArray.h"

// The engine's growable array of plain values or pointers: the base library's
// block and growth rule under the engine's names. It frees its own buffer
// only: owners release what pointer items point to first. Every operation
// that allocates answers false on failure and leaves the array as it was.
template <typename T>
class PVTArray : private MKTArray<T> {
    static_assert(std::is_trivially_copyable_v<T>, "items are moved with realloc");

public:
    PVTArray() = default;
    PVTArray(const PVTArray&) = delete;
    PVTArray& operator=(const PVTArray&) = delete;

    int Count() const { return this->m_count; }
    int Capacity() const { return this->m_capacity; }
    T* Data() { return this->m_items; }
    const T* Data() const { return this->m_items; }
    T& operator[](int i) { return this->m_items[i]; }
    const T& operator[](int i) const { return this->m_items[i]; }

    // Grows the capacity by half (8 from empty, at least n) when n exceeds
    // it, then sets the count. New items are not cleared.
    bool SetCount(int n)
    {
        if (n < 0)
            n = 0;
        if (!Fits(n) || !this->GrowFor(n, 8))
            return false;
        this->m_count = n;
        return true;
    }

    // Makes room for n items without changing the count.
    bool Reserve(int n) { return n <= this->m_capacity || (Fits(n) && this->Reallocate(n)); }

    // Makes `index` (>= 0) valid: a count not above it grows to index + 1
    // (growth rule of SetCount) with the new items set to `fill`.
    bool Reach(int index, const T& fill)
    {
        const int oldCount = this->m_count;
        if (index < oldCount)
            return true;
        if (!SetCount(index + 1))
            return false;
        for (int i = oldCount; i <= index; ++i)
            this->m_items[i] = fill;
        return true;
    }

    // Replaces the buffer with exactly n items (n < 0 counts as 0); on
    // failure the array is empty.
    bool Allocate(int n)
    {
        this->RemoveAll();
        if (n <= 0)
            return true;
        if (!Fits(n) || !this->Reallocate(n))
            return false;
        this->m_count = n;
        return true;
    }

    // Cuts the count to at most n and shrinks the buffer to the count; n <= 0
    // frees everything.
    void Trim(int n)
    {
        if (n <= 0 || this->m_count == 0) {
            this->RemoveAll();
            return;
        }
        if (n < this->m_count)
            this->m_count = n;
        if (this->m_capacity > this->m_count)
            this->Reallocate(this->m_count);
    }

    // Appends one item (growth rule of SetCount).
    bool Add(const T& item)
    {
        if (!SetCount(this->m_count + 1))
            return false;
        this->m_items[this->m_count - 1] = item;
        return true;
    }

private:
    // The engine keeps every buffer below 2 GB.
    static bool Fits(int n) { return static_cast<unsigned>(n) <= INT_MAX / sizeof(T); }
};
