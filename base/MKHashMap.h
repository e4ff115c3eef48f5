#pragma once
#include "base/MKHashKey.h"
#include "base/MKTArray.h"

// One entry of an MKHashMap. The value belongs to the map's owner.
struct MKHashNode {
    MKString key;
    uint32_t hash;
    int order;  // insertion index, 1 for the first entry ever inserted
    void* value;
    MKHashNode* next;  // next node of the same bucket
};

// The smallest of the 30 bucket-count primes (the largest prime below each
// power of two from 2^3 to 2^32) that is >= n; the largest one for bigger n.
uint32_t MKHashPrimeAtLeast(uint32_t n);

// String-keyed map with chained buckets that also records insertion order.
// Keys compare exactly. Values are plain pointers the map never owns, except
// through the disposing walks. Order indices are never reused: removing an entry
// leaves an empty slot in the order table, until Clear. One thread at a time.
class MKHashMap {
public:
    MKHashMap() = default;
    ~MKHashMap();
    MKHashMap(const MKHashMap&) = delete;
    MKHashMap& operator=(const MKHashMap&) = delete;

    int GetCount() const { return m_count; }
    uint32_t GetBucketCount() const { return m_bucketCount; }

    // Adds the key with the value and answers its order index. A key already
    // present keeps its value and answers its own index. -1 when memory runs out.
    int Set(const MKHashKey& key, void* value);
    MKHashNode* Find(const MKHashKey& key) const;
    // Removes the key; answers its value, null when absent.
    void* Remove(const MKHashKey& key);
    // Unlinks and deletes a node of this map.
    void RemoveNode(MKHashNode* node);
    // Deletes every node (values untouched); order indices keep counting.
    void RemoveAll();
    // RemoveAll, then frees the tables: the next entry gets order index 1 again.
    void Clear();

    // Walks the entries from the newest to the oldest, takes each value out of
    // its node and hands it to dispose, then clears the map. dispose may change
    // the map: the walk goes on below its current size.
    void DisposeAllValues(void (*dispose)(void* value));
    // DisposeAllValues for values that are MKRefClass objects: one release each.
    void ReleaseAllValues();

    // Insertion order: slots 1 .. GetOrderCount() - 1 hold the nodes, null for
    // removed ones.
    int GetOrderCount() const { return m_order.GetCount(); }
    MKHashNode* GetNodeAt(int order) const { return m_order.SafeGetAt(order); }

    // Gives the map `bucketCount` buckets (0: the first 31) and re-links every
    // node. False, leaving the map as it was, when memory runs out.
    bool Rehash(uint32_t bucketCount);

private:
    friend class MKHashMapIterator;

    MKHashNode** m_buckets = nullptr;
    uint32_t m_bucketCount = 0;
    MKTArray<MKHashNode*> m_order;
    int m_count = 0;
};

// Visits every node in bucket order (newest first within a bucket), not in
// insertion order. The node Next answered may be removed before the next call;
// any other change to the map ends the iteration's validity.
class MKHashMapIterator {
public:
    explicit MKHashMapIterator(const MKHashMap& map);

    // The current node, or null at the end.
    MKHashNode* Next();

private:
    void SkipEmptyBuckets();

    const MKHashMap& m_map;
    uint32_t m_bucket = 0;
    MKHashNode* m_node = nullptr;
};
