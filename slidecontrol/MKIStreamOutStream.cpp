#include "slidecontrol/MKIStreamOutStream.h"

#include "base/MKStreamErrors.h"

MKIStreamOutStream::MKIStreamOutStream(IStream* stream) : m_stream(stream)
{
    if (m_stream)
        m_stream->AddRef();
}

MKIStreamOutStream::~MKIStreamOutStream()
{
    if (m_stream)
        m_stream->Release();
}

bool MKIStreamOutStream::Write(const void* data, int n)
{
    if (n < 1)
        return true;
    if (GetError() != 0)
        return false;
    ULONG written = 0;
    HRESULT hr = m_stream ? m_stream->Write(data, ULONG(n), &written) : E_POINTER;
    if (hr == S_OK && written == ULONG(n)) {
        m_count += n;
        return true;
    }
    SetError(hr == STG_E_MEDIUMFULL ? int(MKStreamErrorMediumFull) : int(MKStreamErrorNoTarget));
    return false;
}
