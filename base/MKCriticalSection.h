#pragma once
#include <windows.h>

// An initialised critical section, deleted with its owner.
class MKCriticalSection {
public:
    MKCriticalSection() { InitializeCriticalSection(&m_section); }
    ~MKCriticalSection() { DeleteCriticalSection(&m_section); }
    MKCriticalSection(const MKCriticalSection&) = delete;
    MKCriticalSection& operator=(const MKCriticalSection&) = delete;

    CRITICAL_SECTION* Get() { return &m_section; }

private:
    CRITICAL_SECTION m_section;
};
