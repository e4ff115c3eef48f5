#include "base/MKHostCache.h"

#include "base/MKClock.h"
#include "base/MKLock.h"

#include <new>

namespace {

// Guards s_cache and its entries. Never deleted: a transfer thread keeps its
// module loaded while it runs, and one abandoned at process exit may still
// ask after static objects are gone.
struct CacheLock {
    CacheLock() { InitializeCriticalSection(&section); }
    CRITICAL_SECTION section;
} s_lock;
MKHostCache* s_cache = nullptr;

void DeleteEntry(void* entry)
{
    MKFree(entry);
}

}  // namespace

MKHostCache::~MKHostCache()
{
    m_entries.DisposeAllValues(DeleteEntry);
}

bool MKHostCache::Create()
{
    MKLock lock(&s_lock.section);
    if (!s_cache)
        s_cache = new (std::nothrow) MKHostCache();
    return s_cache != nullptr;
}

void MKHostCache::Destroy()
{
    MKHostCache* cache;
    {
        MKLock lock(&s_lock.section);
        cache = s_cache;
        s_cache = nullptr;
    }
    delete cache;
}

bool MKHostCache::Lookup(const MKString& host, uint32_t* address, int* error)
{
    MKLock lock(&s_lock.section);
    if (!s_cache)
        return false;
    MKHashNode* node = s_cache->m_entries.Find(host);
    const Entry* entry = node ? static_cast<const Entry*>(node->value) : nullptr;
    if (!entry || MKClock::ElapsedMs() - entry->timeMs >= kLifetimeMs)
        return false;
    *address = entry->address;
    *error = entry->error;
    return true;
}

void MKHostCache::Store(const MKString& host, uint32_t address, int error)
{
    MKLock lock(&s_lock.section);
    if (!s_cache)
        return;
    // The key is copied: the caller's string may be shared with other threads'
    // copies, and its counts are not locked.
    MKString key = MKString::MKStringFromChars(host.GetText(), host.GetLength());
    MKHashNode* node = s_cache->m_entries.Find(key);
    Entry* entry = node ? static_cast<Entry*>(node->value) : static_cast<Entry*>(MKAlloc(sizeof(Entry)));
    if (!entry)
        return;
    *entry = {address, error, MKClock::ElapsedMs()};
    if (!node && s_cache->m_entries.Set(key, entry) < 0)
        MKFree(entry);
}
