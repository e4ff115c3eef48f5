#pragma once
#include "base/MKString.h"
#include "base/MKTOArray.h"

class MKSharedSecurity;

// Folders a setup creates or removes, kept canonical and, once normalised,
// sorted so that every folder comes after its parents: by length, then
// case-insensitively. One thread at a time.
class FolderSet {
public:
    // Adds root\a, root\a\b, ... for every component of relative (after '/'
    // becomes '\'; "." components are passed over). Nothing for an empty
    // relative path or a root without canonical form.
    void AddPath(const MKString& root, const MKString& relative);
    // Adds the canonical form of path.
    bool Add(const MKString& path);
    // Sorts and drops exact (case-sensitive) duplicates.
    void Normalize();
    void Clear() { m_paths.RemoveAll(); }
    int GetCount() const { return m_paths.GetCount(); }
    const MKString& GetAt(int index) const { return m_paths[index]; }

    // Removes the folders, children first (registered for the next start when
    // deferred). Folders that are missing or still hold files stay without
    // counting as failures; true when nothing else failed.
    bool Apply(const MKSharedSecurity* security, bool deferred);
    // Creates the folders, parents first; an existing one is fine. On a
    // failure the folders before it are removed again, last first, and false
    // comes back.
    bool CreateAll(const MKSharedSecurity* security);

private:
    MKTOArray<MKString> m_paths;
    bool m_create = false;
};
