#include "player/engine/PVSlabPool.h"

#include <windows.h>

#include <cstdlib>

void PVSlabPool::WaitForLock() const
{
    // Held for a few instructions only, so a waiter yields rather than sleeps.
    do {
        while (locked_.load(std::memory_order_relaxed))
            SwitchToThread();
    } while (locked_.exchange(true, std::memory_order_acquire));
}

void* PVSlabPool::SlotOfNewSlab()
{
    auto* slab = static_cast<Slab*>(std::malloc(kSlabSize));
    if (!slab)
        return nullptr;
    slab->next = slabs_;
    slabs_ = slab;
    unused_ = reinterpret_cast<char*>(slab) + kHeader + slotSize_;
    end_ = reinterpret_cast<char*>(slab) + kSlabSize;
    return reinterpret_cast<char*>(slab) + kHeader;
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
