#include "slidecontrol/MKOleDispatchDriver.h"

#include "slidecontrol/MKOleDispatchException.h"
#include "slidecontrol/MKOleException.h"

#include <stdarg.h>

namespace {

constexpr int kMaxArguments = 8;

// Arguments of one call; frees the BSTRs made for text arguments.
class CallArguments {
public:
    CallArguments()
    {
        for (VARIANT& value : m_values)
            VariantInit(&value);
    }
    ~CallArguments()
    {
        for (VARIANT& value : m_values)
            VariantClear(&value);
    }
    // Places the arguments last first, as DISPPARAMS holds them.
    void Fill(const VARTYPE* types, va_list list)
    {
        int count = 0;
        while (types && types[count] != VT_EMPTY)
            ++count;
        if (count > kMaxArguments)
            throw MKOleException(DISP_E_BADPARAMCOUNT);
        for (int i = 0; i < count; ++i) {
            VARIANT& value = m_values[count - 1 - i];
            switch (types[i]) {
            case VT_I4:
                value.vt = VT_I4;
                value.lVal = va_arg(list, long);
                break;
            case VT_BOOL:
                value.vt = VT_BOOL;
                value.boolVal = va_arg(list, BOOL) ? VARIANT_TRUE : VARIANT_FALSE;
                break;
            case VT_BSTR:
                value.vt = VT_BSTR;
                value.bstrVal = MKString(va_arg(list, const char*)).ToBstr();
                break;
            case VT_DISPATCH:
                value.vt = VT_DISPATCH;
                value.pdispVal = va_arg(list, IDispatch*);
                if (value.pdispVal)
                    value.pdispVal->AddRef();
                break;
            case VT_VARIANT:
                VariantCopy(&value, const_cast<VARIANT*>(va_arg(list, const VARIANT*)));
                break;
            default:
                throw MKOleException(DISP_E_BADVARTYPE);
            }
        }
        m_count = count;
    }
    VARIANT* Values() { return m_count ? m_values : nullptr; }
    UINT Count() const { return UINT(m_count); }

private:
    VARIANT m_values[kMaxArguments];
    int m_count = 0;
};

void StoreResult(VARIANT& answer, VARTYPE type, void* result)
{
    if (type == VT_VARIANT) {
        *static_cast<VARIANT*>(result) = answer;
        return;
    }
    if (answer.vt != type && FAILED(VariantChangeType(&answer, &answer, 0, type))) {
        VariantClear(&answer);
        throw MKOleException(DISP_E_TYPEMISMATCH);
    }
    switch (type) {
    case VT_I4:
        *static_cast<long*>(result) = answer.lVal;
        break;
    case VT_BOOL:
        *static_cast<BOOL*>(result) = answer.boolVal != VARIANT_FALSE;
        break;
    case VT_BSTR:
        *static_cast<MKString*>(result) = MKString(answer.bstrVal ? static_cast<const wchar_t*>(answer.bstrVal) : L"");
        VariantClear(&answer);
        break;
    case VT_DISPATCH:
        // The reference moves to the caller.
        *static_cast<IDispatch**>(result) = answer.pdispVal;
        break;
    default:
        VariantClear(&answer);
        throw MKOleException(DISP_E_BADVARTYPE);
    }
}

}  // namespace

void MKOleDispatchDriver::Attach(IDispatch* dispatch, bool release)
{
    Release();
    m_dispatch = dispatch;
    m_release = release;
}

void MKOleDispatchDriver::Release()
{
    if (m_dispatch && m_release)
        m_dispatch->Release();
    m_dispatch = nullptr;
}

IDispatch* MKOleDispatchDriver::Detach()
{
    IDispatch* dispatch = m_dispatch;
    m_dispatch = nullptr;
    return dispatch;
}

void MKOleDispatchDriver::InvokeHelper(DISPID id, WORD flags, VARTYPE resultType, void* result, const VARTYPE* types,
                                       ...)
{
    if (!m_dispatch)
        throw MKOleException(E_POINTER);
    CallArguments arguments;
    va_list list;
    va_start(list, types);
    try {
        arguments.Fill(types, list);
    } catch (...) {
        va_end(list);
        throw;
    }
    va_end(list);
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params = {arguments.Values(), nullptr, arguments.Count(), 0};
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
    }
    VARIANT answer;
    VariantInit(&answer);
    EXCEPINFO exception = {};
    UINT argumentError = 0;
    HRESULT hr = m_dispatch->Invoke(id, IID_NULL, 0, flags, &params, resultType != VT_EMPTY ? &answer : nullptr,
                                    &exception, &argumentError);
    if (hr == DISP_E_EXCEPTION) {
        VariantClear(&answer);
        if (exception.pfnDeferredFillIn)
            exception.pfnDeferredFillIn(&exception);
        throw MKOleDispatchException(exception);
    }
    if (FAILED(hr)) {
        VariantClear(&answer);
        throw MKOleException(hr);
    }
    if (resultType != VT_EMPTY && result)
        StoreResult(answer, resultType, result);
    else
        VariantClear(&answer);
}

void MKOleDispatchDriver::GetProperty(DISPID id, VARTYPE type, void* result)
{
    InvokeHelper(id, DISPATCH_PROPERTYGET, type, result, nullptr);
}
