#pragma once
#include "base/MKInStream.h"

// Inflates zlib-format data read from a borrowed source stream, which must
// outlive it. The end of the compressed data reads as the end of the stream
// (MKStreamErrorEnd); a source that runs dry first stores
// MKStreamErrorSourceFailed and damaged data MKStreamErrorCodecBase plus zlib's
// result: the read that meets either answers -1 with a zeroed buffer, and so
// does every later one. Not seekable.
class MKInZStream : public MKInStream {
public:
    explicit MKInZStream(MKInStream* source);
    ~MKInZStream() override;

    // Clears the stored error; the source is untouched.
    bool Close() override;
    // Fills the buffer unless the compressed data ends first (then a short
    // count).
    int Read(void* buffer, int n) override;
    int Tell() override { return m_delivered; }
    bool Seek(int) override { return false; }
    bool CanSeek() override { return false; }
    int GetPosition() override { return 0; }
    int GetSize() override { return 0; }

private:
    struct Decompressor;

    MKInStream* m_source;
    Decompressor* m_decompressor = nullptr;
    int m_delivered = 0;
};
