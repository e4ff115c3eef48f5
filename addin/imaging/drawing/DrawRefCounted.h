#pragma once
#include <windows.h>

// Root of drawing objects that paints, pictures and plug-in handles share.
// Counts are locked, because plug-ins release their handles from any thread;
// a new object carries one reference, its creator's.
class DrawRefCounted {
public:
    DrawRefCounted() = default;
    DrawRefCounted(const DrawRefCounted&) = delete;
    DrawRefCounted& operator=(const DrawRefCounted&) = delete;

    void AddRef() const { InterlockedIncrement(&m_refs); }
    void Release() const
    {
        if (InterlockedDecrement(&m_refs) == 0)
            delete this;
    }

protected:
    virtual ~DrawRefCounted() = default;

private:
    mutable volatile LONG m_refs = 1;
};

// Replaces the reference in `slot` by one on `object` (null allowed).
template <class T>
void AssignRef(T*& slot, T* object)
{
    if (object)
        object->AddRef();
    if (slot)
        slot->Release();
    slot = object;
}
