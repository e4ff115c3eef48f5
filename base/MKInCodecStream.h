#pragma once
#include "base/MKInStream.h"

// Base of the decompressing input streams: reads a borrowed source stream, which
// must outlive it, through an input buffer from MKAlloc and counts the bytes it
// delivers. Not seekable; Close clears the stored error and leaves the source
// alone.
class MKInCodecStream : public MKInStream {
public:
    ~MKInCodecStream() override;

    bool Close() override;
    int Tell() override { return m_delivered; }
    bool Seek(int) override { return false; }
    bool CanSeek() override { return false; }
    int GetPosition() override { return 0; }
    int GetSize() override { return 0; }

protected:
    enum { InputSize = 16384 };

    explicit MKInCodecStream(MKInStream* source) : m_source(source) {}

    // Allocates the input buffer; false when memory runs out.
    bool AllocateInput();
    // Replaces the used-up input by the source's next bytes; false when the
    // source delivers none.
    bool Refill();
    bool InputUsedUp() const { return m_inputPosition == m_inputLength; }

    MKInStream* m_source;
    uint8_t* m_input = nullptr;
    int m_inputPosition = 0;
    int m_inputLength = 0;
    int m_delivered = 0;
};
