#pragma once
#include "base/MKException.h"

#include <windows.h>

// An automation call that failed with an HRESULT (MKOleDispatchDriver).
class MKOleException : public MKException {
public:
    explicit MKOleException(HRESULT result) : m_result(result) {}
    HRESULT Result() const { return m_result; }
    const wchar_t* Description() const override { return L"automation call failed"; }

private:
    HRESULT m_result;
};
