#pragma once
#include "base/MKOutStream.h"

// Deflates everything written to it into a borrowed target stream, which must
// outlive it until Close. A level of 0..9 gives the zlib format, -1..-9 raw
// deflate at the level's absolute value. Writes are staged in 4096-byte blocks
// and compressed output leaves in 16,384-byte writes. Close writes the end of
// the compressed data; destroying an unclosed stream does the same, so owners
// close explicitly when they need to know whether the end was written.
// Failures latch: MKStreamErrorNoTarget, MKStreamErrorNoMemory (set-up),
// MKStreamErrorSourceFailed (the target refused a write), or
// MKStreamErrorCodecBase plus zlib's result.
class MKOutZStream : public MKOutStream {
public:
    MKOutZStream(MKOutStream* target, int level);
    ~MKOutZStream() override;

    // Finishes as Close does, then starts a new compressed stream, which has no
    // target and so stores MKStreamErrorNoTarget.
    bool Reset() override;
    bool Flush() override { return true; }
    // Compresses what is staged, writes the end of the compressed data, flushes
    // the target and detaches from it (the target is not closed).
    bool Close() override;
    bool Write(const void* data, int n) override;
    // Uncompressed bytes accepted so far.
    int GetCount() override { return m_accepted; }
    // Compressed bytes handed to the target so far.
    int GetEmitted() const { return m_emitted; }

private:
    struct Compressor;
    enum { StagingSize = 4096 };

    void Start();
    bool CompressBlock(const uint8_t* data, int n);
    // Hands the produced output to the target; false when it refuses.
    bool Drain();

    MKOutStream* m_target;
    int m_level;
    bool m_raw;
    Compressor* m_compressor = nullptr;
    int m_staged = 0;
    int m_accepted = 0;
    int m_emitted = 0;
    uint8_t m_staging[StagingSize];
};
