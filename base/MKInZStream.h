#pragma once
#include "base/MKInCodecStream.h"

// Inflates zlib-format data read from a borrowed source stream, which must
// outlive it. The end of the compressed data reads as the end of the stream
// (MKStreamErrorEnd); a source that runs dry first stores
// MKStreamErrorSourceFailed and damaged data MKStreamErrorCodecBase plus zlib's
// result: the read that meets either answers -1 with a zeroed buffer, and so
// does every later one. Not seekable.
class MKInZStream : public MKInCodecStream {
public:
    explicit MKInZStream(MKInStream* source);
    ~MKInZStream() override;

    // Fills the buffer unless the compressed data ends first (then a short
    // count).
    int Read(void* buffer, int n) override;

private:
    struct Decompressor;

    Decompressor* m_decompressor = nullptr;
};
