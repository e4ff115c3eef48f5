#pragma once
#include "addin/update/UpdateProtocol.h"
#include "base/MKString.h"
#include <stdint.h>
#include <windows.h>

class UpdateClock;

// Check statuses (GetStatus).
enum UpdateCheckStatus {
    UpdateCheckNotStarted = 0,
    UpdateCheckThreadStarted = 1,
    UpdateCheckChecking = 2,
    // 100 + the percentage of all package bytes downloaded.
    UpdateCheckDownloading = 100,
    UpdateCheckRecording = 201,
    UpdateCheckNothingOffered = 301,
    UpdateCheckRecorded = 302,
    UpdateCheckFailed = 1001,
    UpdateCheckDownloadFailed = 1002,
    UpdateCheckRecordingFailed = 1003,
    UpdateCheckStopped = 2001,
};

// What the service's reply may change in the owner's settings. Called on the
// checker's thread, never after Stop answered.
class UpdateCheckSettings {
public:
    // "AutoCheckUpdates" goes off.
    virtual void DisableAutoCheck() = 0;
    // The update frequency code the service asks for (valid, and different
    // from the one the check sent).
    virtual void SetUpdateFrequency(int32_t code) = 0;

protected:
    ~UpdateCheckSettings() = default;
};

class UpdateCheckRun;

// Asks the update service on a thread of its own whether new setups are
// offered, downloads their packages into the updater folder and records them
// in "ready.dat". A pending update already recorded stays until a check has
// downloaded and verified a newer one. The thread holds the updater lock, so
// no installation runs meanwhile in any process. Everything the thread uses
// belongs to it: a thread that outlives Stop's wait ends on its own, safely.
// Owned and called on one thread.
class UpdateChecker {
public:
    // The clock must outlive the checker's thread.
    explicit UpdateChecker(const MKString& installationFolder, const UpdateClock& clock);
    // Stops a running check.
    ~UpdateChecker();
    UpdateChecker(const UpdateChecker&) = delete;
    UpdateChecker& operator=(const UpdateChecker&) = delete;

    // Marks the check automatic and waits this long before checking.
    void SetStartDelay(int milliseconds);
    // "scheme://host[:port]" of the update service.
    void SetServiceUrl(const MKString& url) { m_serviceUrl = url; }
    // A check at most this long before it fails.
    void SetCheckLimit(int milliseconds) { m_checkLimitMs = milliseconds; }
    // A download that receives nothing for this long fails.
    void SetDownloadIdleLimit(int milliseconds) { m_downloadIdleMs = milliseconds; }

    // Starts the thread unless it runs (true then too). An automatic check
    // needs a writable "state.dat". settings may be null.
    bool Start(const UpdateCheckFacts& facts, UpdateCheckSettings* settings);
    // Asks the thread to stop and waits for it, at most kStopWaitMs. False
    // when it has not ended by then; it then ends on its own without calling
    // the settings again.
    bool Stop();
    int32_t GetStatus() const;
    bool IsStopRequested() const;
    // The thread has ended (or never started).
    bool HasThreadEnded() const;

    // A transfer being cancelled may take MKHttpRequest::kCancelWaitMs to let
    // go; Stop waits longer than that.
    static const int kStopWaitMs = 5000;

private:
    MKString m_installationFolder;
    const UpdateClock& m_clock;
    MKString m_serviceUrl;
    bool m_automatic = false;
    int m_startDelayMs = 0;
    int m_checkLimitMs = 30000;
    int m_downloadIdleMs = 120000;
    bool m_initialized = false;
    MKVersion m_productVersion;
    UpdateCheckRun* m_run = nullptr;
    HANDLE m_thread = nullptr;
};

// The update service of the product.
extern const wchar_t kUpdateServiceUrl[];
