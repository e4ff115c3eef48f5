#pragma once
#include <windows.h>
#include <oaidl.h>
#include <string>

namespace standin {

// Out-parameter writers and argument readers shared by the stand-in objects.

// A new BSTR copy of the text; E_OUTOFMEMORY when it cannot be made.
HRESULT ReturnText(const std::wstring& text, BSTR* out);

// The object with a reference for the caller; a null object answers E_FAIL
// (PowerPoint's way of saying "no such object").
template <class I, class T>
HRESULT ReturnObject(T* object, I** out)
{
    *out = object;
    if (!object)
        return E_FAIL;
    object->AddRef();
    return S_OK;
}

// A VT_I4-convertible index, false for anything else.
bool IndexFromVariant(const VARIANT& value, long* index);
// The text of a VT_BSTR (empty for a null BSTR); false for other types.
bool TextFromVariant(const VARIANT& value, std::wstring* text);

std::wstring TextFromBstr(BSTR text);
bool SameTextIgnoringCase(const std::wstring& a, const std::wstring& b);
std::wstring UpperCase(std::wstring text);

}  // namespace standin
