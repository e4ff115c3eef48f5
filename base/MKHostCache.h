#pragma once
#include "base/MKHashMap.h"

#include <stdint.h>

// The process's memory of host-name lookups, successful or failed, each
// answered again for 60 seconds. Create at module start, Destroy at module
// stop; without a cache nothing is remembered. Lookup and Store may be called
// from any thread, also while another destroys the cache: a transfer thread
// abandoned by its owner may still look a host up after the module stopped.
class MKHostCache {
public:
    static const int64_t kLifetimeMs = 60000;

    static bool Create();
    static void Destroy();

    // True with the address (4 bytes in network order, as Winsock delivers
    // them) and the Winsock error (0 for success) of an entry younger than
    // kLifetimeMs.
    static bool Lookup(const MKString& host, uint32_t* address, int* error);
    // Creates or replaces the host's entry, stamped with the current time.
    static void Store(const MKString& host, uint32_t address, int error);

private:
    struct Entry {
        uint32_t address;
        int32_t error;
        int64_t timeMs;  // MKClock::ElapsedMs of the lookup
    };

    MKHostCache() = default;
    ~MKHostCache();
    MKHostCache(const MKHostCache&) = delete;
    MKHostCache& operator=(const MKHostCache&) = delete;

    MKHashMap m_entries;
};
