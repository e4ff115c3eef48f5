#include "addin/hosting/QuickTimeEventSink.h"

#include "hostapi/QuickTimeInterfaces.h"

namespace {

// The argument types each event needs, its first argument first; null for
// an event whose arguments are not looked at.
const VARTYPE* ExpectedArguments(DISPID id, UINT& count)
{
    static const VARTYPE kTwoInts[] = {VT_I4, VT_I4};
    static const VARTYPE kStatus[] = {VT_I4, VT_I4, VT_BSTR};
    static const VARTYPE kFourShorts[] = {VT_I2, VT_I2, VT_I2, VT_I2};
    switch (id) {
    case 2:
    case 3: count = 2; return kTwoInts;
    case 4: count = 3; return kStatus;
    case 5:
    case 6:
    case 7: count = 4; return kFourShorts;
    default: count = 0; return nullptr;
    }
}

}  // namespace

QuickTimeEventSink::QuickTimeEventSink(QuickTimeStatusHandler* handler)
    : MKDispatchObject(DIID_QuickTimeControlEvents), m_handler(handler)
{
}

HRESULT QuickTimeEventSink::HandleInvoke(DISPID id, DISPPARAMS* params, VARIANT*)
{
    if (id == 1)
        return S_OK;
    UINT count = 0;
    const VARTYPE* types = ExpectedArguments(id, count);
    if (!types)
        return DISP_E_MEMBERNOTFOUND;
    if (!params || params->cArgs != count || !params->rgvarg)
        return DISP_E_BADPARAMCOUNT;
    // Arguments arrive last first.
    for (UINT i = 0; i < count; ++i) {
        if (params->rgvarg[count - 1 - i].vt != types[i])
            return DISP_E_BADVARTYPE;
    }
    if (id == 4 && m_handler) {
        const VARIANT* arguments = params->rgvarg;
        m_handler->OnQuickTimeStatus(arguments[2].lVal, arguments[1].lVal,
                                     MKString(arguments[0].bstrVal ? arguments[0].bstrVal : L""));
    }
    return S_OK;
}
