#pragma once
#include <unknwn.h>

// Holds one reference on a COM interface (or nothing) and releases it on
// destruction. Copies take a reference of their own.
template <typename I>
class MKComHolder {
public:
    MKComHolder() = default;
    explicit MKComHolder(I* pointer) : m_pointer(pointer)
    {
        if (m_pointer)
            m_pointer->AddRef();
    }
    MKComHolder(const MKComHolder& other) : MKComHolder(other.m_pointer) {}
    MKComHolder& operator=(const MKComHolder& other)
    {
        Assign(other.m_pointer);
        return *this;
    }
    ~MKComHolder() { Release(); }

    I* Get() const { return m_pointer; }
    I* operator->() const { return m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }

    // AddRef on the new pointer before the old one is released, so assigning
    // the held pointer again is harmless.
    void Assign(I* pointer)
    {
        if (pointer)
            pointer->AddRef();
        I* old = m_pointer;
        m_pointer = pointer;
        if (old)
            old->Release();
    }
    // Takes over a reference the caller owns (an out parameter's).
    void Attach(I* pointer)
    {
        I* old = m_pointer;
        m_pointer = pointer;
        if (old)
            old->Release();
    }
    // Empties the holder, then releases what it held.
    void Release()
    {
        I* old = m_pointer;
        m_pointer = nullptr;
        if (old)
            old->Release();
    }

private:
    I* m_pointer = nullptr;
};
