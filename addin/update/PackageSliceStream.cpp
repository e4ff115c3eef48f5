#include "addin/update/PackageSliceStream.h"
#include "base/MKSha1Stream.h"
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
    if (m_hash)
        m_hash->Write(buffer, got);
    m_left -= got;
    m_delivered += got;
    return got;
}

bool PackageSliceStream::ReadToEnd()
{
    uint8_t block[4096];
    while (m_left > 0) {
        if (Read(block, m_left < int(sizeof(block)) ? m_left : int(sizeof(block))) <= 0)
            return false;
    }
    return true;
}
