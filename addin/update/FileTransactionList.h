#pragma once
#include "addin/update/FileOperationSet.h"
#include "base/MKTArray.h"

// The staged new files of an update, one set per setup being installed. Owns
// its sets. Either Commit or Clear ends it; both leave it empty.
class FileTransactionList {
public:
    FileTransactionList() = default;
    ~FileTransactionList() { Reset(); }
    FileTransactionList(const FileTransactionList&) = delete;
    FileTransactionList& operator=(const FileTransactionList&) = delete;

    // A new set at the end, owned by the list; null when memory runs out.
    FileOperationSet* AddSet();
    int GetCount() const { return m_sets.GetCount(); }
    FileOperationSet* GetAt(int index) const { return m_sets.SafeGetAt(index); }

    // Moves every staged file onto its target, set by set. When a set fails
    // (it undid its own moves), the earlier sets are moved back, last first,
    // then the staging is cleared and false comes back. On success the staged
    // names are gone and the sets are dropped.
    bool Commit();
    // Gives the staging up: deletes the staged files, removes the folders made
    // for them (those still holding files stay), then drops the sets.
    void Clear();
    // Drops the sets; no file is touched.
    void Reset();
    // Undo moves of the last Commit that failed (those files keep their
    // target names; the old files they displaced are elsewhere).
    int GetUndoFailures() const { return m_undoFailures; }

private:
    MKTArray<FileOperationSet*> m_sets;
    int m_undoFailures = 0;
};
