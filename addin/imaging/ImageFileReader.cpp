#include "addin/imaging/ImageFileReader.h"

#include <string.h>
#include <sys/stat.h>

bool ImageFileReader::U8(uint8_t& value)
{
    if (!m_file)
        return Read(&value, 1);
    int c = getc(m_file);
    if (c == EOF)
        return false;
    value = uint8_t(c);
    ++m_position;
    return true;
}

bool ImageFileReader::U16(uint16_t& value)
{
    uint8_t b[2];
    if (!Read(b, 2))
        return false;
    value = uint16_t(b[0] | (b[1] << 8));
    return true;
}

bool ImageFileReader::U32(uint32_t& value)
{
    uint8_t b[4];
    if (!Read(b, 4))
        return false;
    value = uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
    return true;
}

bool ImageFileReader::Read(void* buffer, size_t n)
{
    if (!m_file) {
        size_t left = m_size - size_t(m_position);
        size_t got = n < left ? n : left;
        memcpy(buffer, m_data + m_position, got);
        m_position += got;
        return got == n;
    }
    size_t got = fread(buffer, 1, n, m_file);
    m_position += got;
    return got == n;
}

bool ImageFileReader::Skip(uint64_t n)
{
    if (!m_file) {
        uint64_t left = m_size - m_position;
        m_position += n < left ? n : left;
        return n <= left;
    }
    uint8_t chunk[4096];
    while (n > 0) {
        size_t part = n < sizeof(chunk) ? size_t(n) : sizeof(chunk);
        if (!Read(chunk, part))
            return false;
        n -= part;
    }
    return true;
}

uint64_t ImageFileReader::Remaining() const
{
    if (!m_file)
        return m_size - m_position;
    struct _stat64 status;
    const int64_t at = _ftelli64(m_file);
    if (at < 0 || _fstat64(_fileno(m_file), &status) != 0 || !(status.st_mode & _S_IFREG))
        return UINT64_MAX;
    return status.st_size > at ? uint64_t(status.st_size - at) : 0;
}
