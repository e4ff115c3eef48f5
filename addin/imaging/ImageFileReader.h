#pragma once
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

// Little-endian reads from an open buffered file, or from a block in memory,
// for the BMP and GIF readers. Each read answers false when the data end first
// (a short read is a failure, never a value made up from missing bytes); the
// stream only moves forward.
class ImageFileReader {
public:
    explicit ImageFileReader(FILE* file) : m_file(file) {}
    // The block is read in place and must outlive the reader.
    ImageFileReader(const uint8_t* data, size_t size) : m_data(data), m_size(data ? size : 0) {}
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
    // Bytes the file or block holds after the read position, or UINT64_MAX
    // when the stream has no known size (not a disk file).
    uint64_t Remaining() const;

private:
    FILE* m_file = nullptr;
    const uint8_t* m_data = nullptr;
    size_t m_size = 0;
    uint64_t m_position = 0;
};
