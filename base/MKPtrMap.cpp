#include "base/MKPtrMap.h"

#include <stdint.h>
#include <string.h>

#include "base/MKAlloc.h"

MKPtrMap::MKPtrMap(int blockSize) : m_blockSize(blockSize > 0 ? blockSize : 10) {}

MKPtrMap::~MKPtrMap()
{
    RemoveAll();
}

unsigned MKPtrMap::BucketOf(void* key) const
{
    // Low bits of heap and handle values carry little: alignment.
    return static_cast<unsigned>(reinterpret_cast<uintptr_t>(key) >> 4) % static_cast<unsigned>(m_tableSize);
}

MKPtrMap::Assoc* MKPtrMap::GetAssocAt(void* key) const
{
    if (!m_table)
        return nullptr;
    for (Assoc* assoc = m_table[BucketOf(key)]; assoc; assoc = assoc->next)
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
    if (!m_free) {
        auto* block = static_cast<Block*>(MKAlloc(sizeof(Block) + sizeof(Assoc) * m_blockSize));
        if (!block)
            return nullptr;
        block->next = m_blocks;
        m_blocks = block;
        auto* assocs = reinterpret_cast<Assoc*>(block + 1);
        for (int i = m_blockSize - 1; i >= 0; --i) {
            assocs[i].next = m_free;
            m_free = &assocs[i];
        }
    }
    Assoc* assoc = m_free;
    m_free = assoc->next;
    return assoc;
}

void** MKPtrMap::ValueAt(void* key)
{
    if (Assoc* assoc = GetAssocAt(key))
        return &assoc->value;
    if (!m_table) {
        m_table = static_cast<Assoc**>(MKAlloc(sizeof(Assoc*) * m_tableSize));
        if (!m_table)
            return nullptr;
        memset(m_table, 0, sizeof(Assoc*) * m_tableSize);
    }
    Assoc* assoc = NewAssoc();
    if (!assoc)
        return nullptr;
    unsigned bucket = BucketOf(key);
    assoc->key = key;
    assoc->value = nullptr;
    assoc->next = m_table[bucket];
    m_table[bucket] = assoc;
    ++m_count;
    return &assoc->value;
}

bool MKPtrMap::RemoveKey(void* key)
{
    if (!m_table)
        return false;
    for (Assoc** link = &m_table[BucketOf(key)]; *link; link = &(*link)->next) {
        Assoc* assoc = *link;
        if (assoc->key != key)
            continue;
        *link = assoc->next;
        assoc->next = m_free;
        m_free = assoc;
        if (--m_count == 0)
            RemoveAll();
        return true;
    }
    return false;
}

void MKPtrMap::RemoveAll()
{
    MKFree(m_table);
    m_table = nullptr;
    while (m_blocks) {
        Block* next = m_blocks->next;
        MKFree(m_blocks);
        m_blocks = next;
    }
    m_free = nullptr;
    m_count = 0;
}
