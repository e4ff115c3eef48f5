#include "base/MKIntHashMap.h"

#include "base/MKValue.h"

namespace {

const uint32_t s_primes[72] = {
    3, 7, 11, 17, 23, 29, 37, 47, 59, 71, 89, 107, 131, 163, 197, 239, 293, 353, 431, 521, 631, 761, 919, 1103,
    1327, 1597, 1931, 2333, 2801, 3371, 4049, 4861, 5839, 7013, 8419, 10103, 12143, 14591, 17519, 21023, 25229,
    30293, 36353, 43627, 52361, 62851, 75431, 90523, 108631, 130363, 156437, 187751, 225307, 270371, 324449,
    389357, 467237, 560689, 672827, 807403, 968897, 1162687, 1395263, 1674319, 2009191, 2411033, 2893249,
    3471899, 4166287, 4999559, 5999471, 7199369};

bool IsPrime(uint32_t n)
{
    for (uint32_t d = 3; d <= n / d; d += 2) {
        if (n % d == 0)
            return false;
    }
    return true;
}

}  // namespace

uint32_t MKNextHashPrime(uint32_t n)
{
    for (uint32_t prime : s_primes) {
        if (prime >= n)
            return prime;
    }
    for (uint32_t candidate = n | 1; candidate < 0x7FFFFFFFu; candidate += 2) {
        if (IsPrime(candidate))
            return candidate;
    }
    return n;
}

MKIntHashMap::~MKIntHashMap()
{
    ReleaseAll();
}

void MKIntHashMap::ReleaseAll()
{
    // Nodes released last may reach this map again: empty it first.
    MKTArray<MKValue*> nodes;
    for (int i = 0; i < m_entries.GetCount(); ++i) {
        if (m_entries[i].hash >= 0)
            nodes.Add(m_entries[i].node);
    }
    m_entries.RemoveAll();
    m_buckets.RemoveAll();
    m_slotCapacity = 0;
    m_freeCount = 0;
    m_freeHead = -1;
    for (int i = 0; i < nodes.GetCount(); ++i)
        nodes[i]->Release();
}

bool MKIntHashMap::Init(int n)
{
    ReleaseAll();
    uint32_t size = MKNextHashPrime(n < 0 ? 0 : uint32_t(n));
    if (size > uint32_t(INT32_MAX / sizeof(Entry)))
        return false;
    if (!m_entries.Reserve(int(size)) || !Rebuild(int(size))) {
        m_entries.RemoveAll();
        return false;
    }
    return true;
}

bool MKIntHashMap::Rebuild(int size)
{
    // Room first: a set-size that cannot grow empties the array, and the
    // map would lose its chains.
    if (!m_buckets.Reserve(size) || !m_buckets.SetSize(size))
        return false;
    for (int b = 0; b < size; ++b)
        m_buckets[b] = -1;
    // Free slots keep their free-list links; used slots are chained anew.
    for (int i = 0; i < m_entries.GetCount(); ++i) {
        Entry& e = m_entries[i];
        if (e.hash < 0)
            continue;
        int b = int(uint32_t(e.hash) % uint32_t(size));
        e.next = m_buckets[b];
        m_buckets[b] = i;
    }
    m_slotCapacity = size;
    return true;
}

int MKIntHashMap::Find(uint32_t key) const
{
    int buckets = m_buckets.GetCount();
    if (buckets == 0)
        return -1;
    int32_t hash = int32_t(key & 0x7FFFFFFF);
    for (int i = m_buckets[int(uint32_t(hash) % uint32_t(buckets))]; i >= 0; i = m_entries[i].next) {
        const Entry& e = m_entries[i];
        if (e.hash == hash && e.key == key)
            return i;
    }
    return -1;
}

MKValue* MKIntHashMap::Lookup(uint32_t key) const
{
    int i = Find(key);
    return i >= 0 ? m_entries[i].node : nullptr;
}

bool MKIntHashMap::Get(uint32_t key, MKRefHolder<MKValue>& out) const
{
    MKValue* node = Lookup(key);
    if (!node) {
        out.Reset();
        return false;
    }
    out.AssignPointer(node);
    return true;
}

bool MKIntHashMap::Set(uint32_t key, MKValue* node)
{
    if (!node)
        return false;
    if (m_buckets.GetCount() == 0 && !Init(0))
        return false;
    int found = Find(key);
    if (found >= 0) {
        node->AddRef();
        MKValue* old = m_entries[found].node;
        m_entries[found].node = node;
        old->Release();
        return true;
    }
    int slot;
    if (m_freeCount > 0) {
        slot = m_freeHead;
        m_freeHead = m_entries[slot].next;
        --m_freeCount;
    } else {
        int used = m_entries.GetCount();
        if (used == m_slotCapacity) {
            uint32_t size = MKNextHashPrime(uint32_t(used) * 2);
            // Rebuild fails only before it changes anything.
            if (size > uint32_t(INT32_MAX / sizeof(Entry)) || !m_entries.Reserve(int(size)) || !Rebuild(int(size)))
                return false;
        }
        slot = used;
        m_entries.SetSize(used + 1);  // within the reserved room: cannot fail
    }
    int32_t hash = int32_t(key & 0x7FFFFFFF);
    int bucket = int(uint32_t(hash) % uint32_t(m_buckets.GetCount()));
    Entry& e = m_entries[slot];
    e.hash = hash;
    e.key = key;
    e.node = node;
    e.next = m_buckets[bucket];
    m_buckets[bucket] = slot;
    node->AddRef();
    return true;
}

bool MKIntHashMap::Remove(uint32_t key)
{
    int buckets = m_buckets.GetCount();
    if (buckets == 0)
        return false;
    int32_t hash = int32_t(key & 0x7FFFFFFF);
    int* link = &m_buckets[int(uint32_t(hash) % uint32_t(buckets))];
    while (*link >= 0) {
        Entry& e = m_entries[*link];
        if (e.hash == hash && e.key == key) {
            int slot = *link;
            *link = e.next;
            MKValue* node = e.node;
            e.hash = -1;
            e.key = 0;
            e.node = nullptr;
            e.next = m_freeHead;
            m_freeHead = slot;
            ++m_freeCount;
            node->Release();
            return true;
        }
        link = &e.next;
    }
    return false;
}

bool MKIntHashMap::GetSlot(int slot, uint32_t* key, MKValue** node) const
{
    if (slot < 0 || slot >= m_entries.GetCount() || m_entries[slot].hash < 0)
        return false;
    *key = m_entries[slot].key;
    *node = m_entries[slot].node;
    return true;
}
