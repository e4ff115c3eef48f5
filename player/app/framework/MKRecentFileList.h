#pragma once
#include "base/MKString.h"

#include <windows.h>

// The recent-file list of the profile's section "Recent File List" (values
// "File1" to "FileN", most recent first) and its menu items: the commands
// firstCommand to firstCommand + N - 1 stand where firstCommand's item was,
// and one greyed item with the empty text marks an empty list. UI thread only.
class MKRecentFileList {
public:
    MKRecentFileList(UINT firstCommand, int size);
    ~MKRecentFileList();
    MKRecentFileList(const MKRecentFileList&) = delete;
    MKRecentFileList& operator=(const MKRecentFileList&) = delete;

    void Load();
    void Save() const;
    // Moves path to the top (compared without regard to case).
    void Add(const char* path);
    void Remove(int index);
    int Count() const { return m_count; }
    // The path for a command of the list, empty for any other.
    MKString PathOf(UINT command) const;
    // Rewrites the list's items in a popup menu that holds one of them;
    // nothing for another menu.
    void UpdateMenu(HMENU popup, const char* emptyText) const;

private:
    UINT m_first;
    int m_size;
    int m_count = 0;
    MKString* m_paths;
};
