#include "addin/update/UpdaterLock.h"
#include "addin/update/UpdaterFolder.h"
#include "base/MKFile.h"
#include "base/MKLock.h"
#include "base/MKSharedSecurity.h"
#include "base/MKStopwatch.h"

namespace {

MKCriticalSection g_guard;
HANDLE g_handle = nullptr;
int g_holds = 0;
// The hold is a worker thread's (AcquireExclusive): nobody joins it.
bool g_exclusive = false;

// Another process's probe (IsLocked) opens the free file for an instant, and
// so does an installer looking for a holder; a sharing violation is tried
// again for this long before it counts as a holder.
const int kProbeWaitMs = 250;

// CreateFileW without sharing; on a sharing violation retried for a short
// while, since that may be a probe rather than a holder.
HANDLE OpenWithoutSharing(const MKString& path, DWORD disposition, SECURITY_ATTRIBUTES* security)
{
    MKStopwatch watch(true);
    for (;;) {
        HANDLE file = CreateFileW(path.GetText(), GENERIC_WRITE, 0, security, disposition, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION ||
            watch.ElapsedMs() >= kProbeWaitMs)
            return file;
        Sleep(5);
    }
}

} // namespace

UpdaterLock::UpdaterLock(const MKString& installationFolder) : m_path(GetLockFilePath(installationFolder))
{
}

UpdaterLock::~UpdaterLock()
{
    if (m_releaseOnDestruction) {
        while (m_holds > 0)
            Release();
    }
}

bool UpdaterLock::IsLocked()
{
    MKLock lock(g_guard);
    if (g_handle)
        return true;
    if (!MKFileExists(m_path))
        return false;
    HANDLE file = OpenWithoutSharing(m_path, OPEN_EXISTING, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() != ERROR_FILE_NOT_FOUND;
    CloseHandle(file);
    return false;
}

bool UpdaterLock::Acquire()
{
    return Take(true);
}

bool UpdaterLock::AcquireExclusive()
{
    return Take(false);
}

bool UpdaterLock::Take(bool nested)
{
    MKLock lock(g_guard);
    if (g_handle) {
        if (!nested || g_exclusive)
            return false;
        ++g_holds;
        ++m_holds;
        return true;
    }
    MKSharedSecurity* shared = MKSharedSecurity::Global();
    HANDLE file = OpenWithoutSharing(m_path, CREATE_ALWAYS, shared ? shared->NonInheritable() : nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    g_handle = file;
    g_holds = 1;
    g_exclusive = !nested;
    m_holds = 1;
    return true;
}

void UpdaterLock::Release()
{
    MKLock lock(g_guard);
    if (!g_handle || m_holds == 0)
        return;
    --m_holds;
    if (--g_holds > 0)
        return;
    CloseHandle(g_handle);
    g_handle = nullptr;
    g_exclusive = false;
    DeleteFileW(m_path.GetText());
}
