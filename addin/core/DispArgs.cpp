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

template <class T, class Value>
HRESULT DispArgs::Read(UINT position, VARTYPE type, T* out, Value value)
{
    VARIANT* argument = nullptr;
    HRESULT hr = Take(position, type, &argument);
    if (SUCCEEDED(hr))
        *out = value(*argument);
    return hr;
}

HRESULT DispArgs::GetInt(UINT position, int32_t* out)
{
    return Read(position, VT_I4, out, [](const VARIANT& v) { return int32_t(v.lVal); });
}

HRESULT DispArgs::GetFloat(UINT position, float* out)
{
    return Read(position, VT_R4, out, [](const VARIANT& v) { return v.fltVal; });
}

HRESULT DispArgs::GetString(UINT position, MKString* out)
{
    return Read(position, VT_BSTR, out, [](const VARIANT& v) {
        return MKString::MKStringFromChars(v.bstrVal, int(SysStringLen(v.bstrVal)));
    });
}

HRESULT DispArgs::GetBstr(UINT position, BSTR* out)
{
    return Read(position, VT_BSTR, out, [](const VARIANT& v) { return v.bstrVal; });
}

HRESULT DispArgs::GetDispatch(UINT position, IDispatch** out)
{
    return Read(position, VT_DISPATCH, out, [](const VARIANT& v) { return v.pdispVal; });
}

HRESULT DispArgs::GetBool(UINT position, bool* out)
{
    return Read(position, VT_BOOL, out, [](const VARIANT& v) { return v.boolVal != 0; });
}

HRESULT DispArgs::GetUnknown(UINT position, IUnknown** out)
{
    return Read(position, VT_UNKNOWN, out, [](const VARIANT& v) { return v.punkVal; });
}

HRESULT DispArgs::GetInt64(UINT position, int64_t* out)
{
    return Read(position, VT_I8, out, [](const VARIANT& v) { return int64_t(v.llVal); });
}

HRESULT DispArgs::GetIntRef(UINT position, int32_t** out)
{
    return Read(position, VT_BYREF | VT_I4, out, [](const VARIANT& v) { return reinterpret_cast<int32_t*>(v.plVal); });
}

HRESULT DispArgs::GetFloatRef(UINT position, float** out)
{
    return Read(position, VT_BYREF | VT_R4, out, [](const VARIANT& v) { return v.pfltVal; });
}

HRESULT DispArgs::GetBoolRef(UINT position, VARIANT_BOOL** out)
{
    VARIANT_BOOL* flag = nullptr;
    HRESULT hr = Read(position, VT_BYREF | VT_BOOL, &flag, [](const VARIANT& v) { return v.pboolVal; });
    if (FAILED(hr))
        return hr;
    // A caller that declares a flag must give one to write to.
    if (!flag)
        return Fail(E_INVALIDARG);
    *out = flag;
    return S_OK;
}

HRESULT DispArgs::GetInt64Ref(UINT position, int64_t** out)
{
    return Read(position, VT_BYREF | VT_I8, out, [](const VARIANT& v) { return reinterpret_cast<int64_t*>(v.pllVal); });
}

HRESULT DispArgs::GetVariantRef(UINT position, VARIANT** out)
{
    return Read(position, VT_BYREF | VT_VARIANT, out, [](const VARIANT& v) { return v.pvarVal; });
}
