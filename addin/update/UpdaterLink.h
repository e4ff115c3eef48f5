#pragma once
#include "addin/update/UpdaterLock.h"
#include "base/MKString.h"
#include "base/MKTArray.h"
#include <stdint.h>
#include <windows.h>

struct MKSha1Digest;
class StepHolder;
class UpdateCheckDispatch;
class UpdateChecker;
class UpdaterHost;

// Outcome kinds of one installation attempt by the add-in (RunInstaller).
enum InstallKind {
    InstallKindNothingHere = 0,
    InstallKindInstallerInstalled = 1,
    InstallKindUpdateAddInBusy = 2,
    InstallKindNoComAddIns = 3,
    InstallKindNoConnectState = 4,
    InstallKindFailed = 5,
    InstallKindFileInUse = 6,
    InstallKindSetupProgram = 7,
    InstallKindNeedsElevation = 8,
};

// The add-in's side of the update cycle: at each start it reports the last
// update's result, schedules the installation of a downloaded update or
// starts the automatic update check; it installs the installer program's own
// setup itself and hands the rest to the update add-in, the installer program
// or a setup program. Lives on PowerPoint's user-interface thread, one per
// add-in.
class UpdaterLink {
public:
    explicit UpdaterLink(UpdaterHost& host);
    ~UpdaterLink();
    UpdaterLink(const UpdaterLink&) = delete;
    UpdaterLink& operator=(const UpdaterLink&) = delete;

    // True when the result of an update waits to be reported (and no restart
    // is pending); otherwise takes the update add-in away.
    bool CleanUpAfterUpdate();
    // Reports "result.dat": false unless the update succeeded.
    bool ReportUpdateResult(bool* noPluginCall, bool* automatic);
    void ScheduleReadyUpdate(bool* scheduled);
    void PostDeferredStep(bool noPluginCall, bool skip);
    void StartAutomaticCheck();
    void StopCheck();
    // 0 or a code of the failed path (101 to 503).
    int InstallReadyUpdate(bool automatic);
    bool IsLocked();
    bool HasResultFile();
    bool IsRebootPending();

    UpdaterHost& GetHost() { return m_host; }
    const MKString& GetInstallationFolder() const { return m_installationFolder; }
    UpdaterLock& GetLock() { return m_lock; }
    // The automatic check; null when none runs.
    UpdateChecker* GetChecker() const { return m_checker; }
    // The start delay of automatic checks (5000 ms; tests shorten it).
    void SetCheckDelay(int milliseconds) { m_checkDelayMs = milliseconds; }

    // The plug-ins' automation objects over this link: the link detaches
    // them when it goes, since a plug-in may hold one longer.
    bool AddDispatch(UpdateCheckDispatch* dispatch);
    void RemoveDispatch(UpdateCheckDispatch* dispatch);

    // The deferred steps (run from their holders' windows).
    void FollowUpStep(int32_t noPluginCall);
    void InstallStep(int32_t unused);

private:
    int HandleInstallOutcome(bool automatic, bool* startedProgram);
    int RunInstaller(int* kind, bool* moreSetups, bool automatic);
    int ConnectUpdateAddIn(bool automatic);
    bool DisconnectUpdateAddIn();
    bool CanReplaceUpdateAddIn();
    bool NeedsElevation();
    int StartUpdaterProgram(bool automatic);
    int StartSetupProgram(bool automatic);
    int ExtractFromReadyUpdate(const GUID& setup, int32_t kind, const MKString& target, bool* extracted,
                               MKSha1Digest* written);
    // The extracted program still holds what was written; otherwise it is
    // deleted and must not start.
    static bool IsExtractedProgramIntact(const MKString& path, const MKSha1Digest& written);
    // Replaces a holder; one whose step is running is kept until later.
    void ReplaceHolder(StepHolder*& slot, StepHolder* holder);

    UpdaterHost& m_host;
    MKString m_installationFolder;
    UpdaterLock m_lock;
    UpdateChecker* m_checker = nullptr;
    StepHolder* m_followUp = nullptr;
    StepHolder* m_install = nullptr;
    MKTArray<StepHolder*> m_retired;
    MKTArray<UpdateCheckDispatch*> m_dispatches;
    int m_checkDelayMs = 5000;
};
