#include "addin/update/FileTransaction.h"
#include "base/MKPointerArrays.h"

FileOperationSet* FileTransaction::AddSet(InstalledPlugin* owner)
{
    FileOperationSet* set = new FileOperationSet(owner);
    if (!m_sets.Add(set)) {
        delete set;
        return nullptr;
    }
    return set;
}

bool FileTransaction::CanOpenAll(MKString* failing) const
{
    for (int i = 0; i < m_sets.GetCount(); ++i) {
        if (!m_sets[i]->Renames().CanOpenAllExclusively(failing))
            return false;
    }
    return true;
}

bool FileTransaction::Apply(MKString* failing)
{
    m_undoFailures = 0;
    return CanOpenAll(failing) && ApplyRenamesInOrder(m_sets, &m_undoFailures);
}

bool FileTransaction::Restore()
{
    bool restored = true;
    for (int i = m_sets.GetCount() - 1; i >= 0; --i) {
        if (m_sets[i]->Renames().MoveAllBack() != 0)
            restored = false;
    }
    return restored;
}

bool FileTransaction::DeleteBackups()
{
    bool deleted = true;
    for (int i = 0; i < m_sets.GetCount(); ++i)
        deleted = m_sets[i]->Files().DeleteAll(false) && deleted;
    for (int i = 0; i < m_sets.GetCount(); ++i)
        deleted = m_sets[i]->Folders().Apply(nullptr, false) && deleted;
    return deleted;
}

void FileTransaction::Reset()
{
    MKDeleteAllItems(m_sets);
}
