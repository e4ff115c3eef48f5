#include "base/MKPtrMap.h"

#include <stdint.h>
#include <string.h>

#include "base/MKAlloc.h"

MKPtrMap::MKPtrMap(int blockSize) : blockSize_(blockSize > 0 ? blockSize : 10) {}

MKPtrMap::~MKPtrMap()
{
    RemoveAll();
}

unsigned MKPtrMap::BucketOf(void* key) const
{
    // Low bits of heap and handle values carry little: alignment.
    return static_cast<unsigned>(reinterpret_cast<uintptr_t>(key) >> 4) % static_cast<unsigned>(tableSize_);
}

MKPtrMap::Assoc* MKPtrMap::GetAssocAt(void* key) const
{
    if (!table_)
        return nullptr;
    for (Assoc* assoc = table_[BucketOf(key)]; assoc; assoc = assoc->next)
        if (assoc->key == key)
            return assoc;
    return nullptr;
}

void* MKPtrMap::Lookup(void* key) const
{
    Assoc* assoc = GetAssocAt(key);
    return assoc ? assoc->value : nullptr;
}

MKPtrMap::Assoc* MKPtrMap::NewAssoc()
{
    if (!free_) {
        auto* block = static_cast<Block*>(MKAlloc(sizeof(Block) + sizeof(Assoc) * blockSize_));
        if (!block)
            return nullptr;
        block->next = blocks_;
        blocks_ = block;
        auto* assocs = reinterpret_cast<Assoc*>(block + 1);
        for (int i = blockSize_ - 1; i >= 0; --i) {
            assocs[i].next = free_;
            free_ = &assocs[i];
        }
    }
    Assoc* assoc = free_;
    free_ = assoc->next;
    return assoc;
}

void** MKPtrMap::ValueAt(void* key)
{
    if (Assoc* assoc = GetAssocAt(key))
        return &assoc->value;
    if (!table_) {
        table_ = static_cast<Assoc**>(MKAlloc(sizeof(Assoc*) * tableSize_));
        if (!table_)
            return nullptr;
        memset(table_, 0, sizeof(Assoc*) * tableSize_);
    }
    Assoc* assoc = NewAssoc();
    if (!assoc)
        return nullptr;
    unsigned bucket = BucketOf(key);
    assoc->key = key;
    assoc->value = nullptr;
    assoc->next = table_[bucket];
    table_[bucket] = assoc;
    ++count_;
    return &assoc->value;
}

bool MKPtrMap::RemoveKey(void* key)
{
    if (!table_)
        return false;
    for (Assoc** link = &table_[BucketOf(key)]; *link; link = &(*link)->next) {
        Assoc* assoc = *link;
        if (assoc->key != key)
            continue;
        *link = assoc->next;
        assoc->next = free_;
        free_ = assoc;
        if (--count_ == 0)
            RemoveAll();
        return true;
    }
    return false;
}

void MKPtrMap::RemoveAll()
{
    MKFree(table_);
    table_ = nullptr;
    while (blocks_) {
        Block* next = blocks_->next;
        MKFree(blocks_);
        blocks_ = next;
    }
    free_ = nullptr;
    count_ = 0;
}
