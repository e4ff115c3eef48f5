#include "addin/update/BoundedOutStream.h"
#include "base/MKStreamErrors.h"

bool BoundedOutStream::Write(const void* data, int n)
{
    if (!IsOk() || n < 0)
        return false;
    if (m_written + n > m_limit) {
        m_exceeded = true;
        SetError(MKStreamErrorSourceFailed);
        return false;
    }
    if (!m_target->Write(data, n)) {
        SetError(MKStreamErrorSourceFailed);
        return false;
    }
    m_written += n;
    return true;
}
