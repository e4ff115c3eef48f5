#pragma once
#include "base/MKString.h"
#include "base/MKTArray.h"
#include <stdint.h>

// One planned move: first path (the file as it is now) to second path.
struct RenamePair {
    // A set flag leaves the pair out of every operation.
    uint8_t skip = 0;
    MKString first;
    MKString second;
};

// An ordered group of moves applied all or nothing. Owns its pairs. One thread
// at a time.
class FileRenameList {
public:
    FileRenameList() = default;
    ~FileRenameList();
    FileRenameList(const FileRenameList&) = delete;
    FileRenameList& operator=(const FileRenameList&) = delete;

    bool Add(const MKString& first, const MKString& second);
    void Clear();
    int GetCount() const { return m_pairs.GetCount(); }
    RenamePair& GetAt(int index) { return *m_pairs[index]; }
    const RenamePair& GetAt(int index) const { return *m_pairs[index]; }

    // Forward moves first to second, first pair to last; backward moves second
    // back to first, last pair to first. An immediate move never replaces an
    // existing file (what it replaced could not be brought back); when one
    // fails, the moves this call made are undone in reverse order and false
    // comes back, with the undo moves that failed counted in GetUndoFailures.
    // Deferred moves are registered for the next start (replacing, since the
    // targets are in use) and are not undone.
    bool Apply(bool forward, bool deferred);
    // Moves every pair back (second to first), last first, as far as each
    // move goes: a move that fails leaves the others where they came back to.
    // Answers the number of moves that failed.
    int MoveAllBack();
    // Undo moves of the last Apply that failed: those files stay under the
    // name they were moved to.
    int GetUndoFailures() const { return m_undoFailures; }
    // Every first (or second) path can be opened for writing with no sharing;
    // on the second side a file that does not exist yet passes. The first
    // failing path goes to failing (when given).
    bool CanOpenAll(bool firstSide, MKString* failing) const;
    bool CanOpenAllExclusively(MKString* failing) const { return CanOpenAll(true, failing); }

private:
    MKTArray<RenamePair*> m_pairs;
    int m_undoFailures = 0;
};
