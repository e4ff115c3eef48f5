#pragma once
#include "base/MKString.h"
#include "base/MKTArray.h"
#include <stdint.h>

// Files to delete. Owns its entries.
class FileList {
public:
    struct Entry {
        uint8_t skip = 0;
        MKString path;
    };

    FileList() = default;
    ~FileList() { Clear(); }
    FileList(const FileList&) = delete;
    FileList& operator=(const FileList&) = delete;

    bool Add(const MKString& path);
    void Clear();
    int GetCount() const { return m_entries.GetCount(); }
    Entry& GetAt(int index) { return *m_entries[index]; }
    // Deletes every entry without the skip flag now, or registers it for
    // deletion at the next start when deferred. A missing file is no failure;
    // true when nothing else failed.
    bool DeleteAll(bool deferred) const;

private:
    MKTArray<Entry*> m_entries;
};
