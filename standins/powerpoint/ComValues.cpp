#include "standins/powerpoint/ComValues.h"

namespace standin {

HRESULT ReturnText(const std::wstring& text, BSTR* out)
{
    *out = SysAllocStringLen(text.c_str(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

bool IndexFromVariant(const VARIANT& value, long* index)
{
    if (value.vt == VT_BSTR || value.vt == VT_EMPTY || value.vt == VT_DISPATCH || value.vt == VT_UNKNOWN)
        return false;
    VARIANT converted;
    VariantInit(&converted);
    if (FAILED(VariantChangeType(&converted, const_cast<VARIANT*>(&value), 0, VT_I4)))
        return false;
    *index = converted.lVal;
    return true;
}

bool TextFromVariant(const VARIANT& value, std::wstring* text)
{
    if (value.vt != VT_BSTR)
        return false;
    *text = TextFromBstr(value.bstrVal);
    return true;
}

std::wstring TextFromBstr(BSTR text)
{
    return text ? std::wstring(text, SysStringLen(text)) : std::wstring();
}

bool SameTextIgnoringCase(const std::wstring& a, const std::wstring& b)
{
    return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

std::wstring UpperCase(std::wstring text)
{
    if (!text.empty())
        CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

}  // namespace standin
