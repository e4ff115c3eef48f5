#include "base/MKMemInStream.h"

#include "base/MKStreamErrors.h"

#include <string.h>

MKMemInStream::MKMemInStream(const void* data, int size)
{
    if (!data || size <= 0) {
        SetError(MKStreamErrorEnd);
        return;
    }
    m_data = static_cast<const uint8_t*>(data);
    m_size = size;
}

MKMemInStream::MKMemInStream(const MKByteArray& bytes) : MKMemInStream(bytes.GetData(), bytes.GetCount())
{
}

MKMemInStream::~MKMemInStream()
{
    MKFree(m_owned);
}

void MKMemInStream::Attach(const void* data, int size, bool own)
{
    if (data == m_owned)
        m_owned = nullptr;  // the same block again: keep it alive through Close
    Close();
    ClearError();
    m_data = static_cast<const uint8_t*>(data);
    m_size = data && size > 0 ? size : 0;
    m_owned = own ? static_cast<uint8_t*>(const_cast<void*>(data)) : nullptr;
}

bool MKMemInStream::Close()
{
    MKFree(m_owned);
    m_owned = nullptr;
    m_data = nullptr;
    m_size = 0;
    m_position = 0;
    return true;
}

int MKMemInStream::Read(void* buffer, int n)
{
    if (n <= 0)
        return 0;
    int k = m_size - m_position < n ? m_size - m_position : n;
    if (k <= 0) {
        SetError(MKStreamErrorEnd);
        memset(buffer, 0, size_t(n));
        return -1;
    }
    memcpy(buffer, m_data + m_position, size_t(k));
    m_position += k;
    return k;
}

bool MKMemInStream::TakeFixed(void* out, int width)
{
    if (m_size - m_position < width) {
        SetError(MKStreamErrorEnd);
        memset(out, 0, size_t(width));
        return false;
    }
    memcpy(out, m_data + m_position, size_t(width));  // this target is little-endian
    m_position += width;
    return true;
}

bool MKMemInStream::ReadU8(uint8_t* out)
{
    return TakeFixed(out, 1);
}

bool MKMemInStream::ReadU16(uint16_t* out)
{
    return TakeFixed(out, 2);
}

bool MKMemInStream::ReadU32(uint32_t* out)
{
    return TakeFixed(out, 4);
}

bool MKMemInStream::ReadU64(uint64_t* out)
{
    return TakeFixed(out, 8);
}

int MKMemInStream::Skip(int n)
{
    if (n <= 0)
        return 0;
    int k = m_size - m_position < n ? m_size - m_position : n;
    m_position += k;
    return k;
}

bool MKMemInStream::Seek(int position)
{
    if (position < 0 || position > m_size)
        return false;
    m_position = position;
    return true;
}

char* MKMemInStream::ReadLine(char* buffer, int n)
{
    int remaining = m_size - m_position;
    if (n <= 0 || remaining <= 0)
        return nullptr;
    int k = remaining < n - 1 ? remaining : n - 1;
    const void* newline = memchr(m_data + m_position, '\n', size_t(k));
    if (newline)
        k = int(static_cast<const uint8_t*>(newline) - (m_data + m_position)) + 1;
    memcpy(buffer, m_data + m_position, size_t(k));
    buffer[k] = 0;
    m_position += k;
    return buffer;
}
