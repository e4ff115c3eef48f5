#pragma once
#include <atomic>
#include <cstddef>

// Fixed-size slots for small objects made and freed by the hundred thousand
// (a long movie's actions), carved from 64 KiB slabs: a slot costs a pointer
// pop under a spin lock instead of a heap request. Freed slots are reused;
// once every slot is free again (the movies that held them are gone) the
// slabs go back to the heap but the first, so nothing outlives its movies
// for long and a lone object made and freed per frame costs no heap call.
// Objects keep their own lifetimes; any thread may allocate or free.
class PVSlabPool {
public:
    static constexpr size_t kSlabSize = 64u << 10;

    explicit constexpr PVSlabPool(size_t slotSize) : slotSize_((slotSize + 7) & ~size_t{7}) {}
    PVSlabPool(const PVSlabPool&) = delete;
    PVSlabPool& operator=(const PVSlabPool&) = delete;

    size_t SlotSize() const { return slotSize_; }
    // A slot of SlotSize() bytes, 8-aligned; null when no slab can be had.
    void* Allocate()
    {
        Lock();
        void* slot = free_;
        if (slot) {
            free_ = *static_cast<void**>(slot);
        } else if (static_cast<size_t>(end_ - unused_) >= slotSize_) {
            slot = unused_;
            unused_ += slotSize_;
        } else if (!(slot = SlotOfNewSlab())) {
            Unlock();
            return nullptr;
        }
        ++live_;
        Unlock();
        return slot;
    }
    // `slot` came from Allocate of this pool (null is ignored).
    void Free(void* slot);
    // Slabs held now (for tests).
    int SlabCount() const;

private:
    struct Slab {
        Slab* next;
    };
    static constexpr size_t kHeader = 8;  // a Slab, rounded to keep slots 8-aligned

    void Lock() const
    {
        if (locked_.exchange(true, std::memory_order_acquire))
            WaitForLock();
    }
    void WaitForLock() const;
    // Starts a new slab and hands out its first slot; null when no slab can
    // be had. Called with the lock held.
    void* SlotOfNewSlab();
    void Unlock() const { locked_.store(false, std::memory_order_release); }
    void ReleaseSpareSlabs();

    const size_t slotSize_;
    mutable std::atomic<bool> locked_{false};
    Slab* slabs_ = nullptr;  // newest first
    void* free_ = nullptr;   // freed slots, linked through their first word
    char* unused_ = nullptr; // slots of the newest slab never handed out
    char* end_ = nullptr;
    size_t live_ = 0;
};
