#pragma once
#include <stdint.h>

// Abstract output stream, owned by whoever made it (not reference-counted). The
// first error stored stays (MKStreamError codes, minus errno for files); once
// one is stored every write answers false without writing, so a caller can
// write a whole record and test once. One thread at a time.
class MKOutStream {
public:
    MKOutStream() = default;
    virtual ~MKOutStream() = default;
    MKOutStream(const MKOutStream&) = delete;
    MKOutStream& operator=(const MKOutStream&) = delete;

    virtual int GetError() const { return m_error; }
    // Stores the code only while no error is stored.
    virtual void SetError(int code)
    {
        if (m_error == 0)
            m_error = code;
    }
    // Class-specific restart (see each class).
    virtual bool Reset() = 0;
    // Pushes buffered data to the destination.
    virtual bool Flush() = 0;
    // Finishes and releases the destination.
    virtual bool Close() = 0;
    // Writes n bytes; false on failure or while an error is stored.
    virtual bool Write(const void* data, int n) = 0;
    // Little-endian values, each one Write.
    virtual bool WriteU8(uint8_t value);
    virtual bool WriteU16(uint16_t value);
    virtual bool WriteU32(uint32_t value);
    virtual bool WriteU64(uint64_t value);
    // Bytes written so far.
    virtual int GetCount() = 0;

    // True while this stream's own error is 0.
    bool IsOk() const { return GetError() == 0; }

protected:
    int m_error = 0;
};
