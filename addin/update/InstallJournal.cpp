#include "addin/update/InstallJournal.h"
#include "addin/update/ConfinedPath.h"
#include "addin/update/FileCalls.h"
#include "addin/update/FileOperationSet.h"
#include "addin/update/FolderSet.h"
#include "addin/update/RecordFile.h"
#include "addin/update/UpdaterFolder.h"
#include "base/MKFile.h"

namespace {

const uint32_t kMagic = 0x4C4E524A;

bool AddText(MKTOArray<MKString>& list, const MKString& text)
{
    return list.Add(text);
}

void WriteList(MKBinaryWriter& writer, const MKTOArray<MKString>& list)
{
    writer.WriteInt32(list.GetCount());
    for (int i = 0; i < list.GetCount(); ++i)
        writer.WriteString(list[i]);
}

// Strings are read one by one: a lying count ends where the data does.
bool ReadList(RecordFileReader& file, MKTOArray<MKString>& list)
{
    list.RemoveAll();
    int32_t count = file.ReadInt32();
    for (int i = 0; i < count && file.IsOk(); ++i) {
        MKString text;
        file.Reader().ReadString(&text);
        if (!list.Add(text))
            return false;
    }
    return count >= 0 && file.IsOk();
}

bool Exists(const MKString& path)
{
    return MKIsFileAt(path);
}

bool MoveBack(const MKString& from, const MKString& to)
{
    return GetFileCalls().moveFileEx(from.GetText(), to.GetText(), 0) != 0;
}

// True when each file is gone (a missing one included).
bool DeleteFiles(const MKTOArray<MKString>& files)
{
    bool deleted = true;
    for (int i = 0; i < files.GetCount(); ++i) {
        if (!GetFileCalls().deleteFile(files[i].GetText()) && Exists(files[i]))
            deleted = false;
    }
    return deleted;
}

void RemoveFolders(const MKTOArray<MKString>& folders)
{
    FolderSet set;
    for (int i = 0; i < folders.GetCount(); ++i)
        set.Add(folders[i]);
    set.Apply(nullptr, false);
}

// The journal's lists in their stored order; the seventh, once the targets
// that existed, is written empty and passed over when read.
const int kListCount = 8;

} // namespace

InstallJournal::InstallJournal(const MKString& installationFolder) : m_installationFolder(installationFolder)
{
}

void InstallJournal::Clear()
{
    m_phase = Staging;
    m_backupMoves.RemoveAll();
    m_backupFiles.RemoveAll();
    m_backupFolders.RemoveAll();
    m_stagedMoves.RemoveAll();
    m_stagedFiles.RemoveAll();
    m_stagedFolders.RemoveAll();
    m_records.RemoveAll();
}

bool InstallJournal::AddBackupSet(FileOperationSet& set)
{
    bool added = true;
    for (int i = 0; i < set.Renames().GetCount(); ++i) {
        const RenamePair& pair = set.Renames().GetAt(i);
        if (!pair.skip)
            added = AddText(m_backupMoves, pair.first) && AddText(m_backupMoves, pair.second) && added;
    }
    for (int i = 0; i < set.Files().GetCount(); ++i)
        added = AddText(m_backupFiles, set.Files().GetAt(i).path) && added;
    for (int i = 0; i < set.Folders().GetCount(); ++i)
        added = AddText(m_backupFolders, set.Folders().GetAt(i)) && added;
    return added;
}

bool InstallJournal::AddStagedSet(FileOperationSet& set)
{
    bool added = true;
    for (int i = 0; i < set.Renames().GetCount(); ++i) {
        const RenamePair& pair = set.Renames().GetAt(i);
        if (pair.skip)
            continue;
        added = AddText(m_stagedMoves, pair.first) && AddText(m_stagedMoves, pair.second) && added;
    }
    for (int i = 0; i < set.Files().GetCount(); ++i)
        added = AddText(m_stagedFiles, set.Files().GetAt(i).path) && added;
    for (int i = 0; i < set.Folders().GetCount(); ++i)
        added = AddText(m_stagedFolders, set.Folders().GetAt(i)) && added;
    return added;
}

bool InstallJournal::KeepRecordFile(const MKString& path)
{
    MKString copy;
    if (Exists(path)) {
        copy = path + L".old.2";
        MKByteArray bytes;
        if (!MKReadFile(path, bytes) || !MKWriteFile(copy, bytes.GetData(), bytes.GetCount()))
            return false;
    }
    return AddText(m_records, path) && AddText(m_records, copy);
}

bool InstallJournal::Save(Phase phase)
{
    RecordFileWriter file;
    file.Writer().WriteU32(kMagic);
    file.Writer().WriteU32(1);
    file.Writer().WriteInt32(phase);
    const MKTOArray<MKString> unused;
    const MKTOArray<MKString>* lists[kListCount] = {&m_backupMoves, &m_backupFiles, &m_backupFolders,
                                                    &m_stagedMoves, &m_stagedFiles, &m_stagedFolders,
                                                    &unused,        &m_records};
    for (const MKTOArray<MKString>* list : lists)
        WriteList(file.Writer(), *list);
    file.WriteExtension();
    if (!file.SaveTo(GetJournalFilePath(m_installationFolder)))
        return false;
    m_phase = phase;
    return true;
}

bool InstallJournal::Load()
{
    Clear();
    RecordFileReader file;
    if (!file.Open(GetJournalFilePath(m_installationFolder), kMagic, 1))
        return false;
    int32_t phase = file.ReadInt32();
    MKTOArray<MKString> unused;
    MKTOArray<MKString>* lists[kListCount] = {&m_backupMoves, &m_backupFiles, &m_backupFolders,
                                              &m_stagedMoves, &m_stagedFiles, &m_stagedFolders,
                                              &unused,        &m_records};
    for (MKTOArray<MKString>* list : lists) {
        bool pairs = list == &m_backupMoves || list == &m_stagedMoves || list == &m_records;
        if (!ReadList(file, *list) || list->GetCount() % (pairs ? 2 : 1) != 0)
            return false;
    }
    file.SkipExtension();
    if (!file.IsOk() || phase < Staging || phase > Committing || !NamesOnlyInstalledPaths()) {
        Clear();
        return false;
    }
    m_phase = Phase(phase);
    return true;
}

bool InstallJournal::NamesOnlyInstalledPaths() const
{
    const MKTOArray<MKString>* lists[] = {&m_backupMoves, &m_backupFiles, &m_backupFolders,
                                          &m_stagedMoves, &m_stagedFiles, &m_stagedFolders};
    for (const MKTOArray<MKString>* list : lists) {
        for (int i = 0; i < list->GetCount(); ++i) {
            if (!IsPathInsideFolder((*list)[i], m_installationFolder))
                return false;
        }
    }
    // A record without a copy (the file did not exist) has an empty copy.
    for (int i = 0; i < m_records.GetCount(); ++i) {
        bool emptyCopy = i % 2 == 1 && m_records[i].IsEmpty();
        if (!emptyCopy && !IsPathInsideFolder(m_records[i], m_installationFolder))
            return false;
    }
    return true;
}

void InstallJournal::Remove()
{
    GetFileCalls().deleteFile(GetJournalFilePath(m_installationFolder).GetText());
}

bool InstallJournal::RollBack(bool newFilesTakenBack)
{
    // Recorded, not guessed from the files: new files can be in place only
    // once every installed file went to its backup, and a backup name was
    // free when it was planned, so a file under it is the installation's.
    bool newFilesPlaced = m_phase == Committing || m_phase == Recording;
    bool restored = true;
    for (int i = newFilesPlaced && !newFilesTakenBack ? m_stagedMoves.GetCount() - 2 : -1; i >= 0; i -= 2) {
        const MKString& staged = m_stagedMoves[i];
        const MKString& target = m_stagedMoves[i + 1];
        if (!Exists(staged) && Exists(target))
            restored = MoveBack(target, staged) && restored;
    }
    // Every new file is off its target: a repeated undo must not take what
    // comes back from the backups for a new file.
    if (!restored || (newFilesPlaced && !Save(Moving)))
        return false;
    bool backupsMoved = m_phase != Staging;
    for (int i = backupsMoved ? m_backupMoves.GetCount() - 2 : -1; i >= 0; i -= 2) {
        const MKString& installed = m_backupMoves[i];
        const MKString& backup = m_backupMoves[i + 1];
        // A file that took the installed name meanwhile is not overwritten:
        // the backup stays and the undo is not complete.
        if (Exists(backup))
            restored = !Exists(installed) && MoveBack(backup, installed) && restored;
    }
    for (int i = backupsMoved ? 0 : m_records.GetCount(); i < m_records.GetCount(); i += 2) {
        const MKString& path = m_records[i];
        const MKString& copy = m_records[i + 1];
        if (copy.IsEmpty()) {
            if (Exists(path) && !GetFileCalls().deleteFile(path.GetText()))
                restored = false;
        } else if (Exists(copy) &&
                   !GetFileCalls().moveFileEx(copy.GetText(), path.GetText(), MOVEFILE_REPLACE_EXISTING)) {
            restored = false;
        }
    }
    // Everything is back: from here a repeated undo only deletes staged files.
    if (!restored || (m_phase != Staging && !Save(Staging)))
        return false;
    DeleteFiles(m_stagedFiles);
    RemoveFolders(m_stagedFolders);
    Remove();
    return true;
}

void InstallJournal::Finish()
{
    bool deleted = DeleteFiles(m_backupFiles);
    RemoveFolders(m_backupFolders);
    for (int i = 1; i < m_records.GetCount(); i += 2) {
        if (!m_records[i].IsEmpty() && !GetFileCalls().deleteFile(m_records[i].GetText()) && Exists(m_records[i]))
            deleted = false;
    }
    if (deleted)
        Remove();
}

RecoveryResult RecoverInstallation(const MKString& installationFolder)
{
    InstallJournal journal(installationFolder);
    if (!journal.Load()) {
        // A journal that cannot be read names nothing to undo.
        if (MKIsFileAt(GetJournalFilePath(installationFolder)))
            journal.Remove();
        return RecoveryNothing;
    }
    if (journal.GetPhase() == InstallJournal::Done) {
        journal.Finish();
        return RecoveryFinished;
    }
    return journal.RollBack() ? RecoveryRolledBack : RecoveryFailed;
}
