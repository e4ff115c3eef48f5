#pragma once
#include "base/MKInCodecStream.h"

// Decodes the raw LZMA form (5 property bytes, then the raw LZMA1 stream, no
// size) read from a borrowed source stream, which must outlive it. A read is
// filled completely or fails: when the data ends first (MKStreamErrorEnd), is
// damaged (MKStreamErrorCorrupt) or memory runs out (MKStreamErrorNoMemory), the
// read answers -1 with a zeroed buffer, and so does every later one. Not
// seekable.
//
// The dictionary size comes from the data, and the decoder reserves it whole
// before the first byte is decoded; a stream announcing more than
// dictionaryLimit fails at once (MKStreamErrorNoMemory) instead of reserving
// it.
class MKInLzmaStream : public MKInCodecStream {
public:
    // 64 MiB: the largest dictionary of the standard LZMA presets, so data
    // made with any of them decodes.
    static constexpr uint32_t DefaultDictionaryLimit = 64u << 20;

    explicit MKInLzmaStream(MKInStream* source, uint32_t dictionaryLimit = DefaultDictionaryLimit)
        : MKInCodecStream(source), m_dictionaryLimit(dictionaryLimit)
    {
    }
    ~MKInLzmaStream() override;

    int Read(void* buffer, int n) override;

private:
    struct Decoder;

    // Reads the properties and sets the decoder up; false after storing an error.
    bool Start();
    int Fail(void* buffer, int n, int error);

    uint32_t m_dictionaryLimit;
    Decoder* m_decoder = nullptr;
    bool m_needsStart = true;
    bool m_failed = false;
    int m_failure = 0;
};
