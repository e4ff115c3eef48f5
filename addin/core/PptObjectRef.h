#pragma once
#include <windows.h>
#include <unknwn.h>

#include <stdint.h>

#include <type_traits>

#include "base/MKComHolder.h"
#include "hostapi/PowerPointInterfaces.h"

// Holds one object of PowerPoint's object model with one reference: the base
// of the typed wrappers (PptPresentationRef, PptShapeRef, PptAnimationRef,
// PptTimingRef) and the holder of collections, whose members any holder
// offers. Each member asks the held object for the interface it needs, so a
// holder of the wrong kind of object, an empty holder and a failing
// PowerPoint member all give the member's false or default answer: nothing
// raises. Getters that fill another holder release what it held first.
// PowerPoint's user-interface thread only.
class PptObjectRef {
public:
    PptObjectRef() = default;
    ~PptObjectRef() { Release(); }
    PptObjectRef(const PptObjectRef&) = delete;
    PptObjectRef& operator=(const PptObjectRef&) = delete;

    IUnknown* Get() const { return m_object; }
    bool IsEmpty() const { return m_object == nullptr; }
    // Takes a reference of its own on the object, then lets the old one go.
    void Assign(IUnknown* object);
    // Takes over the caller's reference.
    void Attach(IUnknown* object);
    void Release();

    // Collections: Sequence or AnimationBehaviors by 1-based index; Shapes,
    // GroupShapes, Slides or Presentations by a VT_I4 index.
    bool GetItem(int index, PptObjectRef& out) const;
    bool GetItemByVariant(int index, PptObjectRef& out) const;
    int32_t GetCount() const;  // 0
    // The member after Application and Parent: an effect's Shape, a time
    // line's MainSequence.
    bool GetFirstObject(PptObjectRef& out) const;

    // The held object's interface; false (out empty) when absent.
    template <class I>
    bool Query(const IID& iid, MKComHolder<I>& out) const;

protected:
    // What the getter of the held object's interface I answers; fallback
    // when the object is no I or the getter fails.
    template <class I, class T>
    T QueryValue(const IID& iid, HRESULT (STDMETHODCALLTYPE I::*getter)(T*), std::type_identity_t<T> fallback) const;
    // out = the object the getter of the held object's interface I answers;
    // false (out empty) when the object is no I or the getter answers none.
    template <class I, class Child>
    bool QueryChild(const IID& iid, HRESULT (STDMETHODCALLTYPE I::*getter)(Child**), PptObjectRef& out) const;

private:
    IUnknown* m_object = nullptr;
};

// The interface a PowerPoint getter wrote to *slot (one reference) into a
// holder. The slot is read only after the call: pass its address.
template <class I>
bool PptFetched(HRESULT hr, I** slot, MKComHolder<I>& out)
{
    I* object = *slot;
    out.Attach(SUCCEEDED(hr) ? object : nullptr);
    if (FAILED(hr) && object)
        object->Release();
    return out.Get() != nullptr;
}

// Same for a PptObjectRef.
template <class I>
bool PptFetched(HRESULT hr, I** slot, PptObjectRef& out)
{
    I* object = *slot;
    if (FAILED(hr)) {
        if (object)
            object->Release();
        out.Release();
        return false;
    }
    out.Attach(object);
    return object != nullptr;
}

template <class I>
bool PptObjectRef::Query(const IID& iid, MKComHolder<I>& out) const
{
    out.Release();
    if (!m_object)
        return false;
    I* found = nullptr;
    if (FAILED(m_object->QueryInterface(iid, reinterpret_cast<void**>(&found))))
        return false;
    out.Attach(found);
    return found != nullptr;
}

template <class I, class T>
T PptObjectRef::QueryValue(const IID& iid, HRESULT (STDMETHODCALLTYPE I::*getter)(T*),
                           std::type_identity_t<T> fallback) const
{
    MKComHolder<I> object;
    T value{};
    if (!Query(iid, object) || FAILED((object.Get()->*getter)(&value)))
        return fallback;
    return value;
}

template <class I, class Child>
bool PptObjectRef::QueryChild(const IID& iid, HRESULT (STDMETHODCALLTYPE I::*getter)(Child**),
                              PptObjectRef& out) const
{
    MKComHolder<I> object;
    if (!Query(iid, object)) {
        out.Release();
        return false;
    }
    Child* child = nullptr;
    return PptFetched((object.Get()->*getter)(&child), &child, out);
}
