#pragma once
#include "addin/update/FileList.h"
#include "addin/update/FileRenameList.h"
#include "addin/update/FolderSet.h"
#include "base/MKTArray.h"

class InstalledPlugin;

// The file operations of one setup: the moves that apply it as a group, the
// files that are deleted once the group is done or given up, and its folders.
class FileOperationSet {
public:
    // owner: the installed entry whose files a backup set moves aside (not
    // owned); null for a set of staged files.
    explicit FileOperationSet(InstalledPlugin* owner = nullptr) : m_owner(owner) {}
    FileOperationSet(const FileOperationSet&) = delete;
    FileOperationSet& operator=(const FileOperationSet&) = delete;

    // A backup move: the installed file to its backup name, which is deleted
    // once the whole update is in place.
    bool AddRename(const MKString& installed, const MKString& backup);
    // A staged new file and its target: the staged name is what a discarded
    // staging deletes, never the target.
    bool AddStaged(const MKString& staged, const MKString& target);
    // Forgets the operations; no file is touched.
    void Reset();
    // Deletes the listed files and removes the listed folders now, then
    // forgets the operations.
    void Discard();

    InstalledPlugin* GetOwner() const { return m_owner; }
    FileRenameList& Renames() { return m_renames; }
    FileList& Files() { return m_files; }
    FolderSet& Folders() { return m_folders; }

private:
    InstalledPlugin* m_owner;
    FileRenameList m_renames;
    FileList m_files;
    FolderSet m_folders;
};

// Applies the renames of every set forward, immediately, in order. When a set
// fails (it undid its own moves), the earlier sets are moved back, last first,
// and false comes back; *undoFailures counts the undo moves that failed.
bool ApplyRenamesInOrder(MKTArray<FileOperationSet*>& sets, int* undoFailures);
