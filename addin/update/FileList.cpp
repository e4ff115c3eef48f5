#include "addin/update/FileList.h"
#include "addin/update/FileCalls.h"
#include "base/MKPointerArrays.h"
#include <windows.h>

bool FileList::Add(const MKString& path)
{
    Entry* entry = new Entry;
    entry->path = path;
    if (!m_entries.Add(entry)) {
        delete entry;
        return false;
    }
    return true;
}

void FileList::Clear()
{
    MKDeleteAllItems(m_entries);
}

bool FileList::DeleteAll(bool deferred) const
{
    const FileCalls& calls = GetFileCalls();
    int failures = 0;
    for (int i = 0; i < m_entries.GetCount(); ++i) {
        const Entry& entry = *m_entries[i];
        if (entry.skip)
            continue;
        BOOL done = deferred ? calls.moveFileEx(entry.path.GetText(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)
                             : calls.deleteFile(entry.path.GetText());
        if (!done && GetLastError() != ERROR_FILE_NOT_FOUND)
            ++failures;
    }
    return failures == 0;
}
