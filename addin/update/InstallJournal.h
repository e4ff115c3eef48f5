#pragma once
#include "base/MKString.h"
#include "base/MKTOArray.h"
#include <stdint.h>

class FileOperationSet;

// The record of an installation under way ("journal.dat" of the updater
// folder), rewritten whole before each step that changes installed files, so
// that an installation cut short (a killed process, a lost power supply) is
// finished or undone at the next start and never stays half old, half new.
class InstallJournal {
public:
    // The values are stored: a new phase takes a new number.
    enum Phase {
        // New files are being extracted beside their targets; the installed
        // files are untouched.
        Staging = 1,
        // Installed files are moving to their backup names; no new file is in
        // place yet.
        Moving = 2,
        // Every new file is in place; the plug-in list and history are being
        // written (their earlier contents copied aside).
        Recording = 3,
        // The installation is complete; only the backups remain to delete.
        Done = 4,
        // Every installed file went to its backup; the new files are moving
        // into place.
        Committing = 5,
    };

    explicit InstallJournal(const MKString& installationFolder);
    InstallJournal(const InstallJournal&) = delete;
    InstallJournal& operator=(const InstallJournal&) = delete;

    void Clear();
    // The moves, backup files and folders of a backup set.
    bool AddBackupSet(FileOperationSet& set);
    // The moves, staged files and folders of a staged set.
    bool AddStagedSet(FileOperationSet& set);
    // Copies the file aside (as its name with ".old.2"), or notes that it did
    // not exist, so that undoing the installation brings it back as it was.
    bool KeepRecordFile(const MKString& path);

    Phase GetPhase() const { return m_phase; }
    // Writes the journal with the phase; false (the phase unchanged) when it
    // cannot be written.
    bool Save(Phase phase);
    // Reads "journal.dat"; false when there is none, it cannot be read or it
    // names any path outside the installation folder (the updater folder is
    // writable by every user, so such a journal is taken as damaged and
    // nothing it names is touched).
    bool Load();
    // Deletes "journal.dat".
    void Remove();

    // Undoes the installation as far as the phase says it went: new files
    // that were moved into place go back to their staged names (only once
    // every installed file went to its backup) and the journal is rewritten
    // as Moving; installed files come back from their backups and the record
    // files are restored, and the journal is rewritten as Staging before the
    // staged files and the folders made for them are removed. So a repeated
    // undo never takes a restored file for a new one. True when every file came back; the journal is then
    // removed, otherwise kept for the next try. newFilesTakenBack: the caller
    // knows no new file is in place (a failed commit undid its own moves), so
    // whatever lies at a target now is someone else's and stays.
    bool RollBack(bool newFilesTakenBack = false);
    // Deletes the backups, their emptied folders and the record copies, then
    // the journal; a backup that cannot be deleted keeps the journal for the
    // next start.
    void Finish();

private:
    bool NamesOnlyInstalledPaths() const;

    MKString m_installationFolder;
    Phase m_phase = Staging;
    // Pairs (from, to), flattened.
    MKTOArray<MKString> m_backupMoves;
    MKTOArray<MKString> m_backupFiles;
    MKTOArray<MKString> m_backupFolders;
    MKTOArray<MKString> m_stagedMoves;
    MKTOArray<MKString> m_stagedFiles;
    MKTOArray<MKString> m_stagedFolders;
    // Pairs (file, copy); an empty copy for a file that did not exist.
    MKTOArray<MKString> m_records;
};

enum RecoveryResult {
    RecoveryNothing = 0,
    // An installation cut short before it was complete was undone.
    RecoveryRolledBack = 1,
    // A complete installation's backups were deleted.
    RecoveryFinished = 2,
    // Some file could not be brought back; the journal stays for the next try.
    RecoveryFailed = 3,
};

// Finishes or undoes an installation that a journal shows was cut short. The
// caller holds the updater lock.
RecoveryResult RecoverInstallation(const MKString& installationFolder);
