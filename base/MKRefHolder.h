#pragma once
#include "base/MKRefClass.h"

// Holds one reference on an MKRefClass object, or on anything else counted by
// AddRef and Release (or nothing). Copies share the object and take a
// reference of their own.
template <typename T = MKRefClass>
class MKRefHolder {
public:
    MKRefHolder() = default;
    MKRefHolder(const MKRefHolder& other) { AssignPointer(other.m_object); }
    MKRefHolder& operator=(const MKRefHolder& other)
    {
        CopyFrom(other);
        return *this;
    }
    ~MKRefHolder() { Reset(); }

    T* Get() const { return m_object; }
    T* operator->() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }

    // Takes a reference on the new object before dropping the old one, so an
    // object that only the old one kept alive survives; the same pointer changes
    // nothing.
    void AssignPointer(T* object)
    {
        if (object == m_object)
            return;
        if (object)
            object->AddRef();
        T* old = m_object;
        m_object = object;
        if (old)
            old->Release();
    }
    void CopyFrom(const MKRefHolder& other) { AssignPointer(other.m_object); }
    // Takes over the caller's reference (a new object's first one) and drops the
    // one held before.
    void Attach(T* object)
    {
        T* old = m_object;
        m_object = object;
        if (old)
            old->Release();
    }
    // Empties the holder first, then drops the reference, so the object's
    // destructor already sees an empty holder.
    void Reset()
    {
        T* old = m_object;
        m_object = nullptr;
        if (old)
            old->Release();
    }
    void Release() { Reset(); }

private:
    T* m_object = nullptr;
};
