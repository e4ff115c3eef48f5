#include "addin/update/FileTransactionList.h"
#include "base/MKPointerArrays.h"

FileOperationSet* FileTransactionList::AddSet()
{
    FileOperationSet* set = new FileOperationSet;
    if (!m_sets.Add(set)) {
        delete set;
        return nullptr;
    }
    return set;
}

bool FileTransactionList::Commit()
{
    if (!ApplyRenamesInOrder(m_sets, &m_undoFailures)) {
        Clear();
        return false;
    }
    Reset();
    return true;
}

void FileTransactionList::Clear()
{
    for (int i = 0; i < m_sets.GetCount(); ++i)
        m_sets[i]->Discard();
    Reset();
}

void FileTransactionList::Reset()
{
    MKDeleteAllItems(m_sets);
}
