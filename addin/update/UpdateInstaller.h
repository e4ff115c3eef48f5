#pragma once
#include "addin/update/FileTransaction.h"
#include "addin/update/FileTransactionList.h"
#include "addin/update/InstallJournal.h"
#include "base/MKString.h"
#include "base/MKVersion.h"
#include <stdint.h>

class InstalledPlugins;
class MKSharedSecurity;
class ReadyRecord;
class UpdatePackage;

// Codes of UpdateInstaller::InstallSetups.
enum InstallSetupsResult {
    InstallSetupsOk = 0,
    // 10 + a PackageItemResult of the package that failed.
    InstallSetupsPackageBase = 10,
    InstallSetupsNoSetupsFolder = 13,
};

// Turns the downloaded update of "ready.dat" into installed files. The caller
// runs the steps in order: Prepare, Verify, PlanBackups, InstallSetups (new
// files extracted beside their targets), ApplyBackups (installed files moved
// aside), CommitStaged (new files into place), RecordInstallation (plug-in
// list and history; only then are the backups deleted), Release. A journal
// follows the steps, so an installation cut short is undone at the next
// Prepare or RecoverInstallation. One attempt per object; one thread.
class UpdateInstaller {
public:
    explicit UpdateInstaller(const MKString& installationFolder);
    ~UpdateInstaller();
    UpdateInstaller(const UpdateInstaller&) = delete;
    UpdateInstaller& operator=(const UpdateInstaller&) = delete;

    // Plan only the installer program's own setup (the add-in's part).
    void SetKeepOnlyInstaller(bool keep) { m_keepOnlyInstaller = keep; }
    // Plan everything but the installer program's setup (the update add-in's).
    void SetLeaveOutInstaller(bool leave) { m_leaveOutInstaller = leave; }

    // Finishes or undoes an earlier installation cut short, then loads
    // "ready.dat" and "plugins.dat" and makes the plan. False without a
    // readable "ready.dat", or while an earlier installation cannot be undone.
    bool Prepare();
    // No ready record, or no setup in the plan.
    bool IsComplete() const;
    bool HasInstallerSetup() const;
    // 0.0.-1.-1 without a ready record.
    MKVersion GetReadyVersion() const;
    // The plan's packages match the record in full; see ReadyRecord::Verify.
    bool Verify();
    // Plans moving aside the installed files of the replaced setups and every
    // other file a new package replaces, each to a backup name that is free.
    void PlanBackups();
    // An InstallSetupsResult; after a failure no staged file remains.
    int InstallSetups();
    // Moves the installed files of the replaced setups aside; false, with
    // nothing moved, when one is in use (or the journal cannot be written).
    bool ApplyBackups(MKString* failing = nullptr);
    // Drops the staged files and undoes moved backups.
    void DiscardStaged();
    // Moves every new file into place. On a failure the new files are taken
    // back and the installed files restored: WasRolledBack says whether that
    // wholly succeeded (otherwise the journal stays for the next start).
    bool CommitStaged();
    bool WasRolledBack() const { return m_rolledBack; }
    // Records the installation in "plugins.dat" (with the update's version
    // when setVersion) and "history.dat" (paths empty: their own), then
    // deletes the backups. On a failure the whole installation is undone, as
    // after a failed commit.
    bool RecordInstallation(bool setVersion, int32_t method, bool flag, const MKString& pluginsPath,
                            const MKString& historyPath);
    // Deletes every downloaded package and "ready.dat".
    void DeleteAll();
    void Release();

    ReadyRecord* GetReadyRecord() const { return m_ready; }
    InstalledPlugins* GetPlugins() const { return m_plugins; }
    FileTransaction* GetBackups() const { return m_backups; }
    FileTransactionList* GetStaged() const { return m_staged; }
    bool HasOtherSetups() const { return m_otherSetups; }
    bool HasSetupProgram() const { return m_setupProgram; }
    const MKString& GetInstallationFolder() const { return m_installationFolder; }
    const MKString& GetUpdaterFolder() const { return m_updaterFolder; }

private:
    void NarrowPlan();
    void PlanBackupOfTargets(const UpdatePackage& package);
    void ChooseFreeBackupNames();
    bool UndoAll(bool newFilesTakenBack = false);

    MKString m_installationFolder;
    MKString m_updaterFolder;
    // For the records users share in the updater folder (the history); the
    // installation's own files take the installation folder's security.
    const MKSharedSecurity* m_security;
    ReadyRecord* m_ready = nullptr;
    InstalledPlugins* m_plugins = nullptr;
    FileTransaction* m_backups = nullptr;
    FileTransactionList* m_staged = nullptr;
    InstallJournal m_journal;
    bool m_keepOnlyInstaller = false;
    bool m_leaveOutInstaller = false;
    bool m_otherSetups = false;
    bool m_setupProgram = false;
    bool m_rolledBack = false;
    // No free backup name, or the plan could not be kept: nothing may move.
    bool m_backupsBlocked = false;
};
