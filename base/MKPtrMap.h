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
    int Count() const { return count_; }

    // Visits every entry; the callback must not change the map.
    template <class Visit>
    void ForEach(Visit&& visit) const
    {
        if (!table_)
            return;
        for (int i = 0; i < tableSize_; ++i)
            for (Assoc* assoc = table_[i]; assoc; assoc = assoc->next)
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
        // blockSize_ associations follow
    };

    unsigned BucketOf(void* key) const;
    Assoc* GetAssocAt(void* key) const;
    Assoc* NewAssoc();

    Assoc** table_ = nullptr;
    int count_ = 0;
    Assoc* free_ = nullptr;
    Block* blocks_ = nullptr;
    int tableSize_ = 17;
    int blockSize_;
};
