#pragma once
#include "base/MKDateTime.h"
#include "base/MKString.h"
#include <stdint.h>

class MKSharedSecurity;
class UpdateClock;

// "state.dat" of the updater folder: when the last update check ran. The
// automatic check runs at most once per interval of the update frequency.
class StateRecord {
public:
    // The last check time starts as now.
    explicit StateRecord(const MKString& installationFolder, const UpdateClock& clock);

    // "state.dat" can be opened for reading.
    bool Exists() const;
    // The existing file can be opened for writing without sharing, or, when
    // there is none, one can be created (and is deleted again).
    bool CanWrite() const;
    // False, keeping the time, for a missing, foreign or damaged file.
    bool Load();
    bool Save(const MKSharedSecurity* security);
    // The last check time becomes now, then Save.
    bool SaveNow(const MKSharedSecurity* security);
    // The last check time plus the frequency's interval.
    MKDateTime NextCheckTime(int32_t frequency) const;

    const MKDateTime& GetLastCheck() const { return m_lastCheck; }
    void SetLastCheck(const MKDateTime& utc) { m_lastCheck = utc; }
    MKString GetPath() const;

private:
    MKString m_installationFolder;
    const UpdateClock& m_clock;
    MKDateTime m_lastCheck;
};

// Days between automatic checks for a frequency code; any other code takes
// the interval of the default code.
int UpdateIntervalDays(int32_t frequency, const UpdateClock& clock);

// The automatic update check is due: on a first run (no "state.dat" and a
// writable folder), or once the interval has passed and "state.dat" can be
// written. A damaged file, or a last check in the future, starts the interval
// now instead.
bool IsCheckDue(const MKString& installationFolder, int32_t frequency, const MKSharedSecurity* security,
                const UpdateClock& clock);
