#include "base/MKMemOutStream.h"

#include "base/MKAlloc.h"
#include "base/MKStreamErrors.h"

#include <string.h>

MKMemOutStream::~MKMemOutStream()
{
    MKFree(m_buffer);
}

bool MKMemOutStream::Reset()
{
    MKFree(m_buffer);
    m_buffer = nullptr;
    m_length = 0;
    m_capacity = 0;
    return true;
}

bool MKMemOutStream::Write(const void* data, int n)
{
    if (m_error != 0)
        return false;
    if (n <= 0)
        return true;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    if (n > m_capacity - m_length) {
        // The data may be our own bytes, which growing moves.
        ptrdiff_t inside = m_buffer && bytes >= m_buffer && bytes < m_buffer + m_length ? bytes - m_buffer : -1;
        if (n > INT32_MAX - m_length) {
            SetError(MKStreamErrorNoMemory);
            return false;
        }
        // A quarter more each time, at least what is needed and 32 bytes.
        int need = m_length + n;
        int64_t capacity = int64_t(m_capacity) + m_capacity / 4;
        if (capacity < need)
            capacity = need < 32 ? 32 : need;
        if (capacity > INT32_MAX)
            capacity = INT32_MAX;
        uint8_t* grown = static_cast<uint8_t*>(MKRealloc(m_buffer, size_t(capacity)));
        if (!grown) {
            SetError(MKStreamErrorNoMemory);
            return false;
        }
        m_buffer = grown;
        m_capacity = int(capacity);
        if (inside >= 0)
            bytes = m_buffer + inside;
    }
    memcpy(m_buffer + m_length, bytes, size_t(n));
    m_length += n;
    return true;
}

bool MKMemOutStream::TakeBuffer(MKByteArray& out)
{
    out.RemoveAll();
    if (m_length == 0)
        return Reset();
    // The spare room goes back to the heap (a shrinking reallocation stays in
    // place), then the array takes the block over: the bytes are not copied.
    if (m_capacity > m_length) {
        uint8_t* trimmed = static_cast<uint8_t*>(MKRealloc(m_buffer, size_t(m_length)));
        if (!trimmed)
            return false;
        m_buffer = trimmed;
        m_capacity = m_length;
    }
    out.Adopt(m_buffer, m_length, m_length);
    m_buffer = nullptr;
    m_length = 0;
    m_capacity = 0;
    return true;
}
