#pragma once

// A source of bytes read front to back. Kept apart from MKInStream: not
// reference-counted, and each stream says what 0 and negative reads mean.
class PVInStream {
public:
    PVInStream() = default;
    virtual ~PVInStream() = default;
    PVInStream(const PVInStream&) = delete;
    PVInStream& operator=(const PVInStream&) = delete;

    // Copies up to `size` bytes into `buffer` and answers how many; what 0
    // and negative answers mean is told by each stream.
    virtual int Read(void* buffer, int size) = 0;
    // Lets go of the underlying source; 0 on success.
    virtual int Close() = 0;
};
