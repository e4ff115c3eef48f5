#include "addin/hosting/ReadOnlyStream.h"

#include "base/MKCrashGuard.h"

HRESULT STDMETHODCALLTYPE ReadOnlyStream::QueryInterface(REFIID iid, void** out)
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

ULONG STDMETHODCALLTYPE ReadOnlyStream::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

ULONG STDMETHODCALLTYPE ReadOnlyStream::Release()
{
    static MKExceptionInfo s_info;
    const LONG count = InterlockedDecrement(&m_refs);
    if (count == 0)
        MKCrashGuard(s_info, [&] { delete this; });
    return count;
}
