#pragma once
#include "base/MKRefClass.h"

#include <stdint.h>

// Abstract input stream, reference-counted. A stream keeps the first error
// stored in it (MKStreamError codes); reading past the end stores
// MKStreamErrorEnd, answers -1 or false and zeroes the caller's buffer, so a
// caller can read a whole record and test IsOk once at the end. One thread at a
// time.
class MKInStream : public MKRefClass {
public:
    MKInStream() = default;

    virtual bool IsOk() const { return m_error == 0; }
    virtual int GetError() const { return m_error; }
    // Releases the source; wrapping streams also clear their stored error. False
    // when closing the source fails.
    virtual bool Close() = 0;
    // Reads up to n bytes and answers the count delivered: 0 for n <= 0, -1 at
    // the end of the data or on failure.
    virtual int Read(void* buffer, int n) = 0;
    // Little-endian values of exactly their width; false, with *out 0 and an
    // error stored, when fewer bytes are left.
    virtual bool ReadU8(uint8_t* out);
    virtual bool ReadU16(uint16_t* out);
    virtual bool ReadU32(uint32_t* out);
    virtual bool ReadU64(uint64_t* out);
    // Passes over up to n bytes; answers how many were passed over.
    virtual int Skip(int n);
    // Bytes delivered so far (the position for memory streams).
    virtual int Tell() = 0;
    // Absolute positioning; false where the stream cannot seek.
    virtual bool Seek(int position) = 0;
    virtual bool CanSeek() = 0;
    // Position in the underlying seekable source, 0 where there is none.
    virtual int GetPosition() = 0;
    // Total size where known, else 0.
    virtual int GetSize() = 0;
    // Reads one line of at most n - 1 bytes into buffer (the '\n' kept) and
    // terminates it; null when n <= 0 or when not even one byte was left.
    virtual char* ReadLine(char* buffer, int n);

protected:
    // Stores the code unless an error is stored already.
    void SetError(int code)
    {
        if (m_error == 0)
            m_error = code;
    }
    void ClearError() { m_error = 0; }
    // Fills buffer with exactly n bytes through Read; on a short read stores
    // MKStreamErrorEnd, zeroes the buffer and answers false.
    bool ReadExactly(void* buffer, int n);

    int m_error = 0;
};
