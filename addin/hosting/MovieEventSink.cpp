#include "addin/hosting/MovieEventSink.h"

#include "addin/hosting/FlashCalls.h"
#include "addin/hosting/MovieNode.h"
#include "base/MKCrashGuard.h"
#include "hostapi/FlashInterfaces.h"

HRESULT STDMETHODCALLTYPE MovieEventSink::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != DIID_IShockwaveFlashEvents) {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE MovieEventSink::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

ULONG STDMETHODCALLTYPE MovieEventSink::Release()
{
    static MKExceptionInfo s_info;
    const LONG count = InterlockedDecrement(&m_refs);
    if (count == 0)
        MKCrashGuard(s_info, [&] { delete this; });
    return count;
}

HRESULT STDMETHODCALLTYPE MovieEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                                 EXCEPINFO*, UINT*)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, HRESULT(E_UNEXPECTED), [&]() -> HRESULT {
        HRESULT hr = FlashCalls::CheckEvent(id, params);
        if (FAILED(hr) || id != kFlashEventFlashCall)
            return hr;
        if (!m_node)
            return E_FAIL;
        const BSTR request = params->rgvarg[0].bstrVal;
        return m_node->OnFlashCall(MKString(request ? request : L""));
    });
}
