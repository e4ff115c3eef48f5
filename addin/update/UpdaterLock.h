#pragma once
#include "base/MKString.h"

// The lock between the add-in, the update add-in and the installer program:
// "lock.dat" of the updater folder held open without sharing. The open handle
// and a hold count are shared by every lock object of the process, so nested
// holders in one process share one handle; a file left by a crashed holder
// opens again and is reused. The process holds one lock file at a time.
class UpdaterLock {
public:
    explicit UpdaterLock(const MKString& installationFolder);
    virtual ~UpdaterLock();
    UpdaterLock(const UpdaterLock&) = delete;
    UpdaterLock& operator=(const UpdaterLock&) = delete;

    // This process holds the lock, or another process holds "lock.dat" open.
    bool IsLocked();
    // Holds the lock (once more when this process holds it already); false
    // when another process holds it, or a worker thread of this one.
    bool Acquire();
    // Holds the lock only when nobody holds it, this process included: a
    // worker thread's hold, kept apart from an installation on the
    // user-interface thread.
    bool AcquireExclusive();
    // Ends one hold; the last closes and deletes "lock.dat".
    void Release();
    // Ends every hold of this object when it goes.
    void SetReleaseOnDestruction(bool release) { m_releaseOnDestruction = release; }

private:
    bool Take(bool nested);

    MKString m_path;
    bool m_releaseOnDestruction = false;
    int m_holds = 0;
};
