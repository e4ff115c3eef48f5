#include "base/MKHashMap.h"

#include "base/MKRefClass.h"

#include <new>

namespace {

const uint32_t s_primes[] = {7,        13,        31,        61,        127,        251,        509,      1021,
                             2039,     4093,      8191,      16381,     32749,      65521,      131071,   262139,
                             524287,   1048573,   2097143,   4194301,   8388593,    16777213,   33554393, 67108859,
                             134217689, 268435399, 536870909, 1073741789, 2147483647, 4294967291u};
const int s_primeCount = sizeof(s_primes) / sizeof(s_primes[0]);

const uint32_t s_firstBucketCount = 31;

}  // namespace

uint32_t MKHashPrimeAtLeast(uint32_t n)
{
    int low = 0, high = s_primeCount - 1;
    while (low < high) {
        int middle = (low + high) / 2;
        if (s_primes[middle] < n)
            low = middle + 1;
        else
            high = middle;
    }
    return s_primes[low];
}

MKHashMap::~MKHashMap()
{
    if (m_count > 0)
        RemoveAll();
    MKFree(m_buckets);
}

bool MKHashMap::Rehash(uint32_t bucketCount)
{
    if (bucketCount == 0)
        bucketCount = s_firstBucketCount;
    if (bucketCount > SIZE_MAX / sizeof(MKHashNode*))
        return false;
    MKHashNode** buckets = static_cast<MKHashNode**>(MKAlloc(bucketCount * sizeof(MKHashNode*)));
    if (!buckets)
        return false;
    memset(buckets, 0, bucketCount * sizeof(MKHashNode*));
    // Slot 0 of the order table stays empty so the first entry gets index 1.
    if (m_order.GetCount() == 0 && !m_order.Add(nullptr)) {
        MKFree(buckets);
        return false;
    }
    // Oldest first, so every chain keeps its newest node at the head.
    for (int i = 1; i < m_order.GetCount(); ++i) {
        MKHashNode* node = m_order[i];
        if (!node)
            continue;
        MKHashNode*& head = buckets[node->hash % bucketCount];
        node->next = head;
        head = node;
    }
    MKFree(m_buckets);
    m_buckets = buckets;
    m_bucketCount = bucketCount;
    return true;
}

int MKHashMap::Set(const MKHashKey& key, void* value)
{
    if (!m_buckets && !Rehash(0))
        return -1;
    if (MKHashNode* present = Find(key))
        return present->order;
    if (uint64_t(m_count) > 2 * uint64_t(m_bucketCount)) {
        uint32_t grown = MKHashPrimeAtLeast(m_bucketCount + 1);
        if (grown > m_bucketCount)
            Rehash(grown);  // without the memory the chains just get longer
    }
    MKHashNode* node = new (std::nothrow) MKHashNode{key.GetKey(), key.GetHash(), m_order.GetCount(), value, nullptr};
    if (!node)
        return -1;
    if (!m_order.Add(node)) {
        delete node;
        return -1;
    }
    MKHashNode*& head = m_buckets[node->hash % m_bucketCount];
    node->next = head;
    head = node;
    ++m_count;
    return node->order;
}

MKHashNode* MKHashMap::Find(const MKHashKey& key) const
{
    if (m_count == 0)
        return nullptr;
    uint32_t hash = key.GetHash();
    for (MKHashNode* node = m_buckets[hash % m_bucketCount]; node; node = node->next) {
        if (node->hash == hash && node->key.Equals(key.GetKey()))
            return node;
    }
    return nullptr;
}

void* MKHashMap::Remove(const MKHashKey& key)
{
    MKHashNode* node = Find(key);
    if (!node)
        return nullptr;
    void* value = node->value;
    RemoveNode(node);
    return value;
}

void MKHashMap::RemoveNode(MKHashNode* node)
{
    if (!node || m_count == 0)
        return;
    for (MKHashNode** link = &m_buckets[node->hash % m_bucketCount]; *link; link = &(*link)->next) {
        if (*link == node) {
            *link = node->next;
            --m_count;
            m_order[node->order] = nullptr;
            delete node;
            return;
        }
    }
}

void MKHashMap::RemoveAll()
{
    for (uint32_t b = 0; b < m_bucketCount; ++b) {
        MKHashNode* node = m_buckets[b];
        m_buckets[b] = nullptr;
        while (node) {
            MKHashNode* next = node->next;
            m_order[node->order] = nullptr;
            delete node;
            node = next;
        }
    }
    m_count = 0;
}

void MKHashMap::Clear()
{
    RemoveAll();
    MKFree(m_buckets);
    m_buckets = nullptr;
    m_bucketCount = 0;
    m_order.RemoveAll();
}

void MKHashMap::DisposeAllValues(void (*dispose)(void* value))
{
    for (int i = m_order.GetCount() - 1; i >= 1; --i) {
        MKHashNode* node = m_order[i];
        if (node && node->value) {
            void* value = node->value;
            node->value = nullptr;
            dispose(value);
            // The value's destructor may have shrunk the map.
            if (i > m_order.GetCount())
                i = m_order.GetCount();
        }
    }
    Clear();
}

void MKHashMap::ReleaseAllValues()
{
    DisposeAllValues([](void* value) { static_cast<MKRefClass*>(value)->Release(); });
}

MKHashMapIterator::MKHashMapIterator(const MKHashMap& map) : m_map(map)
{
    if (map.m_bucketCount > 0) {
        m_node = map.m_buckets[0];
        SkipEmptyBuckets();
    }
}

void MKHashMapIterator::SkipEmptyBuckets()
{
    while (!m_node && ++m_bucket < m_map.m_bucketCount)
        m_node = m_map.m_buckets[m_bucket];
}

MKHashNode* MKHashMapIterator::Next()
{
    MKHashNode* node = m_node;
    if (node) {
        m_node = node->next;
        SkipEmptyBuckets();
    }
    return node;
}
