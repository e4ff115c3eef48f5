#pragma once
#include "base/MKAlloc.h"
#include "base/MKArrayGrowth.h"

#include <new>
#include <stdint.h>

// Growable array of objects (strings above all). The block, allocated through
// MKAlloc, holds `capacity` default-constructed elements; the slots past the
// count stay constructed and are reused by Add. An operation that has to grow
// answers false when memory runs out; Add then leaves the array as it was. T's
// default constructor, copy assignment and destructor must not throw. One thread
// at a time.
template <typename T>
class MKTOArray {
public:
    MKTOArray() = default;
    virtual ~MKTOArray() { FreeBlock(m_items, m_capacity); }
    MKTOArray(const MKTOArray&) = delete;
    MKTOArray& operator=(const MKTOArray&) = delete;

    int GetCount() const { return m_count; }
    int GetCapacity() const { return m_capacity; }
    bool IsEmpty() const { return m_count == 0; }
    T* GetData() { return m_items; }
    const T* GetData() const { return m_items; }
    T& operator[](int index) { return m_items[index]; }
    const T& operator[](int index) const { return m_items[index]; }

    // Appends a copy of the element, which may be one of this array's own.
    bool Add(const T& element);
    // Replaces the contents by n default-constructed elements (n < 0 counts as
    // 0); false, leaving the array empty, when memory runs out.
    bool Resize(int n);
    void RemoveAll() { Resize(0); }

private:
    static T* MakeBlock(int n);
    static void FreeBlock(T* block, int n);

    T* m_items = nullptr;
    int m_count = 0;
    int m_capacity = 0;
};

template <typename T>
T* MKTOArray<T>::MakeBlock(int n)
{
    if (n <= 0 || uint64_t(n) * sizeof(T) > SIZE_MAX)
        return nullptr;
    T* block = static_cast<T*>(MKAlloc(size_t(n) * sizeof(T)));
    if (block) {
        for (int i = 0; i < n; ++i)
            new (block + i) T();
    }
    return block;
}

template <typename T>
void MKTOArray<T>::FreeBlock(T* block, int n)
{
    if (!block)
        return;
    for (int i = 0; i < n; ++i)
        block[i].~T();
    MKFree(block);
}

template <typename T>
bool MKTOArray<T>::Add(const T& element)
{
    if (m_count < m_capacity) {
        m_items[m_count++] = element;
        return true;
    }
    if (m_count == INT32_MAX)
        return false;
    int grown = MKGrownCapacity(m_capacity, m_count + 1, 8);
    T* block = MakeBlock(grown);
    if (!block)
        return false;
    for (int i = 0; i < m_count; ++i)
        block[i] = m_items[i];
    // Before the old block goes: the element may be one of its slots.
    block[m_count] = element;
    FreeBlock(m_items, m_capacity);
    m_items = block;
    m_capacity = grown;
    ++m_count;
    return true;
}

template <typename T>
bool MKTOArray<T>::Resize(int n)
{
    FreeBlock(m_items, m_capacity);
    m_items = nullptr;
    m_count = 0;
    m_capacity = 0;
    if (n <= 0)
        return true;
    m_items = MakeBlock(n);
    if (!m_items)
        return false;
    m_count = n;
    m_capacity = n;
    return true;
}
