#include "addin/hosting/MonikerBase.h"

#include "base/MKCrashGuard.h"

#include <string.h>

HRESULT STDMETHODCALLTYPE MonikerBase::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IMoniker && iid != IID_IPersistStream && iid != IID_IPersist) {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    *out = static_cast<IMoniker*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE MonikerBase::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

ULONG STDMETHODCALLTYPE MonikerBase::Release()
{
    static MKExceptionInfo s_info;
    const LONG count = InterlockedDecrement(&m_refs);
    if (count == 0)
        MKCrashGuard(s_info, [&] { delete this; });
    return count;
}

HRESULT MonikerBase::CopyDisplayName(const MKString& name, LPOLESTR* out)
{
    if (!out)
        return E_POINTER;
    const size_t bytes = (size_t(name.GetLength()) + 1) * sizeof(wchar_t);
    *out = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (!*out)
        return E_OUTOFMEMORY;
    memcpy(*out, name.GetText(), bytes);
    return S_OK;
}
