#include "base/MKLock.h"

MKLock::MKLock(CRITICAL_SECTION* section) : m_section(section)
{
    if (m_section)
        EnterCriticalSection(m_section);
}

MKLock::~MKLock()
{
    if (m_section)
        LeaveCriticalSection(m_section);
}
