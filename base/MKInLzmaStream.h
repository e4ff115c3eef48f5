#pragma once
#include "base/MKInCodecStream.h"

// Decodes the raw LZMA form (5 property bytes, then the raw LZMA1 stream, no
// size) read from a borrowed source stream, which must outlive it. A read is
// filled completely or fails: when the data ends first (MKStreamErrorEnd), is
// damaged (MKStreamErrorCorrupt) or memory runs out (MKStreamErrorNoMemory), the
// read answers -1 with a zeroed buffer, and so does every later one. Not
// seekable.
class MKInLzmaStream : public MKInCodecStream {
public:
    explicit MKInLzmaStream(MKInStream* source) : MKInCodecStream(source) {}
    ~MKInLzmaStream() override;

    int Read(void* buffer, int n) override;

private:
    struct Decoder;

    // Reads the properties and sets the decoder up; false after storing an error.
    bool Start();
    int Fail(void* buffer, int n, int error);

    Decoder* m_decoder = nullptr;
    bool m_needsStart = true;
    bool m_failed = false;
    int m_failure = 0;
};
