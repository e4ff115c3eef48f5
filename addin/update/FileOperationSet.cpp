#include "addin/update/FileOperationSet.h"

bool FileOperationSet::AddRename(const MKString& installed, const MKString& backup)
{
    return m_renames.Add(installed, backup) && m_files.Add(backup);
}

bool FileOperationSet::AddStaged(const MKString& staged, const MKString& target)
{
    return m_renames.Add(staged, target) && m_files.Add(staged);
}

void FileOperationSet::Reset()
{
    m_renames.Clear();
    m_files.Clear();
    m_folders.Clear();
}

void FileOperationSet::Discard()
{
    m_files.DeleteAll(false);
    m_folders.Apply(nullptr, false);
    Reset();
}

bool ApplyRenamesInOrder(MKTArray<FileOperationSet*>& sets, int* undoFailures)
{
    *undoFailures = 0;
    for (int i = 0; i < sets.GetCount(); ++i) {
        FileRenameList& renames = sets[i]->Renames();
        if (renames.Apply(true, false))
            continue;
        *undoFailures += renames.GetUndoFailures();
        for (int back = i - 1; back >= 0; --back) {
            FileRenameList& done = sets[back]->Renames();
            if (!done.Apply(false, false))
                *undoFailures += 1 + done.GetUndoFailures();
        }
        return false;
    }
    return true;
}
