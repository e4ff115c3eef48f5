#pragma once
#include "base/MKRefHolder.h"
#include "base/MKTArray.h"

#include <stdint.h>

class MKValue;

// The first of 72 primes (3 .. 7199369) that is >= n; beyond them the first odd
// number >= n without a divisor (n itself when none is found below 2^31).
uint32_t MKNextHashPrime(uint32_t n);

// Map from 32-bit keys to value nodes, holding one reference on each node.
// Prime-sized buckets chain entries kept in slots; removed slots are reused by
// the next insertion before the map grows (to the prime after twice the slots
// in use), so iteration goes in slot order, which is insertion order until a
// key is removed. Operations that grow answer false, leaving the map as it was,
// when memory runs out. One thread at a time.
class MKIntHashMap {
public:
    MKIntHashMap() = default;
    ~MKIntHashMap();
    MKIntHashMap(const MKIntHashMap&) = delete;
    MKIntHashMap& operator=(const MKIntHashMap&) = delete;

    // Drops every entry and sizes the buckets (and slots) to MKNextHashPrime(n).
    bool Init(int n);
    // The slot of the key, -1 when absent.
    int Find(uint32_t key) const;
    // The node without a reference taken (the map keeps it alive), or null.
    MKValue* Lookup(uint32_t key) const;
    // out takes a reference on the node; false (out emptied) when absent.
    bool Get(uint32_t key, MKRefHolder<MKValue>& out) const;
    // Stores the node (one reference taken), replacing and releasing an old one.
    bool Set(uint32_t key, MKValue* node);
    // Releases the key's node and frees its slot; false when absent.
    bool Remove(uint32_t key);

    // Live entries.
    int GetCount() const { return m_entries.GetCount() - m_freeCount; }
    int GetBucketCount() const { return m_buckets.GetCount(); }
    // Iteration: slots 0 .. GetSlotCount() - 1; false for a free slot.
    int GetSlotCount() const { return m_entries.GetCount(); }
    bool GetSlot(int slot, uint32_t* key, MKValue** node) const;

private:
    struct Entry {
        int32_t hash;  // key & 0x7FFFFFFF, -1 while the slot is free
        int32_t next;  // next slot of the bucket chain or of the free list
        uint32_t key;
        MKValue* node;
    };

    // Re-chains every used slot into `size` buckets.
    bool Rebuild(int size);
    void ReleaseAll();

    MKIntArray m_buckets;
    MKTArray<Entry> m_entries;  // count = slots used so far (live and free)
    int m_slotCapacity = 0;     // slots before the map grows: the bucket count
    int m_freeCount = 0;
    int m_freeHead = -1;
};
