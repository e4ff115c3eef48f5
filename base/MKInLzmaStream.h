#pragma once
#include "base/MKInStream.h"

// Decodes the raw LZMA form (5 property bytes, then the raw LZMA1 stream, no
// size) read from a borrowed source stream, which must outlive it. A read is
// filled completely or fails: when the data ends first (MKStreamErrorEnd), is
// damaged (MKStreamErrorCorrupt) or memory runs out (MKStreamErrorNoMemory), the
// read answers -1 with a zeroed buffer, and so does every later one. Not
// seekable.
class MKInLzmaStream : public MKInStream {
public:
    explicit MKInLzmaStream(MKInStream* source);
    ~MKInLzmaStream() override;

    // Clears the stored error; the source is untouched.
    bool Close() override;
    int Read(void* buffer, int n) override;
    int Tell() override { return m_delivered; }
    bool Seek(int) override { return false; }
    bool CanSeek() override { return false; }
    int GetPosition() override { return 0; }
    int GetSize() override { return 0; }

private:
    struct Decoder;

    // Reads the properties and sets the decoder up; false after storing an error.
    bool Start();
    // Refills the input buffer from the source; false when it has no more.
    bool Refill();
    int Fail(void* buffer, int n, int error);

    MKInStream* m_source;
    Decoder* m_decoder = nullptr;
    uint8_t* m_input = nullptr;
    int m_inputPosition = 0;
    int m_inputLength = 0;
    bool m_needsStart = true;
    bool m_failed = false;
    int m_failure = 0;
    int m_delivered = 0;
};
