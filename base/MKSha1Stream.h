#pragma once
#include "base/MKOutStream.h"
#include "base/MKSha1.h"

// Output stream that hashes what is written to it with SHA-1. Close finishes
// the hash; writes after Close answer false until Reset starts a new one.
class MKSha1Stream : public MKOutStream {
public:
    MKSha1Stream() = default;

    // Starts a new hash: count 0, nothing hashed.
    bool Reset() override;
    bool Flush() override { return true; }
    bool Close() override;
    bool Write(const void* data, int n) override;
    int GetCount() override { return m_count; }

    // The digest of everything written (after Close, or of the bytes so far).
    void GetDigest(MKSha1Digest* out) const;

private:
    MKSha1 m_sha;
    int m_count = 0;
    bool m_closed = false;
};
