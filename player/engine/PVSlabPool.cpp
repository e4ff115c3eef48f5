#include "player/engine/PVSlabPool.h"

#include <windows.h>

#include <cstdlib>

void PVSlabPool::Lock() const
{
    // Held for a few instructions only, so a waiter yields rather than sleeps.
    while (locked_.exchange(true, std::memory_order_acquire)) {
        while (locked_.load(std::memory_order_relaxed))
            SwitchToThread();
    }
}

void* PVSlabPool::Allocate()
{
    Lock();
    void* slot = free_;
    if (slot) {
        free_ = *static_cast<void**>(slot);
    } else {
        if (static_cast<size_t>(end_ - unused_) < slotSize_) {
            auto* slab = static_cast<Slab*>(std::malloc(kSlabSize));
            if (!slab) {
                Unlock();
                return nullptr;
            }
            slab->next = slabs_;
            slabs_ = slab;
            unused_ = reinterpret_cast<char*>(slab) + kHeader;
            end_ = reinterpret_cast<char*>(slab) + kSlabSize;
        }
        slot = unused_;
        unused_ += slotSize_;
    }
    ++live_;
    Unlock();
    return slot;
}

void PVSlabPool::Free(void* slot)
{
    if (!slot)
        return;
    Lock();
    *static_cast<void**>(slot) = free_;
    free_ = slot;
    if (--live_ == 0)
        ReleaseSpareSlabs();
    Unlock();
}

void PVSlabPool::ReleaseSpareSlabs()
{
    static_assert(sizeof(Slab) <= kHeader && kHeader % 8 == 0);
    // Every slot is free: the free list only names slots of these slabs.
    Slab* keep = slabs_;
    if (!keep)
        return;
    for (Slab* slab = keep->next; slab;) {
        Slab* next = slab->next;
        std::free(slab);
        slab = next;
    }
    keep->next = nullptr;
    free_ = nullptr;
    unused_ = reinterpret_cast<char*>(keep) + kHeader;
    end_ = reinterpret_cast<char*>(keep) + kSlabSize;
}

int PVSlabPool::SlabCount() const
{
    Lock();
    int count = 0;
    for (Slab* slab = slabs_; slab; slab = slab->next)
        ++count;
    Unlock();
    return count;
}
