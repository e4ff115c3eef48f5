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

HRESULT STDMETHODCALLTYPE ResourceStream::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IStream) {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    *out = static_cast<IStream*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE ResourceStream::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

ULONG STDMETHODCALLTYPE ResourceStream::Release()
{
    static MKExceptionInfo s_info;
    const LONG count = InterlockedDecrement(&m_refs);
    if (count == 0)
        MKCrashGuard(s_info, [&] { delete this; });
    return count;
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
