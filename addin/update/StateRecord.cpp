#include "addin/update/StateRecord.h"
#include "addin/update/FileOperations.h"
#include "addin/update/RecordFile.h"
#include "addin/update/UpdateClock.h"
#include "addin/update/UpdateFrequency.h"
#include "addin/update/UpdaterFolder.h"
#include "base/MKFile.h"

namespace {

const uint32_t kMagic = 0x93B521F6;
// Days per code 1 to 17.
const int kIntervalDays[] = {8, 29, 14, 21, 42, 56, 84, 112, 140, 168, 1, 2, 3, 4, 5, 6, 7};

} // namespace

int UpdateIntervalDays(int32_t frequency, const UpdateClock& clock)
{
    if (!IsValidUpdateFrequency(frequency))
        frequency = DefaultUpdateFrequency(clock);
    return kIntervalDays[frequency - 1];
}

StateRecord::StateRecord(const MKString& installationFolder, const UpdateClock& clock)
    : m_installationFolder(installationFolder), m_clock(clock), m_lastCheck(clock.UtcNow())
{
}

MKString StateRecord::GetPath() const
{
    return GetStateFilePath(m_installationFolder);
}

bool StateRecord::Exists() const
{
    return MKPathAccess(GetPath(), 4) == MKPathAccessible;
}

bool StateRecord::CanWrite() const
{
    MKString path = GetPath();
    if (MKFileExists(path))
        return CanOpenExclusively(path);
    FILE* file = MKOpenCFile(path, L"wb");
    if (!file)
        return false;
    MKCloseCFile(file);
    MKFileRemove(path);
    return true;
}

bool StateRecord::Load()
{
    RecordFileReader record;
    if (!record.Open(GetPath(), kMagic, 0))
        return false;
    MKDateTime lastCheck;
    record.Reader().ReadDateTime(&lastCheck);
    record.SkipExtension();
    if (!record.IsOk())
        return false;
    m_lastCheck = lastCheck.GetKind() >= MKDateTimeLocal ? lastCheck.ToUniversalTime() : lastCheck;
    return true;
}

bool StateRecord::Save(const MKSharedSecurity* security)
{
    if (!EnsureUpdaterFolder(m_installationFolder, security))
        return false;
    RecordFileWriter record;
    record.Writer().WriteU32(kMagic);
    record.Writer().WriteU32(1);
    record.Writer().WriteDateTime(m_lastCheck);
    record.WriteExtension();
    return record.SaveTo(GetPath());
}

bool StateRecord::SaveNow(const MKSharedSecurity* security)
{
    m_lastCheck = m_clock.UtcNow();
    return Save(security);
}

MKDateTime StateRecord::NextCheckTime(int32_t frequency) const
{
    return m_lastCheck.AddDays(UpdateIntervalDays(frequency, m_clock));
}

bool IsCheckDue(const MKString& installationFolder, int32_t frequency, const MKSharedSecurity* security,
                const UpdateClock& clock)
{
    StateRecord state(installationFolder, clock);
    // A fresh installation may not have its updater folder yet; without it the
    // first run would look like a damaged file and wait a whole interval.
    if (!state.Exists() && EnsureUpdaterFolder(installationFolder, security) && state.CanWrite())
        return true;
    MKDateTime now = clock.UtcNow();
    // A last check in the future (a clock that was set ahead) would stop
    // automatic checks until that date; the interval starts now instead.
    if (!state.Load() || now.IsBefore(state.GetLastCheck())) {
        state.SaveNow(security);
        return false;
    }
    return now.IsAtLeast(state.NextCheckTime(frequency)) && state.CanWrite();
}
