#pragma once
#include <atomic>

// The count shared by the engine's counted objects (characters, actions,
// movies, clips): each holder adds one, and the release that brings the
// count below 1 deletes the object as a `Derived`, whose destructor must be
// virtual where subclasses are released through it. The count is atomic:
// the audio thread holds and releases the sound it plays.
template <class Derived>
class PVCounted {
public:
    int RefCount() const { return refCount_; }
    void AddRef() { refCount_.fetch_add(1, std::memory_order_relaxed); }
    // AddRef for an object just made, that no other thread can reach yet:
    // a plain store instead of a locked add.
    void AddFirstRef() { refCount_.store(refCount_.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed); }
    void Release()
    {
        if (refCount_.fetch_sub(1, std::memory_order_acq_rel) - 1 < 1)
            delete static_cast<Derived*>(this);
    }

protected:
    explicit PVCounted(int count = 0) : refCount_(count) {}
    ~PVCounted() = default;

private:
    std::atomic<int> refCount_;
};

// Points `holder` at `object` (either may be null) with a reference of its
// own, then releases the object it held before.
template <class T>
void PVHold(T*& holder, T* object)
{
    if (object == holder)
        return;
    if (object)
        object->AddRef();
    T* old = holder;
    holder = object;
    if (old)
        old->Release();
}

// Releases every object an array of holders (Count, operator[]) holds,
// nulling each slot before its release: a release may reach the array.
template <class Array>
void PVReleaseEach(Array& holders)
{
    for (int i = 0; i < holders.Count(); ++i) {
        if (auto* object = holders[i]) {
            holders[i] = nullptr;
            object->Release();
        }
    }
}
