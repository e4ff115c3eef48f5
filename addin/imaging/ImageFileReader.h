#pragma once
#include <stdint.h>
#include <stdio.h>

// Little-endian reads from an open buffered file for the BMP and GIF readers.
// Each read answers false when the file ends first (a short read is a failure,
// never a value made up from missing bytes); the stream only moves forward.
class ImageFileReader {
public:
    explicit ImageFileReader(FILE* file) : m_file(file) {}
    ImageFileReader(const ImageFileReader&) = delete;
    ImageFileReader& operator=(const ImageFileReader&) = delete;

    bool U8(uint8_t& value);
    bool U16(uint16_t& value);
    bool U32(uint32_t& value);
    bool Read(void* buffer, size_t n);
    // Reads and drops n bytes.
    bool Skip(uint64_t n);
    // Bytes consumed since the reader was made.
    uint64_t Position() const { return m_position; }
    // Bytes the file holds after the read position, or UINT64_MAX when the
    // stream has no known size (not a disk file).
    uint64_t Remaining() const;

private:
    FILE* m_file;
    uint64_t m_position = 0;
};
