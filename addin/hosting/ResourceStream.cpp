#include "addin/hosting/ResourceStream.h"

#include "base/MKCrashGuard.h"
#include "base/MKInStream.h"
#include "base/MKStreamErrors.h"

ResourceStream::ResourceStream(MKInStream* input) : m_input(input)
{
    if (m_input)
        m_input->AddRef();
}

ResourceStream::~ResourceStream()
{
    if (m_input)
        m_input->Release();
}

HRESULT STDMETHODCALLTYPE ResourceStream::Read(void* buffer, ULONG count, ULONG* read)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, static_cast<HRESULT>(E_UNEXPECTED), [&]() -> HRESULT {
        if (read)
            *read = 0;
        if (!m_input || !buffer)
            return E_FAIL;
        const int asked = count > 0x7FFFFFFF ? 0x7FFFFFFF : int(count);
        int got = m_input->Read(buffer, asked);
        if (got < 0) {
            if (m_input->GetError() != MKStreamErrorEnd)
                return E_FAIL;
            got = 0;
        }
        if (read)
            *read = ULONG(got);
        return got > 0 ? S_OK : S_FALSE;
    });
}
