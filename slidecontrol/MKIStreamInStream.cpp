#include "slidecontrol/MKIStreamInStream.h"

#include "base/MKStreamErrors.h"

#include <limits.h>
#include <string.h>

MKIStreamInStream::MKIStreamInStream(IStream* stream) : m_stream(stream)
{
    if (m_stream)
        m_stream->AddRef();
    else
        SetError(MKStreamErrorNoTarget);
}

MKIStreamInStream::~MKIStreamInStream()
{
    Close();
}

bool MKIStreamInStream::Close()
{
    if (m_stream) {
        m_stream->Release();
        m_stream = nullptr;
    }
    return true;
}

int MKIStreamInStream::Read(void* buffer, int n)
{
    if (n < 1)
        return 0;
    if (m_error != 0 || !m_stream) {
        SetError(MKStreamErrorEnd);
        memset(buffer, 0, size_t(n));
        return -1;
    }
    ULONG got = 0;
    HRESULT hr = m_stream->Read(buffer, ULONG(n), &got);
    if (hr == S_OK && got != 0 && got != ULONG(-1) && got <= ULONG(n)) {
        m_count += int(got);
        return int(got);
    }
    SetError(MKStreamErrorEnd);
    memset(buffer, 0, size_t(n));
    return -1;
}

bool MKIStreamInStream::Seek(int position)
{
    LARGE_INTEGER to;
    to.QuadPart = position;
    return m_stream && position >= 0 && SUCCEEDED(m_stream->Seek(to, STREAM_SEEK_SET, nullptr));
}

int MKIStreamInStream::GetPosition()
{
    LARGE_INTEGER none = {};
    ULARGE_INTEGER at = {};
    if (!m_stream || FAILED(m_stream->Seek(none, STREAM_SEEK_CUR, &at)) || at.QuadPart > INT_MAX)
        return 0;
    return int(at.QuadPart);
}

int MKIStreamInStream::GetSize()
{
    STATSTG stat = {};
    if (!m_stream || FAILED(m_stream->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart > INT_MAX)
        return 0;
    return int(stat.cbSize.QuadPart);
}
