#include "tests/standins/controlsupport/TestPropertyBag.h"

HRESULT TestPropertyBag::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IPropertyBag2)
        *out = static_cast<IPropertyBag2*>(this);
    else if (iid == IID_IPropertyBag)
        *out = static_cast<IPropertyBag*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG TestPropertyBag::Release()
{
    LONG left = InterlockedDecrement(&m_refs);
    if (left == 0)
        delete this;
    return left;
}

HRESULT TestPropertyBag::CountProperties(ULONG* count)
{
    if (!count)
        return E_POINTER;
    *count = static_cast<ULONG>(m_values.size());
    return S_OK;
}

HRESULT TestPropertyBag::GetPropertyInfo(ULONG first, ULONG count, PROPBAG2* properties, ULONG* filled)
{
    if (!properties || first + count > m_values.size())
        return E_INVALIDARG;
    for (ULONG i = 0; i < count; ++i) {
        const std::wstring& name = m_values[first + i].first;
        PROPBAG2& property = properties[i];
        property = {};
        property.dwType = PROPBAG2_TYPE_DATA;
        property.vt = VT_BSTR;
        property.dwHint = first + i;
        property.pstrName = static_cast<LPOLESTR>(CoTaskMemAlloc((name.size() + 1) * sizeof(wchar_t)));
        if (property.pstrName)
            wcscpy(property.pstrName, name.c_str());
    }
    if (filled)
        *filled = count;
    return S_OK;
}

HRESULT TestPropertyBag::Read(ULONG count, PROPBAG2* properties, IErrorLog*, VARIANT* values, HRESULT* results)
{
    for (ULONG i = 0; i < count; ++i) {
        ULONG hint = properties[i].dwHint;
        if (hint >= m_values.size())
            return E_INVALIDARG;
        values[i].vt = VT_BSTR;
        values[i].bstrVal = SysAllocString(m_values[hint].second.c_str());
        if (results)
            results[i] = S_OK;
    }
    return S_OK;
}

HRESULT TestPropertyBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*)
{
    if (!name || !value)
        return E_POINTER;
    for (const auto& entry : m_values) {
        if (entry.first == name) {
            VariantClear(value);
            value->vt = VT_BSTR;
            value->bstrVal = SysAllocString(entry.second.c_str());
            return S_OK;
        }
    }
    return E_INVALIDARG;
}
