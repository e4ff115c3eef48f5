#pragma once
#include <windows.h>
#include <oaidl.h>

#include <stdint.h>

class MKString;

// Writes the one result of an IDispatch::Invoke into the caller's VARIANT,
// clearing what it held first. A caller that passed no VARIANT wants no
// result: every writer then does nothing (and takes nothing over).
class DispResult {
public:
    explicit DispResult(VARIANT* result) : m_result(result) {}
    DispResult(const DispResult&) = delete;
    DispResult& operator=(const DispResult&) = delete;

    bool IsWanted() const { return m_result != nullptr; }

    void SetInt(int32_t value);
    void SetFloat(float value);
    // VARIANT_TRUE (-1) or VARIANT_FALSE.
    void SetBool(bool value);
    void SetInt64(int64_t value);
    // The result takes the BSTR over; true when it did. Without a result the
    // caller still owns it.
    bool SetBstr(BSTR value);
    // New BSTRs of the characters; E_OUTOFMEMORY leaves the result empty. A
    // null text stores a null BSTR.
    HRESULT SetString(const MKString& value);
    HRESULT SetText(const wchar_t* text);
    // Takes one reference on a non-null interface; null stores VT_DISPATCH
    // with a null pointer.
    void SetDispatch(IDispatch* value);

private:
    // Cleared result for a new value of the type, or null when none is wanted.
    VARIANT* Prepare(VARTYPE type);

    VARIANT* m_result;
};
