#include "addin/update/PackageSliceStream.h"
#include "base/MKStreamErrors.h"

int PackageSliceStream::Read(void* buffer, int n)
{
    if (n <= 0)
        return 0;
    if (m_left == 0) {
        SetError(MKStreamErrorEnd);
        return -1;
    }
    int got = m_source->Read(buffer, n < m_left ? n : m_left);
    if (got <= 0) {
        SetError(MKStreamErrorEnd);
        return -1;
    }
    m_left -= got;
    m_delivered += got;
    return got;
}
