#pragma once

// Pointer-keyed hash map of pointer values, with a fixed table of 17 buckets.
// Entries come from blocks of `blockSize` allocated together (MKAlloc) and go
// back to a free list on removal; the last removal frees table and blocks.
// Neither keys nor values are owned. One thread at a time.
class MKPtrMap {
public:
    explicit MKPtrMap(int blockSize = 10);
    ~MKPtrMap();
    MKPtrMap(const MKPtrMap&) = delete;
    MKPtrMap& operator=(const MKPtrMap&) = delete;

    // The value of the key, or null when absent.
    void* Lookup(void* key) const;
    // The value slot of the key, made (holding null) when the key is new; null
    // when memory runs out.
    void** ValueAt(void* key);
    // False when the key was absent.
    bool RemoveKey(void* key);
    void RemoveAll();
    int Count() const { return m_count; }

    // Visits every entry; the callback must not change the map.
    template <class Visit>
    void ForEach(Visit&& visit) const
    {
        if (!m_table)
            return;
        for (int i = 0; i < m_tableSize; ++i)
            for (Assoc* assoc = m_table[i]; assoc; assoc = assoc->next)
                visit(assoc->key, assoc->value);
    }

private:
    struct Assoc {
        Assoc* next;
        void* key;
        void* value;
    };
    struct Block {
        Block* next;
        // m_blockSize associations follow
    };

    unsigned BucketOf(void* key) const;
    Assoc* GetAssocAt(void* key) const;
    Assoc* NewAssoc();

    Assoc** m_table = nullptr;
    int m_count = 0;
    Assoc* m_free = nullptr;
    Block* m_blocks = nullptr;
    int m_tableSize = 17;
    int m_blockSize;
};
