#pragma once
#include "addin/update/FileOperationSet.h"
#include "base/MKTArray.h"

class InstalledPlugins;

// Moves the installed files of the setups being replaced out of the way, as
// one group: Apply moves them aside (all or nothing); then, once the new files
// are in place, DeleteBackups deletes them, or, when the new files could not
// be put in place, Restore moves them back. Owns its sets.
class FileTransaction {
public:
    // The list the backups are planned for (not owned; may be null).
    explicit FileTransaction(InstalledPlugins* plugins = nullptr) : m_plugins(plugins) {}
    ~FileTransaction() { Reset(); }
    FileTransaction(const FileTransaction&) = delete;
    FileTransaction& operator=(const FileTransaction&) = delete;

    // A new set for the entry's files, owned here; null when memory runs out.
    FileOperationSet* AddSet(InstalledPlugin* owner);
    int GetCount() const { return m_sets.GetCount(); }
    FileOperationSet* GetAt(int index) const { return m_sets.SafeGetAt(index); }
    InstalledPlugins* GetPlugins() const { return m_plugins; }

    // Every installed file that is to move can be opened for writing with no
    // sharing; the first that cannot goes to failing (when given).
    bool CanOpenAll(MKString* failing) const;
    // Moves every installed file to its backup name. False, with nothing
    // moved, when a file cannot be opened or a move fails (the moves made are
    // undone; GetUndoFailures counts undo moves that failed).
    bool Apply(MKString* failing);
    // Moves the backups back to their installed names, last set first; true
    // when every move came back.
    bool Restore();
    // Deletes the backups and removes the emptied folders now; true when
    // nothing but missing files or folders still in use failed.
    bool DeleteBackups();
    void Reset();
    int GetUndoFailures() const { return m_undoFailures; }

private:
    InstalledPlugins* m_plugins;
    MKTArray<FileOperationSet*> m_sets;
    int m_undoFailures = 0;
};
