#include "base/MKHostCache.h"

#include "base/MKClock.h"
#include "base/MKLock.h"

#include <new>

namespace {

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
    if (!s_cache)
        s_cache = new (std::nothrow) MKHostCache();
    return s_cache != nullptr;
}

void MKHostCache::Destroy()
{
    delete s_cache;
    s_cache = nullptr;
}

bool MKHostCache::Lookup(const MKString& host, uint32_t* address, int* error)
{
    if (!s_cache)
        return false;
    MKLock lock(s_cache->m_lock);
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
    if (!s_cache)
        return;
    MKLock lock(s_cache->m_lock);
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
