#pragma once
#include <climits>
#include <cstdlib>
#include <type_traits>

// The engine's growable array of plain values or pointers. It frees its own
// buffer only: owners release what pointer items point to first. Every
// operation that allocates answers false on failure and leaves the array as
// it was.
template <typename T>
class PVTArray {
    static_assert(std::is_trivially_copyable_v<T>, "items are moved with realloc");

public:
    PVTArray() = default;
    virtual ~PVTArray() { std::free(items_); }
    PVTArray(const PVTArray&) = delete;
    PVTArray& operator=(const PVTArray&) = delete;

    int Count() const { return count_; }
    int Capacity() const { return capacity_; }
    T* Data() { return items_; }
    const T* Data() const { return items_; }
    T& operator[](int i) { return items_[i]; }
    const T& operator[](int i) const { return items_[i]; }

    // Grows the capacity by half (8 from empty, at least n) when n exceeds
    // it, then sets the count. New items are not cleared.
    bool SetCount(int n)
    {
        if (n < 0)
            n = 0;
        if (n > capacity_) {
            int grown = capacity_ == 0 ? 8 : capacity_ + capacity_ / 2;
            if (grown < n || grown < capacity_)
                grown = n;
            if (!Reserve(grown))
                return false;
        }
        count_ = n;
        return true;
    }

    // Makes `index` (>= 0) valid: a count not above it grows to index + 1
    // (growth rule of SetCount) with the new items set to `fill`.
    bool Reach(int index, const T& fill)
    {
        const int oldCount = count_;
        if (index < oldCount)
            return true;
        if (!SetCount(index + 1))
            return false;
        for (int i = oldCount; i <= index; ++i)
            items_[i] = fill;
        return true;
    }

    // Replaces the buffer with exactly n items (n < 0 counts as 0); on
    // failure the array is empty.
    bool Allocate(int n)
    {
        std::free(items_);
        items_ = nullptr;
        count_ = capacity_ = 0;
        if (n <= 0)
            return true;
        if (!Reserve(n))
            return false;
        count_ = n;
        return true;
    }

    // Cuts the count to at most n and shrinks the buffer to the count; n <= 0
    // frees everything.
    void Trim(int n)
    {
        if (n <= 0 || count_ == 0) {
            std::free(items_);
            items_ = nullptr;
            count_ = capacity_ = 0;
            return;
        }
        if (n < count_)
            count_ = n;
        if (capacity_ > count_) {
            if (T* shrunk = static_cast<T*>(std::realloc(items_, sizeof(T) * count_))) {
                items_ = shrunk;
                capacity_ = count_;
            }
        }
    }

    // Appends one item (growth rule of SetCount).
    bool Add(const T& item)
    {
        if (!SetCount(count_ + 1))
            return false;
        items_[count_ - 1] = item;
        return true;
    }

private:
    bool Reserve(int n)
    {
        if (static_cast<unsigned>(n) > INT_MAX / sizeof(T))
            return false;
        T* grown = static_cast<T*>(std::realloc(items_, sizeof(T) * n));
        if (!grown)
            return false;
        items_ = grown;
        capacity_ = n;
        return true;
    }

    T* items_ = nullptr;
    int count_ = 0;
    int capacity_ = 0;
};
