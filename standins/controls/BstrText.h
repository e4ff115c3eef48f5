#pragma once
#include <windows.h>
#include <oleauto.h>
#include <string>

namespace standin {

// A text handed out through a BSTR out pointer: E_POINTER for a null
// pointer, E_OUTOFMEMORY when the string cannot be made.
inline HRESULT CopyToBstr(const std::wstring& text, BSTR* out)
{
    if (!out)
        return E_POINTER;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace standin
