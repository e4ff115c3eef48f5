#include "base/MKSha1Stream.h"

bool MKSha1Stream::Reset()
{
    m_sha.Init();
    m_count = 0;
    m_closed = false;
    return true;
}

bool MKSha1Stream::Close()
{
    if (!m_closed) {
        m_sha.Final();
        m_closed = true;
    }
    return true;
}

bool MKSha1Stream::Write(const void* data, int n)
{
    if (m_closed)
        return false;
    if (n > 0) {
        m_sha.Update(data, n);
        m_count += n;
    }
    return true;
}

void MKSha1Stream::GetDigest(MKSha1Digest* out) const
{
    if (m_closed) {
        m_sha.GetDigest(out);
        return;
    }
    MKSha1 copy = m_sha;
    copy.Final();
    copy.GetDigest(out);
}
