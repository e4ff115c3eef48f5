#include "addin/update/UpdateInstaller.h"
#include "addin/update/InstalledPlugins.h"
#include "addin/update/ReadyRecord.h"
#include "addin/update/SetupIdentities.h"
#include "addin/update/SetupsFolder.h"
#include "addin/update/UpdateHistory.h"
#include "addin/update/UpdatePackage.h"
#include "addin/update/UpdaterFolder.h"
#include "addin/update/FileCalls.h"
#include "base/MKFile.h"
#include "base/MKPath.h"
#include "base/MKSharedSecurity.h"
#include <wchar.h>

namespace {

const wchar_t kStagingSuffix[] = L".new.2";
const wchar_t kBackupSuffix[] = L".old.2";
// Backup names tried past a stale ".old.2": ".old.3" up to ".old.99".
const int kLastBackupNumber = 99;

int PackageFailure(int code)
{
    return int(InstallSetupsPackageBase) + code;
}

} // namespace

UpdateInstaller::UpdateInstaller(const MKString& installationFolder)
    : m_installationFolder(installationFolder), m_updaterFolder(::GetUpdaterFolder(installationFolder)),
      m_security(MKSharedSecurity::Global()), m_journal(installationFolder)
{
}

UpdateInstaller::~UpdateInstaller()
{
    Release();
}

bool UpdateInstaller::Prepare()
{
    delete m_ready;
    m_ready = nullptr;
    delete m_plugins;
    m_plugins = nullptr;
    m_backupsBlocked = false;
    // An installation that could not be undone keeps its journal and its
    // backups: nothing new is planned over them.
    if (RecoverInstallation(m_installationFolder) == RecoveryFailed)
        return false;
    m_ready = LoadReadyFile(m_installationFolder);
    if (!m_ready)
        return false;
    m_setupProgram = m_ready->FindSetupProgramPackage() >= 0;
    if (m_setupProgram)
        m_ready->Clear();
    else
        NarrowPlan();
    m_plugins = new InstalledPlugins(m_installationFolder);
    if (m_plugins->Load() != InstalledPluginsOk) {
        delete m_plugins;
        m_plugins = new InstalledPlugins(m_installationFolder);
    }
    delete m_backups;
    m_backups = new FileTransaction(m_plugins);
    delete m_staged;
    m_staged = new FileTransactionList;
    return true;
}

void UpdateInstaller::NarrowPlan()
{
    if (!m_keepOnlyInstaller && !m_leaveOutInstaller) {
        m_otherSetups = m_ready->GetSetupCount() >= 2 || !HasInstallerSetup();
        return;
    }
    m_otherSetups = false;
    MKGuid installer(kInstallerSetupGuid);
    for (int i = 0; i < m_ready->GetSetupCount();) {
        bool isInstaller = m_ready->GetSetupAt(i)->guid == installer;
        if (!isInstaller)
            m_otherSetups = true;
        if ((m_keepOnlyInstaller && !isInstaller) || (m_leaveOutInstaller && isInstaller))
            m_ready->RemoveSetup(i);
        else
            ++i;
    }
}

bool UpdateInstaller::IsComplete() const
{
    return !m_ready || m_ready->GetSetupCount() == 0;
}

bool UpdateInstaller::HasInstallerSetup() const
{
    return m_ready && m_ready->FindInstallerSetup() >= 0;
}

MKVersion UpdateInstaller::GetReadyVersion() const
{
    return m_ready ? m_ready->version : MKVersion();
}

bool UpdateInstaller::Verify()
{
    return m_ready && m_ready->Verify(true);
}

void UpdateInstaller::PlanBackups()
{
    if (!m_ready || !m_backups)
        return;
    m_backups->Reset();
    m_backupsBlocked = false;
    for (int i = 0; i < m_ready->GetSetupCount(); ++i) {
        InstalledPlugin* entry = m_plugins->GetAt(m_plugins->FindByGuid(m_ready->GetSetupAt(i)->guid));
        if (!entry)
            continue;
        FileOperationSet* set = m_backups->AddSet(entry);
        if (set)
            entry->PlanBackup(kBackupSuffix, *set);
    }
    for (int i = 0; i < m_ready->GetSetupCount(); ++i) {
        ReadySetup& setup = *m_ready->GetSetupAt(i);
        if (setup.OpenPackage() == UpdatePackageOk)
            PlanBackupOfTargets(*setup.GetPackage());
    }
    ChooseFreeBackupNames();
}

void UpdateInstaller::PlanBackupOfTargets(const UpdatePackage& package)
{
    // The installed entry's own package tells which files it installed; when
    // it is missing or differs, a file the new package replaces would block
    // the no-replace move of its new file on every attempt.
    FileOperationSet targets;
    package.PlanBackup(m_installationFolder, kBackupSuffix, targets);
    MKString installed = GetSetupPackagePath(m_installationFolder, package.GetName());
    if (!installed.IsEmpty() && MKPathAccess(installed, 0) != MKPathNotFound)
        targets.AddRename(installed, installed + kBackupSuffix);
    // Full forms: two packages may spell a folder with '/' and '\\'.
    MKTOArray<MKString> planned;
    for (int i = 0; i < m_backups->GetCount(); ++i) {
        FileRenameList& renames = m_backups->GetAt(i)->Renames();
        for (int k = 0; k < renames.GetCount(); ++k) {
            if (!renames.GetAt(k).skip)
                planned.Add(MKPathFull(renames.GetAt(k).first));
        }
    }
    FileOperationSet* set = nullptr;
    for (int i = 0; i < targets.Renames().GetCount(); ++i) {
        const RenamePair& pair = targets.Renames().GetAt(i);
        MKString full = MKPathFull(pair.first);
        bool known = false;
        for (int k = 0; k < planned.GetCount() && !known; ++k)
            known = _wcsicmp(planned[k].GetText(), full.GetText()) == 0;
        if (known)
            continue;
        if (!set)
            set = m_backups->AddSet(nullptr);
        if (!set || !set->AddRename(pair.first, pair.second) || !planned.Add(full))
            m_backupsBlocked = true;
    }
}

void UpdateInstaller::ChooseFreeBackupNames()
{
    for (int i = 0; i < m_backups->GetCount(); ++i) {
        FileOperationSet& set = *m_backups->GetAt(i);
        for (int k = 0; k < set.Renames().GetCount(); ++k) {
            RenamePair& pair = set.Renames().GetAt(k);
            if (pair.skip || MKPathAccess(pair.second, 0) == MKPathNotFound)
                continue;
            // A backup an earlier update could not delete: cleared, or else
            // passed over, so that a file under the backup name is always
            // this installation's own.
            GetFileCalls().deleteFile(pair.second.GetText());
            MKString name = pair.second;
            for (int number = 3; MKPathAccess(name, 0) != MKPathNotFound; ++number) {
                if (number > kLastBackupNumber) {
                    m_backupsBlocked = true;
                    return;
                }
                name = pair.first + L".old." + MKString::FromInt(number);
            }
            for (int f = 0; f < set.Files().GetCount(); ++f) {
                if (set.Files().GetAt(f).path.Equals(pair.second))
                    set.Files().GetAt(f).path = name;
            }
            pair.second = name;
        }
    }
}

int UpdateInstaller::InstallSetups()
{
    if (!m_ready || !m_staged)
        return PackageFailure(PackageItemCannotOpenPackage);
    m_staged->Reset();
    m_journal.Clear();
    // The installation's own folders and files take the installation folder's
    // inherited security; only the updater folder's records are shared.
    if (!EnsureSetupsFolder(m_installationFolder, nullptr))
        return InstallSetupsNoSetupsFolder;
    // Every file the installation will make is planned and journaled before
    // the first is extracted, so a cut-short extraction leaves nothing behind.
    for (int i = 0; i < m_ready->GetSetupCount(); ++i) {
        ReadySetup& setup = *m_ready->GetSetupAt(i);
        if (setup.OpenPackage() != UpdatePackageOk)
            return PackageFailure(PackageItemCannotOpenPackage);
        const UpdatePackage& package = *setup.GetPackage();
        MKString installed = GetSetupPackagePath(m_installationFolder, package.GetName());
        FileOperationSet* set = m_staged->AddSet();
        if (!set || installed.IsEmpty()) {
            m_staged->Reset();
            return PackageFailure(PackageItemCannotCreate);
        }
        package.PlanInstall(m_installationFolder, kStagingSuffix, *set);
        // The downloaded package moves into "setups" with the new files; a
        // discarded staging leaves it where it was downloaded.
        set->Renames().Add(package.GetPath(), installed);
    }
    for (int i = 0; i < m_backups->GetCount(); ++i)
        m_journal.AddBackupSet(*m_backups->GetAt(i));
    for (int i = 0; i < m_staged->GetCount(); ++i)
        m_journal.AddStagedSet(*m_staged->GetAt(i));
    if (!m_journal.Save(InstallJournal::Staging)) {
        m_staged->Reset();
        return PackageFailure(PackageItemWriteFailed);
    }
    for (int i = 0; i < m_staged->GetCount(); ++i) {
        const UpdatePackage& package = *m_ready->GetSetupAt(i)->GetPackage();
        int code = package.ExtractPlanned(m_installationFolder, kStagingSuffix, *m_staged->GetAt(i), nullptr);
        if (code != PackageItemOk) {
            m_staged->Clear();
            m_journal.RollBack();
            return PackageFailure(code);
        }
    }
    return InstallSetupsOk;
}

bool UpdateInstaller::ApplyBackups(MKString* failing)
{
    if (!m_backups || m_backupsBlocked || !m_journal.Save(InstallJournal::Moving))
        return false;
    return m_backups->Apply(failing);
}

void UpdateInstaller::DiscardStaged()
{
    if (m_staged)
        m_staged->Clear();
    UndoAll();
}

bool UpdateInstaller::CommitStaged()
{
    m_rolledBack = false;
    if (!m_staged)
        return false;
    // Every installed file is at its backup now: what reaches a target from
    // here on is new.
    if (!m_journal.Save(InstallJournal::Committing)) {
        UndoAll(true);
        return false;
    }
    if (m_staged->Commit())
        return true;
    // The commit moved back what it could; the journal tries the rest again
    // and brings the installed files back from their backups.
    UndoAll(m_staged->GetUndoFailures() == 0);
    return false;
}

bool UpdateInstaller::UndoAll(bool newFilesTakenBack)
{
    m_rolledBack = m_journal.RollBack(newFilesTakenBack);
    if (m_staged)
        m_staged->Reset();
    if (m_backups)
        m_backups->Reset();
    return m_rolledBack;
}

bool UpdateInstaller::RecordInstallation(bool setVersion, int32_t method, bool flag, const MKString& pluginsPath,
                                         const MKString& historyPath)
{
    if (!m_ready || !m_plugins)
        return false;
    MKString plugins = pluginsPath.IsEmpty() ? m_plugins->GetListPath() : pluginsPath;
    MKString history = historyPath.IsEmpty() ? GetHistoryFilePath(m_installationFolder) : historyPath;
    if (!m_journal.KeepRecordFile(plugins) || !m_journal.KeepRecordFile(history) ||
        !m_journal.Save(InstallJournal::Recording)) {
        UndoAll();
        return false;
    }
    for (int i = 0; i < m_ready->GetSetupCount(); ++i) {
        const UpdatePackage* package = m_ready->GetSetupAt(i)->GetPackage();
        if (package)
            m_plugins->UpdateFromPackage(*package);
    }
    if (setVersion)
        m_plugins->productVersion = m_ready->version;
    UpdateHistory record(m_installationFolder);
    if (MKFileExists(history))
        record.Load();
    record.AddUpdate(*m_ready, method, flag);
    if (!m_plugins->SaveTo(plugins) || !record.SaveTo(history, m_security)) {
        UndoAll();
        return false;
    }
    // Without the journal saying so the next start would undo the update.
    if (!m_journal.Save(InstallJournal::Done)) {
        UndoAll();
        return false;
    }
    m_journal.Finish();
    if (m_backups)
        m_backups->Reset();
    return true;
}

void UpdateInstaller::DeleteAll()
{
    if (m_ready)
        m_ready->DeleteAll();
}

void UpdateInstaller::Release()
{
    delete m_staged;
    m_staged = nullptr;
    delete m_backups;
    m_backups = nullptr;
    delete m_ready;
    m_ready = nullptr;
    delete m_plugins;
    m_plugins = nullptr;
}
