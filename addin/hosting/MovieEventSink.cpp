#include "addin/hosting/MovieEventSink.h"

#include "addin/hosting/FlashCalls.h"
#include "addin/hosting/MovieNode.h"
#include "hostapi/FlashInterfaces.h"

MovieEventSink::MovieEventSink(MovieNode* node) : MKDispatchObject(DIID_IShockwaveFlashEvents), m_node(node) {}

HRESULT MovieEventSink::HandleInvoke(DISPID id, DISPPARAMS* params, VARIANT*)
{
    HRESULT hr = FlashCalls::CheckEvent(id, params);
    if (FAILED(hr) || id != kFlashEventFlashCall)
        return hr;
    if (!m_node)
        return E_FAIL;
    const BSTR request = params->rgvarg[0].bstrVal;
    return m_node->OnFlashCall(MKString(request ? request : L""));
}
