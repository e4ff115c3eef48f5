#include "ProxyCalls.h"

#include <gtest/gtest.h>

VARIANT R4(float value)
{
    VARIANT v;
    v.vt = VT_R4;
    v.fltVal = value;
    return v;
}

VARIANT I4(int32_t value)
{
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

VARIANT I8(int64_t value)
{
    VARIANT v;
    v.vt = VT_I8;
    v.llVal = value;
    return v;
}

VARIANT Bool(bool value)
{
    VARIANT v;
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

VARIANT Dispatch(IDispatch* value)
{
    VARIANT v;
    v.vt = VT_DISPATCH;
    v.pdispVal = value;
    return v;
}

VARIANT Text(const wchar_t* text)
{
    VARIANT v;
    v.vt = VT_BSTR;
    v.bstrVal = text ? SysAllocString(text) : nullptr;
    return v;
}

VARIANT Text(const std::wstring& text)
{
    return Text(text.c_str());
}

VARIANT RefR4(float* value)
{
    VARIANT v;
    v.vt = VT_BYREF | VT_R4;
    v.pfltVal = value;
    return v;
}

HRESULT CallKeepingArguments(IDispatch* proxy, DISPID id, const std::vector<VARIANT>& declared, VARIANT* result)
{
    std::vector<VARIANT> reversed(declared.rbegin(), declared.rend());
    DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr, UINT(reversed.size()), 0};
    return proxy->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, result, nullptr, nullptr);
}

HRESULT Call(IDispatch* proxy, DISPID id, std::vector<VARIANT> declared, VARIANT* result)
{
    const HRESULT hr = CallKeepingArguments(proxy, id, declared, result);
    for (VARIANT& v : declared)
        VariantClear(&v);
    return hr;
}

VARIANT Get(IDispatch* proxy, DISPID id, HRESULT expected)
{
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(expected, CallKeepingArguments(proxy, id, {}, &result)) << id;
    return result;
}
