#include "addin/update/UpdaterLink.h"
#include "addin/update/AutoRunRecord.h"
#include "addin/update/CommandRecord.h"
#include "addin/update/FileRenameList.h"
#include "addin/update/PendingRenames.h"
#include "addin/update/ProcessLaunch.h"
#include "addin/update/ProgramFolder.h"
#include "addin/update/ReadyRecord.h"
#include "addin/update/ResultRecord.h"
#include "addin/update/SetupIdentities.h"
#include "addin/update/ShellLaunch.h"
#include "addin/update/StateRecord.h"
#include "addin/update/StepHolder.h"
#include "addin/update/UpdateCheckDispatch.h"
#include "addin/update/UpdateChecker.h"
#include "addin/update/UpdateClock.h"
#include "addin/update/UpdateInstaller.h"
#include "addin/update/UpdatePackage.h"
#include "addin/update/UpdaterFolder.h"
#include "addin/update/UpdaterHost.h"
#include "base/MKFile.h"
#include "base/MKPath.h"
#include "base/MKPointerArrays.h"
#include "base/MKSharedSecurity.h"
#include "base/MKSystemChecks.h"
#include "base/MKTextBuffer.h"

namespace {

const int32_t kInstallerProgramItem = 3;
const int32_t kSetupProgramItem = 6;
// InstallReadyUpdate: the updater folder is locked by another process.
const int kLockedCode = 102;

const MKSharedSecurity* Security()
{
    return MKSharedSecurity::Global();
}

} // namespace

UpdaterLink::UpdaterLink(UpdaterHost& host)
    : m_host(host), m_installationFolder(host.GetInstallationFolder()), m_lock(m_installationFolder)
{
}

UpdaterLink::~UpdaterLink()
{
    // Each takes itself off the list.
    while (m_dispatches.GetCount() > 0)
        m_dispatches[m_dispatches.GetCount() - 1]->Detach();
    delete m_followUp;
    delete m_install;
    MKDeleteAllItems(m_retired);
    StopCheck();
}

bool UpdaterLink::AddDispatch(UpdateCheckDispatch* dispatch)
{
    return m_dispatches.Add(dispatch);
}

void UpdaterLink::RemoveDispatch(UpdateCheckDispatch* dispatch)
{
    for (int i = 0; i < m_dispatches.GetCount(); ++i) {
        if (m_dispatches[i] == dispatch) {
            m_dispatches.RemoveAt(i);
            return;
        }
    }
}

void UpdaterLink::ReplaceHolder(StepHolder*& slot, StepHolder* holder)
{
    if (slot && slot->IsRunning()) {
        // Its step is on the call stack: deleted once it has returned.
        slot->Cancel();
        if (!m_retired.Add(slot))
            slot = nullptr;
    } else {
        delete slot;
    }
    slot = holder;
    for (int i = m_retired.GetCount() - 1; i >= 0; --i) {
        if (!m_retired[i]->IsRunning()) {
            delete m_retired[i];
            m_retired.RemoveAt(i);
        }
    }
}

bool UpdaterLink::CleanUpAfterUpdate()
{
    if (ResultRecord::Exists(m_installationFolder))
        return !IsRebootPending();
    DisconnectUpdateAddIn();
    m_host.UnregisterUpdateAddIn();
    return false;
}

bool UpdaterLink::ReportUpdateResult(bool* noPluginCall, bool* automatic)
{
    *noPluginCall = false;
    *automatic = false;
    m_host.UnregisterUpdateAddIn();
    int32_t step = 0;
    int32_t code = 0;
    bool prepare = false;
    MKString message;
    if (!ReadResultFile(m_installationFolder, &step, &prepare, &code, &message)) {
        ResultRecord::Delete(m_installationFolder);
        return false;
    }
    if (step >= 2 && step <= 4)
        DeleteInstallerPrograms(m_installationFolder, 1000);
    if (code == 0) {
        ResultRecord::Delete(m_installationFolder);
        *noPluginCall = step != 1;
        *automatic = prepare;
        return true;
    }
    // Another process is at work on the update (the installer program):
    // the result stays for it.
    if (!m_lock.Acquire())
        return false;
    if (StartUpdaterProgram(prepare) != 0) {
        ResultRecord::Delete(m_installationFolder);
        if (!prepare) {
            MKTextBuffer text;
            text.AppendFormat(L"A serious error occurred while updating files. (error UE-%d)\nPlease download and "
                              L"install the new setup to update your version.",
                              code);
            m_host.ShowUpdateError(text.ToString());
        }
    } else if (prepare) {
        ResultRecord::Delete(m_installationFolder);
    }
    return false;
}

void UpdaterLink::PostDeferredStep(bool noPluginCall, bool skip)
{
    if (skip)
        return;
    ReplaceHolder(m_install, nullptr);
    ReplaceHolder(m_followUp, StepHolder::Post(m_host.GetModuleInstance(), this, &UpdaterLink::FollowUpStep,
                                               noPluginCall ? 1 : 0));
}

void UpdaterLink::FollowUpStep(int32_t noPluginCall)
{
    if (m_followUp)
        m_followUp->Cancel();
    DisconnectUpdateAddIn();
    m_host.UnregisterUpdateAddIn();
    if (!noPluginCall)
        m_host.KernelShutdown();
}

void UpdaterLink::ScheduleReadyUpdate(bool* scheduled)
{
    *scheduled = false;
    StopCheck();
    bool explicitlyOff = m_host.GetAutoInstallUpdates() == 0;
    if (!(!explicitlyOff && IsScheduledRunPending(m_installationFolder)) && IsReadyFilePresent(m_installationFolder)) {
        ReadyRecord ready(m_installationFolder);
        if (ready.Load() && ready.Verify(true)) {
            *scheduled = true;
            ReplaceHolder(m_install,
                          StepHolder::Post(m_host.GetModuleInstance(), this, &UpdaterLink::InstallStep, 0));
            return;
        }
    }
    StartAutomaticCheck();
}

void UpdaterLink::InstallStep(int32_t)
{
    if (m_install)
        m_install->Cancel();
    if (m_host.GetAutoInstallUpdates() == 0) {
        m_host.KernelIsReady();
        return;
    }
    if (!IsRebootPending() && !IsLocked() && !HasResultFile())
        InstallReadyUpdate(true);
}

void UpdaterLink::StartAutomaticCheck()
{
    if (m_checker || !m_host.GetAutoCheckUpdates() ||
        !IsCheckDue(m_installationFolder, m_host.GetUpdateFrequency(), Security(), SystemUpdateClock()) ||
        IsLocked() || IsRebootPending())
        return;
    UpdateCheckFacts facts;
    if (!m_host.MakeCheckFacts(facts))
        return;
    m_checker = new UpdateChecker(m_installationFolder, SystemUpdateClock());
    m_checker->SetStartDelay(m_checkDelayMs);
    m_checker->SetServiceUrl(m_host.GetUpdateServiceUrl());
    if (!m_checker->Start(facts, m_host.GetCheckSettings())) {
        delete m_checker;
        m_checker = nullptr;
    }
}

void UpdaterLink::StopCheck()
{
    if (!m_checker)
        return;
    m_checker->Stop();
    delete m_checker;
    m_checker = nullptr;
}

bool UpdaterLink::IsRebootPending()
{
    if (!IsRebootFilePresent(m_installationFolder))
        return false;
    bool listed = false;
    MKString marker = GetRebootFilePath(m_installationFolder);
    if (IsPendingRename(marker, &listed) && !listed)
        MoveFileExW(marker.GetText(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    return true;
}

bool UpdaterLink::IsLocked()
{
    return m_lock.IsLocked();
}

bool UpdaterLink::HasResultFile()
{
    return ResultRecord::Exists(m_installationFolder);
}

int UpdaterLink::InstallReadyUpdate(bool automatic)
{
    m_host.StopSlideShowSession();
    // No check may download beside the installation.
    StopCheck();
    // Another process (the installer program, the update add-in) is at work,
    // or a check's thread of this one.
    if (!m_lock.Acquire())
        return kLockedCode;
    RemoveScheduledRun(m_installationFolder);
    bool startedProgram = false;
    int code = HandleInstallOutcome(automatic, &startedProgram);
    if (!startedProgram)
        m_lock.Release();
    return code;
}

int UpdaterLink::HandleInstallOutcome(bool automatic, bool* startedProgram)
{
    *startedProgram = false;
    int kind = 0;
    bool moreSetups = false;
    int code = RunInstaller(&kind, &moreSetups, automatic);
    if (code != 0)
        return code;
    if (kind == InstallKindSetupProgram) {
        code = StartSetupProgram(automatic);
        *startedProgram = code == 0;
        return code;
    }
    if (kind >= InstallKindUpdateAddInBusy) {
        code = StartUpdaterProgram(automatic);
        *startedProgram = code == 0;
        return code;
    }
    if (!moreSetups) {
        PostDeferredStep(false, automatic);
        return 0;
    }
    if (ConnectUpdateAddIn(automatic) == 0)
        return 0;
    code = StartUpdaterProgram(automatic);
    *startedProgram = code == 0;
    return code;
}

int UpdaterLink::RunInstaller(int* kind, bool* moreSetups, bool automatic)
{
    *kind = InstallKindNothingHere;
    *moreSetups = false;
    UpdateInstaller installer(m_installationFolder);
    installer.SetKeepOnlyInstaller(true);
    if (!installer.Prepare())
        return 101;
    if (installer.HasSetupProgram()) {
        *kind = InstallKindSetupProgram;
        return 0;
    }
    if (NeedsElevation()) {
        *kind = InstallKindNeedsElevation;
        return 0;
    }
    if (installer.IsComplete()) {
        *moreSetups = installer.HasOtherSetups();
        if (!*moreSetups)
            installer.DeleteAll();
        return 0;
    }
    if (!installer.Verify())
        return 103;
    bool found = false;
    bool connected = false;
    if (!m_host.HasComAddIns()) {
        *kind = InstallKindNoComAddIns;
        return 0;
    }
    if (!m_host.QueryUpdateAddIn(&found, &connected)) {
        *kind = InstallKindNoConnectState;
        return 0;
    }
    if ((found && connected) || !CanReplaceUpdateAddIn()) {
        *kind = InstallKindUpdateAddInBusy;
        return 0;
    }
    installer.PlanBackups();
    if (installer.InstallSetups() != InstallSetupsOk) {
        *kind = InstallKindFailed;
        return 0;
    }
    if (!installer.ApplyBackups()) {
        installer.DiscardStaged();
        *kind = InstallKindFileInUse;
        return 0;
    }
    if (!installer.CommitStaged()) {
        *kind = InstallKindFailed;
        return 0;
    }
    *moreSetups = installer.HasOtherSetups();
    if (!installer.RecordInstallation(!*moreSetups, 1, automatic, MKString(), MKString())) {
        *kind = InstallKindFailed;
        return 0;
    }
    if (!*moreSetups) {
        m_host.SetInstalledVersion(installer.GetReadyVersion());
        installer.DeleteAll();
    } else {
        // The remaining setups wait for the update add-in.
        ReadyRecord rest(m_installationFolder);
        if (rest.Load()) {
            rest.RemoveSetup(rest.FindInstallerSetup());
            WriteReadyFile(m_installationFolder, Security(), rest);
        }
    }
    *kind = InstallKindInstallerInstalled;
    return 0;
}

bool UpdaterLink::NeedsElevation()
{
    return m_host.IsMainAddInMachineWide() && MKIsVistaOrLater() && MKGetElevationType() != 2;
}

int UpdaterLink::ConnectUpdateAddIn(bool automatic)
{
    if (!m_host.HasComAddIns())
        return 201;
    if (!m_host.RegisterUpdateAddIn())
        return 202;
    int code = 0;
    bool found = false;
    bool connected = false;
    if (!m_host.RefreshComAddIns())
        code = 203;
    else if (!m_host.QueryUpdateAddIn(&found, &connected))
        code = 205;
    else if (!found)
        code = 204;
    else if (connected && !CanReplaceUpdateAddIn() && !m_host.SetUpdateAddInConnect(false))
        code = 206;
    else if (!WriteCommandFile(m_installationFolder, Security(), automatic ? 1 : 0, L"prepare"))
        code = 207;
    if (code != 0) {
        m_host.UnregisterUpdateAddIn();
        return code;
    }
    if (!m_host.SetUpdateAddInConnect(true)) {
        DeleteCommandFile(m_installationFolder);
        m_host.UnregisterUpdateAddIn();
        return 208;
    }
    int32_t answer = 0;
    MKString text;
    // An answer that cannot be read is no success: the update add-in did not
    // say that it prepared the installation.
    bool readable = ReadCommandFile(m_installationFolder, &answer, &text);
    DeleteCommandFile(m_installationFolder);
    if (!readable || answer != 0) {
        m_host.SetUpdateAddInConnect(false);
        m_host.UnregisterUpdateAddIn();
        return 209;
    }
    return 0;
}

bool UpdaterLink::DisconnectUpdateAddIn()
{
    bool found = false;
    bool connected = false;
    if (!m_host.QueryUpdateAddIn(&found, &connected))
        return false;
    if (!found || !connected)
        return true;
    return m_host.SetUpdateAddInConnect(false);
}

bool UpdaterLink::CanReplaceUpdateAddIn()
{
    MKString library = GetUpdaterAddInDllPath(m_installationFolder);
    FileRenameList check;
    check.Add(library, library + L"2");
    return check.CanOpenAllExclusively(nullptr);
}

int UpdaterLink::ExtractFromReadyUpdate(const GUID& setupGuid, int32_t kind, const MKString& target, bool* extracted,
                                        MKSha1Digest* written)
{
    *extracted = false;
    ReadyRecord ready(m_installationFolder);
    if (!ready.Load())
        return 301;
    ReadySetup* setup = ready.GetSetup(MKGuid(setupGuid));
    if (!setup)
        return 0;
    // What is extracted here is started, and the package lies in a folder
    // every user may write: only a signed package whose items all match their
    // digests qualifies, and the program itself must carry a digest that its
    // bytes match as they are written.
    const UpdatePackage* package = setup->OpenPackage() == UpdatePackageOk ? setup->GetPackage() : nullptr;
    if (!package || !package->IsSigned() || !package->VerifyItems())
        return 302;
    const PackageItem* item = package->FindItem(kind);
    if (!item)
        return 303;
    if (!item->HasData())
        return 304;
    // Extracted where only this user can write, so that what was checked is
    // what starts (with the folder's own attributes, not the shared ones).
    if (EnsureProgramFolder().IsEmpty() ||
        item->ExtractToFile(target, nullptr, ItemDigestCheck::Required, written) != PackageItemOk)
        return 305;
    *extracted = true;
    return 0;
}

bool UpdaterLink::IsExtractedProgramIntact(const MKString& path, const MKSha1Digest& written)
{
    MKSha1Digest now;
    if (ComputeFileDigest(path, &now) && now.Equals(written))
        return true;
    MKFileRemove(path);
    return false;
}

int UpdaterLink::StartUpdaterProgram(bool automatic)
{
    MKString extractedPath = GetProgramFolderUpdaterPath();
    bool extracted = false;
    MKSha1Digest written = {};
    int code = ExtractFromReadyUpdate(kInstallerSetupGuid, kInstallerProgramItem, extractedPath, &extracted, &written);
    if (code != 0) {
        m_lock.Release();
        return code;
    }
    // Checked again right before it is handed on: only what was verified
    // while it was written may start.
    if (extracted && !IsExtractedProgramIntact(extractedPath, written)) {
        m_lock.Release();
        return automatic ? 401 : 402;
    }
    MKString program = extracted ? extractedPath : GetUpdaterExePath(m_installationFolder);
    MKTextBuffer arguments;
    arguments.AppendFormat(L"/%s /%s \"%s\"", L"update", L"path", m_installationFolder.GetText());
    m_lock.Release();
    if (automatic)
        return ScheduleRun(m_installationFolder, Security(), program, arguments.ToString()) ? 0 : 401;
    ProcessInfo info;
    bool started = LaunchProcess(info, program, arguments.ToString());
    info.Close();
    if (!started) {
        m_lock.Acquire();
        if (extracted)
            MKFileRemove(extractedPath);
        return 402;
    }
    return 0;
}

int UpdaterLink::StartSetupProgram(bool automatic)
{
    MKString path = GetProgramFolderSetupPath();
    bool extracted = false;
    MKSha1Digest written = {};
    int code = ExtractFromReadyUpdate(kSetupProgramGuid, kSetupProgramItem, path, &extracted, &written);
    if (code != 0)
        return code;
    if (!extracted)
        return 501;
    // Checked again right before it is handed on: only what was verified
    // while it was written may start.
    if (!IsExtractedProgramIntact(path, written))
        return automatic ? 502 : 503;
    m_lock.Release();
    if (automatic)
        return ScheduleRun(m_installationFolder, Security(), path, L"/from_updater") ? 0 : 502;
    ShellLaunch launch;
    if (launch.Run(path, L"/from_updater", true) != ShellLaunchStarted) {
        m_lock.Acquire();
        MKFileRemove(path);
        return 503;
    }
    return 0;
}
