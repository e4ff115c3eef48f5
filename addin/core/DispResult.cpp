#include "addin/core/DispResult.h"

#include "base/MKString.h"

VARIANT* DispResult::Prepare(VARTYPE type)
{
    if (!m_result)
        return nullptr;
    VariantClear(m_result);
    m_result->vt = type;
    return m_result;
}

void DispResult::SetInt(int32_t value)
{
    if (VARIANT* result = Prepare(VT_I4))
        result->lVal = value;
}

void DispResult::SetFloat(float value)
{
    if (VARIANT* result = Prepare(VT_R4))
        result->fltVal = value;
}

void DispResult::SetBool(bool value)
{
    if (VARIANT* result = Prepare(VT_BOOL))
        result->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

void DispResult::SetInt64(int64_t value)
{
    if (VARIANT* result = Prepare(VT_I8))
        result->llVal = value;
}

bool DispResult::SetBstr(BSTR value)
{
    VARIANT* result = Prepare(VT_BSTR);
    if (!result)
        return false;
    result->bstrVal = value;
    return true;
}

HRESULT DispResult::SetString(const MKString& value)
{
    if (!m_result)
        return S_OK;
    BSTR text = SysAllocStringLen(value.GetText(), UINT(value.GetLength()));
    if (!text) {
        VariantClear(m_result);
        return E_OUTOFMEMORY;
    }
    SetBstr(text);
    return S_OK;
}

HRESULT DispResult::SetText(const wchar_t* text)
{
    if (!m_result)
        return S_OK;
    BSTR copy = nullptr;
    if (text && !(copy = SysAllocString(text))) {
        VariantClear(m_result);
        return E_OUTOFMEMORY;
    }
    SetBstr(copy);
    return S_OK;
}

void DispResult::SetDispatch(IDispatch* value)
{
    VARIANT* result = Prepare(VT_DISPATCH);
    if (!result)
        return;
    if (value)
        value->AddRef();
    result->pdispVal = value;
}
