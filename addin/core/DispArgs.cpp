#include "addin/core/DispArgs.h"

VARIANT* DispArgs::At(UINT position) const
{
    if (position >= Count() || !m_params->rgvarg)
        return nullptr;
    return &m_params->rgvarg[Count() - 1 - position];
}

VARTYPE DispArgs::TypeAt(UINT position) const
{
    VARIANT* argument = At(position);
    return argument ? argument->vt : VARTYPE(VT_EMPTY);
}

HRESULT DispArgs::Fail(HRESULT failure)
{
    if (m_error == S_OK)
        m_error = failure;
    return failure;
}

HRESULT DispArgs::Take(UINT position, VARTYPE type, VARIANT** argument)
{
    VARIANT* held = At(position);
    if (!held)
        return Fail(DISP_E_BADPARAMCOUNT);
    if (held->vt != type)
        return Fail(DISP_E_BADVARTYPE);
    *argument = held;
    return S_OK;
}

HRESULT DispArgs::GetInt(UINT position, int32_t* out)
{
    VARIANT* argument = nullptr;
    HRESULT hr = Take(position, VT_I4, &argument);
    if (SUCCEEDED(hr))
        *out = argument->lVal;
    return hr;
}

HRESULT DispArgs::GetFloat(UINT position, float* out)
{
    VARIANT* argument = nullptr;
    HRESULT hr = Take(position, VT_R4, &argument);
    if (SUCCEEDED(hr))
        *out = argument->fltVal;
    return hr;
}

HRESULT DispArgs::GetString(UINT position, MKString* out)
{
    VARIANT* argument = nullptr;
    HRESULT hr = Take(position, VT_BSTR, &argument);
    if (SUCCEEDED(hr))
        *out = MKString::MKStringFromChars(argument->bstrVal, int(SysStringLen(argument->bstrVal)));
    return hr;
}

HRESULT DispArgs::GetBstr(UINT position, BSTR* out)
{
    VARIANT* argument = nullptr;
    HRESULT hr = Take(position, VT_BSTR, &argument);
    if (SUCCEEDED(hr))
        *out = argument->bstrVal;
    return hr;
}

HRESULT DispArgs::GetDispatch(UINT position, IDispatch** out)
{
    VARIANT* argument = nullptr;
    HRESULT hr = Take(position, VT_DISPATCH, &argument);
    if (SUCCEEDED(hr))
        *out = argument->pdispVal;
    return hr;
}

HRESULT DispArgs::GetBool(UINT position, bool* out)
{
    VARIANT* argument = nullptr;
    HRESULT hr = Take(position, VT_BOOL, &argument);
    if (SUCCEEDED(hr))
        *out = argument->boolVal != 0;
    return hr;
}

HRESULT DispArgs::GetUnknown(UINT position, IUnknown** out)
{
    VARIANT* argument = nullptr;
    HRESULT hr = Take(position, VT_UNKNOWN, &argument);
    if (SUCCEEDED(hr))
        *out = argument->punkVal;
    return hr;
}

HRESULT DispArgs::GetInt64(UINT position, int64_t* out)
{
    VARIANT* argument = nullptr;
    HRESULT hr = Take(position, VT_I8, &argument);
    if (SUCCEEDED(hr))
        *out = argument->llVal;
    return hr;
}

HRESULT DispArgs::GetIntRef(UINT position, int32_t** out)
{
    VARIANT* argument = nullptr;
    HRESULT hr = Take(position, VT_BYREF | VT_I4, &argument);
    if (SUCCEEDED(hr))
        *out = reinterpret_cast<int32_t*>(argument->plVal);
    return hr;
}

HRESULT DispArgs::GetFloatRef(UINT position, float** out)
{
    VARIANT* argument = nullptr;
    HRESULT hr = Take(position, VT_BYREF | VT_R4, &argument);
    if (SUCCEEDED(hr))
        *out = argument->pfltVal;
    return hr;
}

HRESULT DispArgs::GetBoolRef(UINT position, VARIANT_BOOL** out)
{
    VARIANT* argument = nullptr;
    HRESULT hr = Take(position, VT_BYREF | VT_BOOL, &argument);
    if (FAILED(hr))
        return hr;
    // A caller that declares a flag must give one to write to.
    if (!argument->pboolVal)
        return Fail(E_INVALIDARG);
    *out = argument->pboolVal;
    return S_OK;
}

HRESULT DispArgs::GetInt64Ref(UINT position, int64_t** out)
{
    VARIANT* argument = nullptr;
    HRESULT hr = Take(position, VT_BYREF | VT_I8, &argument);
    if (SUCCEEDED(hr))
        *out = reinterpret_cast<int64_t*>(argument->pllVal);
    return hr;
}

HRESULT DispArgs::GetVariantRef(UINT position, VARIANT** out)
{
    VARIANT* argument = nullptr;
    HRESULT hr = Take(position, VT_BYREF | VT_VARIANT, &argument);
    if (SUCCEEDED(hr))
        *out = argument->pvarVal;
    return hr;
}
