#include "addin/update/UpdateChecker.h"
#include "addin/update/BoundedOutStream.h"
#include "addin/update/FileOperations.h"
#include "addin/update/InstalledPlugins.h"
#include "addin/update/ReadyRecord.h"
#include "addin/update/StateRecord.h"
#include "addin/update/UpdateClock.h"
#include "addin/update/UpdatePackage.h"
#include "addin/update/UpdaterFolder.h"
#include "addin/update/UpdaterLock.h"
#include "base/MKCallable.h"
#include "base/MKCrashGuard.h"
#include "base/MKFile.h"
#include "base/MKHttpRequest.h"
#include "base/MKLock.h"
#include "base/MKMemOutStream.h"
#include "base/MKOutFileStream.h"
#include "base/MKPath.h"
#include "base/MKQueryParams.h"
#include "base/MKSharedSecurity.h"
#include "base/MKStopwatch.h"
#include "base/MKThread.h"
#include "base/MKTOArray.h"

const wchar_t kUpdateServiceUrl[] = L"https://update.vistello.com";

namespace {

const wchar_t kUserAgent[] = L"Mozilla/4.0 (compatible; MSIE 8.0; Windows NT 6.0)";
const wchar_t kCheckPath[] = L"/updates/vistello/check/";
const wchar_t kDownloadPath[] = L"/updates/vistello/download/";
const int kPollMs = 30;
// The check reply lists the offered setups in a few kilobytes; 1 MiB leaves
// ample room, and a server that sends on and on cannot take the address space
// of the 32-bit host within the check's time limit.
const int kCheckReplyLimit = 1024 * 1024;
const int kDelayStepMs = 50;

MKExceptionInfo g_threadInfo;

// Bytes of all downloads against their announced total, as a percentage.
struct DownloadProgress {
    int64_t total = 0;
    int64_t done = 0;
    int percent = -1;
};

} // namespace

// Everything one check's thread uses. The checker and the thread each hold a
// reference; the last to let go deletes it.
class UpdateCheckRun : public MKCallable {
public:
    UpdateCheckRun(const MKString& installationFolder, const UpdateClock& clock)
        : m_installationFolder(installationFolder), m_clock(clock), m_lock(installationFolder)
    {
    }

    void AddRef() { InterlockedIncrement(&m_references); }
    void Release()
    {
        if (InterlockedDecrement(&m_references) == 0)
            delete this;
    }

    unsigned long Run() override;

    int32_t GetStatus()
    {
        MKLock lock(m_guard);
        return m_status;
    }
    void SetStatus(int32_t status)
    {
        MKLock lock(m_guard);
        m_status = status;
    }
    bool IsStopRequested()
    {
        MKLock lock(m_guard);
        return m_stop;
    }
    void RequestStop()
    {
        MKLock lock(m_guard);
        m_stop = true;
    }
    // The owner's settings are no longer called.
    void Detach()
    {
        MKLock lock(m_guard);
        m_settings = nullptr;
    }

    UpdateCheckFacts facts;
    MKString serviceUrl;
    MKVersion productVersion;
    bool automatic = false;
    int startDelayMs = 0;
    int checkLimitMs = 0;
    int downloadIdleMs = 0;

    // Before the thread starts.
    void SetSettings(UpdateCheckSettings* settings) { m_settings = settings; }

private:
    ~UpdateCheckRun() override = default;

    bool Body();
    bool Wait(int milliseconds);
    bool Transfer(MKHttpRequest& request, const wchar_t* path, const MKQueryParams& form, int limitMs, int idleMs,
                  DownloadProgress* progress);
    void ApplyEffects(const CheckReplyEffects& effects);
    // Drops from wanted the packages already downloaded; deletes every other
    // package but those of the pending update.
    void ScanUpdaterFolder(ReadyRecord& wanted, const ReadyRecord& pending);
    bool Download(ReadyRecord& wanted, const ReadyRecord& pending);
    void SaveCheckTime();
    void Fail(int32_t status);

    LONG m_references = 1;
    MKString m_installationFolder;
    const UpdateClock& m_clock;
    UpdaterLock m_lock;
    MKCriticalSection m_guard;
    int32_t m_status = UpdateCheckThreadStarted;
    bool m_stop = false;
    UpdateCheckSettings* m_settings = nullptr;
};

unsigned long UpdateCheckRun::Run()
{
    long result = 0;
    // An installation holds the lock in this process or another: no check
    // may download beside it.
    if (m_lock.AcquireExclusive()) {
        result = MKCrashGuard(g_threadInfo, -1L, [this] { return Body() ? 1L : 0L; });
        m_lock.Release();
    } else {
        SetStatus(UpdateCheckFailed);
    }
    Detach();
    Release();
    return unsigned(result);
}

bool UpdateCheckRun::Wait(int milliseconds)
{
    MKStopwatch watch(true);
    while (watch.ElapsedMs() < milliseconds) {
        if (IsStopRequested())
            return false;
        Sleep(kDelayStepMs);
    }
    return !IsStopRequested();
}

void UpdateCheckRun::SaveCheckTime()
{
    StateRecord state(m_installationFolder, m_clock);
    state.SaveNow(MKSharedSecurity::Global());
}

// A stop request ends as stopped and leaves the check time; any other failure
// saves it, so the next automatic check waits a full interval.
void UpdateCheckRun::Fail(int32_t status)
{
    if (IsStopRequested()) {
        SetStatus(UpdateCheckStopped);
        return;
    }
    SaveCheckTime();
    SetStatus(status);
}

bool UpdateCheckRun::Body()
{
    if (startDelayMs > 0 && !Wait(startDelayMs))
        return false;
    SetStatus(UpdateCheckChecking);
    StateRecord state(m_installationFolder, m_clock);
    MKQueryParams form;
    MakeCheckForm(facts, productVersion, automatic, !state.Exists(), form);
    MKHttpRequest request;
    MKMemOutStream replyBytes;
    BoundedOutStream bounded(&replyBytes, kCheckReplyLimit);
    request.SetOutputStream(&bounded);
    MKByteArray answer;
    bool received = Transfer(request, kCheckPath, form, checkLimitMs, 0, nullptr);
    if (!received || bounded.IsExceeded() || !replyBytes.TakeBuffer(answer)) {
        Fail(UpdateCheckFailed);
        return false;
    }
    InstalledPlugins installed(m_installationFolder);
    installed.Load();
    ReadyRecord offered(m_installationFolder);
    CheckReplyEffects effects;
    int reply = ParseCheckReply(answer, installed, m_clock.UtcNow(), offered, effects);
    if (reply == CheckReplyBad) {
        Fail(UpdateCheckFailed);
        return false;
    }
    ApplyEffects(effects);
    if (reply == CheckReplyNothingOffered) {
        SaveCheckTime();
        SetStatus(UpdateCheckNothingOffered);
        return false;
    }
    // A downloaded update still waiting stays until the new one is recorded.
    ReadyRecord pending(m_installationFolder);
    pending.Load();
    ReadyRecord wanted(m_installationFolder);
    offered.CopyTo(wanted);
    ScanUpdaterFolder(wanted, pending);
    if (wanted.GetSetupCount() > 0) {
        SetStatus(UpdateCheckDownloading);
        if (!Download(wanted, pending)) {
            Fail(UpdateCheckDownloadFailed);
            return false;
        }
    }
    SetStatus(UpdateCheckRecording);
    bool recorded = WriteReadyFile(m_installationFolder, MKSharedSecurity::Global(), offered) &&
        LoadAndVerifyReadyFile(m_installationFolder);
    if (recorded) {
        for (int i = 0; i < pending.GetSetupCount(); ++i) {
            if (offered.FindSetup(pending.GetSetupAt(i)->guid) < 0)
                MKFileRemove(pending.GetSetupAt(i)->GetPackagePath());
        }
    }
    SaveCheckTime();
    SetStatus(recorded ? UpdateCheckRecorded : UpdateCheckRecordingFailed);
    return recorded;
}

void UpdateCheckRun::ApplyEffects(const CheckReplyEffects& effects)
{
    MKLock lock(m_guard);
    if (!m_settings)
        return;
    if (effects.disableAutoCheck)
        m_settings->DisableAutoCheck();
    if (effects.frequency != 0 && effects.frequency != facts.frequency)
        m_settings->SetUpdateFrequency(effects.frequency);
}

void UpdateCheckRun::ScanUpdaterFolder(ReadyRecord& wanted, const ReadyRecord& pending)
{
    MKString folder = GetUpdaterFolder(m_installationFolder);
    MKTOArray<MKString> names;
    if (!MKListDirectory(folder, names, false))
        return;
    for (int i = 0; i < names.GetCount(); ++i) {
        if (_wcsicmp(MKPathExtension(names[i]).GetText(), L".vlx") != 0)
            continue;
        MKString path = MKPathCombine(folder, names[i]);
        UpdatePackage package;
        bool opened = package.Open(path) == UpdatePackageOk;
        int index = opened ? wanted.FindSetup(package.GetGuid()) : -1;
        if (index >= 0 && package.GetVersion() == wanted.GetSetupAt(index)->version) {
            wanted.RemoveSetup(index);
            continue;
        }
        const ReadySetup* kept = opened ? pending.GetSetup(package.GetGuid()) : nullptr;
        if (!kept || !(kept->version == package.GetVersion()))
            MKFileRemove(path);
    }
}

bool UpdateCheckRun::Download(ReadyRecord& wanted, const ReadyRecord& pending)
{
    DownloadProgress progress;
    for (int i = 0; i < wanted.GetSetupCount(); ++i)
        progress.total += wanted.GetSetupAt(i)->size;
    if (progress.total < 0)
        progress.total = 0;
    bool failed = false;
    for (int i = 0; i < wanted.GetSetupCount(); ++i) {
        const ReadySetup& setup = *wanted.GetSetupAt(i);
        MKString path = setup.GetPackagePath();
        MKQueryParams form;
        MakeDownloadForm(facts, setup, automatic, form);
        // A new version of a pending setup takes its package's name: the
        // pending update is given up.
        if (pending.FindSetup(setup.guid) >= 0)
            DeleteReadyFile(m_installationFolder);
        bool done = false;
        if (DeleteOrTruncateFile(path, MKSharedSecurity::Global()) == 0) {
            MKOutFileStream file;
            if (file.Open(path.GetText())) {
                // No larger than announced: the transfer ends at the first
                // byte past it and the file is deleted below.
                BoundedOutStream bounded(&file, setup.size > 0 ? setup.size : 0);
                MKHttpRequest request;
                request.SetOutputStream(&bounded);
                done = Transfer(request, kDownloadPath, form, 0, downloadIdleMs, &progress);
                done = file.Close() && done && !bounded.IsExceeded();
            }
        }
        if (done)
            continue;
        MKFileRemove(path);
        if (IsStopRequested())
            return false;
        failed = true;
    }
    return !failed;
}

bool UpdateCheckRun::Transfer(MKHttpRequest& request, const wchar_t* path, const MKQueryParams& form, int limitMs,
                              int idleMs, DownloadProgress* progress)
{
    MKByteArray body;
    if (!form.Render(body, false))
        return false;
    request.SetUserAgent(kUserAgent);
    if (!request.Start(serviceUrl + path, body.GetData(), body.GetCount()))
        return false;
    MKStopwatch watch(true);
    MKStopwatch idle(true);
    int64_t received = -1;
    for (;;) {
        if (IsStopRequested())
            break;
        int state = request.GetState();
        if (state == MKHttpRequest::kError || state == MKHttpRequest::kCancelled)
            break;
        int64_t now = request.GetBytesReceived();
        if (now != received) {
            if (progress && now > received) {
                progress->done += now - (received < 0 ? 0 : received);
                if (progress->done > progress->total)
                    progress->done = progress->total;
                int percent = progress->total > 0 ? int(progress->done * 100 / progress->total) : 0;
                if (percent != progress->percent) {
                    progress->percent = percent;
                    SetStatus(UpdateCheckDownloading + percent);
                }
            }
            received = now;
            idle.Reset();
            idle.Start();
        }
        if (state == MKHttpRequest::kDone) {
            bool ok = request.GetStatusCode() == 200;
            request.Cancel();
            return ok;
        }
        if ((limitMs > 0 && watch.ElapsedMs() > limitMs) || (idleMs > 0 && idle.ElapsedMs() > idleMs))
            break;
        Sleep(kPollMs);
    }
    request.Cancel();
    return false;
}

UpdateChecker::UpdateChecker(const MKString& installationFolder, const UpdateClock& clock)
    : m_installationFolder(installationFolder), m_clock(clock), m_serviceUrl(kUpdateServiceUrl)
{
}

UpdateChecker::~UpdateChecker()
{
    // An owner's Stop that already waited out its limit is not waited again:
    // the thread is detached and ends on its own.
    if (!IsStopRequested())
        Stop();
    if (m_thread)
        CloseHandle(m_thread);
    if (m_run)
        m_run->Release();
}

void UpdateChecker::SetStartDelay(int milliseconds)
{
    m_automatic = true;
    m_startDelayMs = milliseconds;
}

bool UpdateChecker::Start(const UpdateCheckFacts& facts, UpdateCheckSettings* settings)
{
    if (!m_initialized) {
        if (!EnsureUpdaterFolder(m_installationFolder, MKSharedSecurity::Global()))
            return false;
        m_productVersion = ReadInstalledVersion(m_installationFolder);
        if (m_productVersion.IsLess(MKVersion(0, 0)))
            m_productVersion = MKVersion(0, 0);
        m_initialized = true;
    }
    if (!HasThreadEnded())
        return true;
    if (m_automatic && !StateRecord(m_installationFolder, m_clock).CanWrite())
        return false;
    UpdateCheckRun* run = new UpdateCheckRun(m_installationFolder, m_clock);
    run->facts = facts;
    run->serviceUrl = m_serviceUrl;
    run->productVersion = m_productVersion;
    run->automatic = m_automatic;
    run->startDelayMs = m_startDelayMs;
    run->checkLimitMs = m_checkLimitMs;
    run->downloadIdleMs = m_downloadIdleMs;
    run->SetSettings(settings);
    // The thread's own reference.
    run->AddRef();
    HANDLE thread = nullptr;
    if (!MKRunOnThread(run, &thread)) {
        run->Release();
        run->Release();
        return false;
    }
    if (m_thread)
        CloseHandle(m_thread);
    if (m_run)
        m_run->Release();
    m_thread = thread;
    m_run = run;
    return true;
}

bool UpdateChecker::Stop()
{
    if (HasThreadEnded())
        return true;
    m_run->RequestStop();
    if (WaitForSingleObject(m_thread, kStopWaitMs) == WAIT_OBJECT_0)
        return true;
    m_run->Detach();
    return false;
}

int32_t UpdateChecker::GetStatus() const
{
    return m_run ? m_run->GetStatus() : int32_t(UpdateCheckNotStarted);
}

bool UpdateChecker::IsStopRequested() const
{
    return m_run && m_run->IsStopRequested();
}

bool UpdateChecker::HasThreadEnded() const
{
    return !m_thread || WaitForSingleObject(m_thread, 0) == WAIT_OBJECT_0;
}
