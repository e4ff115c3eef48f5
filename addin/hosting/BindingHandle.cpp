#include "addin/hosting/BindingHandle.h"

#include "base/MKCrashGuard.h"

HRESULT STDMETHODCALLTYPE BindingHandle::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IBinding) {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    *out = static_cast<IBinding*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE BindingHandle::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

ULONG STDMETHODCALLTYPE BindingHandle::Release()
{
    static MKExceptionInfo s_info;
    const LONG count = InterlockedDecrement(&m_refs);
    if (count == 0)
        MKCrashGuard(s_info, [&] { delete this; });
    return count;
}
