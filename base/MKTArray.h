#pragma once
#include "base/MKAlloc.h"
#include "base/MKArrayGrowth.h"

#include <stdint.h>
#include <string.h>

// Growable array of plain items (bytes, integers, characters, pointers): items
// are copied bytewise and never constructed or destroyed. The array owns its
// block, allocated through MKAlloc. An operation that has to grow answers false
// when memory runs out and then leaves the array as it was. Pointers to items
// are invalidated by any operation that grows. One thread at a time.
template <typename T>
class MKTArray {
public:
    MKTArray() = default;
    virtual ~MKTArray() { MKFree(m_items); }
    MKTArray(const MKTArray&) = delete;
    MKTArray& operator=(const MKTArray&) = delete;

    int GetCount() const { return m_count; }
    int GetCapacity() const { return m_capacity; }
    bool IsEmpty() const { return m_count == 0; }
    T* GetData() { return m_items; }
    const T* GetData() const { return m_items; }
    T& operator[](int index) { return m_items[index]; }
    const T& operator[](int index) const { return m_items[index]; }

    // The item, or a zero item when the index is out of range.
    T SafeGetAt(int index) const { return (index < 0 || index >= m_count) ? T() : m_items[index]; }
    // First index holding the same value, -1 when absent.
    int IndexOf(T item) const;

    // Makes room for n items (8 at first, then half as much again each time).
    bool Reserve(int n);
    bool Add(T item);
    // Appends n items; the items may lie inside this array.
    bool AppendRange(const T* items, int n);
    // index < 0 counts as 0; index >= count appends.
    bool InsertAt(int index, T item);
    bool InsertRange(int index, const MKTArray& other);
    // Out-of-range indices are ignored; the range is clipped to the items.
    void RemoveAt(int index);
    void RemoveRange(int start, int n);
    // Replaces the items by n copies of items[0..n); shrinks the block when less
    // than half of it would be used.
    bool Assign(const T* items, int n);
    // Sets the count; new items are zero. n <= 0 frees the block; a smaller n
    // keeps the block. When the block cannot grow the array is left empty.
    bool SetSize(int n);
    // Moves the non-zero items forward in order and drops the rest.
    void Compact();
    void RemoveAll();

    // Takes over a block from MKAlloc that holds count items in room for
    // capacity (0 <= count <= capacity), freeing the array's own block; the
    // array frees the new one from then on. A null block empties the array.
    void Adopt(T* items, int count, int capacity);
    // Hands the block (null when there is none) to the caller, who frees it
    // with MKFree, and leaves the array empty. Read the count first.
    T* Detach();

protected:
    bool Reallocate(int capacity);
    bool GrowFor(int need, int first);
    bool Contains(const T* pointer) const
    {
        return m_items && reinterpret_cast<uintptr_t>(pointer) >= reinterpret_cast<uintptr_t>(m_items) &&
               reinterpret_cast<uintptr_t>(pointer) < reinterpret_cast<uintptr_t>(m_items + m_capacity);
    }

    T* m_items = nullptr;
    int m_count = 0;
    int m_capacity = 0;
};

typedef MKTArray<int32_t> MKIntArray;
typedef MKTArray<uint8_t> MKByteArray;
typedef MKTArray<void*> MKPtrArray;

template <typename T>
bool MKTArray<T>::Reallocate(int capacity)
{
    uint64_t bytes = uint64_t(capacity) * sizeof(T);
    if (capacity <= 0 || bytes > SIZE_MAX)
        return false;
    T* items = static_cast<T*>(MKRealloc(m_items, size_t(bytes)));
    if (!items)
        return false;
    m_items = items;
    m_capacity = capacity;
    return true;
}

template <typename T>
bool MKTArray<T>::GrowFor(int need, int first)
{
    return need <= m_capacity || Reallocate(MKGrownCapacity(m_capacity, need, first));
}

template <typename T>
int MKTArray<T>::IndexOf(T item) const
{
    for (int i = 0; i < m_count; ++i) {
        if (m_items[i] == item)
            return i;
    }
    return -1;
}

template <typename T>
bool MKTArray<T>::Reserve(int n)
{
    return GrowFor(n, 8);
}

template <typename T>
bool MKTArray<T>::Add(T item)
{
    // The item is a copy, so growing cannot pull it from under us.
    if (m_count == INT32_MAX || !GrowFor(m_count + 1, 8))
        return false;
    m_items[m_count++] = item;
    return true;
}

template <typename T>
bool MKTArray<T>::AppendRange(const T* items, int n)
{
    if (n <= 0)
        return n == 0;
    if (n > INT32_MAX - m_count)
        return false;
    ptrdiff_t inside = Contains(items) ? items - m_items : -1;
    if (!GrowFor(m_count + n, 0))
        return false;
    if (inside >= 0)
        items = m_items + inside;
    memcpy(m_items + m_count, items, size_t(n) * sizeof(T));
    m_count += n;
    return true;
}

template <typename T>
bool MKTArray<T>::InsertAt(int index, T item)
{
    if (index < 0)
        index = 0;
    if (index >= m_count)
        return Add(item);
    if (!GrowFor(m_count + 1, 0))
        return false;
    memmove(m_items + index + 1, m_items + index, size_t(m_count - index) * sizeof(T));
    m_items[index] = item;
    ++m_count;
    return true;
}

template <typename T>
bool MKTArray<T>::InsertRange(int index, const MKTArray& other)
{
    int n = other.m_count;
    if (n == 0)
        return true;
    if (index < 0)
        index = 0;
    if (index >= m_count)
        return AppendRange(other.m_items, n);
    if (n > INT32_MAX - m_count || !GrowFor(m_count + n, 0))
        return false;
    int tail = m_count - index;
    memmove(m_items + index + n, m_items + index, size_t(tail) * sizeof(T));
    if (&other == this) {
        // Our own items now stand before the gap and behind it.
        memcpy(m_items + index, m_items, size_t(index) * sizeof(T));
        memcpy(m_items + 2 * index, m_items + index + n, size_t(tail) * sizeof(T));
    } else {
        memcpy(m_items + index, other.m_items, size_t(n) * sizeof(T));
    }
    m_count += n;
    return true;
}

template <typename T>
void MKTArray<T>::RemoveAt(int index)
{
    if (index < 0 || index >= m_count)
        return;
    memmove(m_items + index, m_items + index + 1, size_t(m_count - index - 1) * sizeof(T));
    --m_count;
}

template <typename T>
void MKTArray<T>::RemoveRange(int start, int n)
{
    int64_t end = int64_t(start) + n;
    if (end <= 0 || start >= m_count || start >= end)
        return;
    if (start < 0)
        start = 0;
    if (end > m_count)
        end = m_count;
    memmove(m_items + start, m_items + end, size_t(m_count - end) * sizeof(T));
    m_count -= int(end) - start;
}

template <typename T>
bool MKTArray<T>::Assign(const T* items, int n)
{
    if (n <= 0) {
        RemoveAll();
        return true;
    }
    if (n > m_capacity) {
        if (!Reallocate(n))
            return false;
        memcpy(m_items, items, size_t(n) * sizeof(T));
    } else {
        memmove(m_items, items, size_t(n) * sizeof(T));
        if (n < m_capacity - m_capacity / 2)
            Reallocate(n);  // a failed shrink keeps the larger block
    }
    m_count = n;
    return true;
}

template <typename T>
bool MKTArray<T>::SetSize(int n)
{
    if (n <= 0) {
        RemoveAll();
        return true;
    }
    if (n > m_capacity && !Reallocate(n)) {
        // Callers size the array to fill it: an array of the old size must
        // not pass for one of the new.
        RemoveAll();
        return false;
    }
    if (n > m_count)
        memset(static_cast<void*>(m_items + m_count), 0, size_t(n - m_count) * sizeof(T));
    m_count = n;
    return true;
}

template <typename T>
void MKTArray<T>::Compact()
{
    int kept = 0;
    for (int i = 0; i < m_count; ++i) {
        if (m_items[i] != T())
            m_items[kept++] = m_items[i];
    }
    SetSize(kept);
}

template <typename T>
void MKTArray<T>::RemoveAll()
{
    MKFree(m_items);
    m_items = nullptr;
    m_count = 0;
    m_capacity = 0;
}

template <typename T>
void MKTArray<T>::Adopt(T* items, int count, int capacity)
{
    if (items != m_items)
        MKFree(m_items);
    m_items = items;
    m_count = items ? count : 0;
    m_capacity = items ? capacity : 0;
}

template <typename T>
T* MKTArray<T>::Detach()
{
    T* items = m_items;
    m_items = nullptr;
    m_count = 0;
    m_capacity = 0;
    return items;
}
