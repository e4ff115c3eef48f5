#pragma once
#include "base/MKCriticalSection.h"

// Holds a critical section for the lifetime of the lock; a null section is not
// locked at all. The section must outlive the lock.
class MKLock {
public:
    explicit MKLock(CRITICAL_SECTION* section);
    explicit MKLock(MKCriticalSection& section) : MKLock(section.Get()) {}
    ~MKLock();
    MKLock(const MKLock&) = delete;
    MKLock& operator=(const MKLock&) = delete;

private:
    CRITICAL_SECTION* m_section;
};
