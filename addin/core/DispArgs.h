#pragma once
#include <windows.h>
#include <oaidl.h>

#include <stdint.h>

#include "base/MKString.h"

// Reads the arguments of one IDispatch::Invoke by their declared position
// (0 is the first declared argument, which DISPPARAMS holds last), each of
// exactly one variant type: nothing is converted. The first failure of any
// read sticks in Error(), so a handler reads all its arguments and checks
// once. Interfaces and strings handed out are borrowed from the caller's
// DISPPARAMS for the duration of the call: no reference is taken. Lives on
// the handler's stack; the DISPPARAMS must outlive it.
class DispArgs {
public:
    // Null params count as no arguments.
    explicit DispArgs(DISPPARAMS* params) : m_params(params) {}
    DispArgs(const DispArgs&) = delete;
    DispArgs& operator=(const DispArgs&) = delete;

    UINT Count() const { return m_params ? m_params->cArgs : 0; }
    // 0 until a read fails, then that read's failure.
    HRESULT Error() const { return m_error; }
    // The argument's variant type; VT_EMPTY for a position beyond the count.
    VARTYPE TypeAt(UINT position) const;
    // The argument whatever its type, borrowed; null beyond the count.
    VARIANT* At(UINT position) const;

    // Each reader answers S_OK, DISP_E_BADVARTYPE for any other variant type
    // or DISP_E_BADPARAMCOUNT for a position beyond the count; on failure the
    // out value is left alone.
    HRESULT GetInt(UINT position, int32_t* out);
    HRESULT GetFloat(UINT position, float* out);
    // A null BSTR gives the empty string.
    HRESULT GetString(UINT position, MKString* out);
    HRESULT GetBstr(UINT position, BSTR* out);
    HRESULT GetDispatch(UINT position, IDispatch** out);
    // True for any non-zero value.
    HRESULT GetBool(UINT position, bool* out);
    HRESULT GetUnknown(UINT position, IUnknown** out);
    HRESULT GetInt64(UINT position, int64_t* out);
    // By-reference arguments: the pointer to the caller's value, which may be
    // null except for the flag.
    HRESULT GetIntRef(UINT position, int32_t** out);
    HRESULT GetFloatRef(UINT position, float** out);
    // A null pointer answers E_INVALIDARG (and sets Error()).
    HRESULT GetBoolRef(UINT position, VARIANT_BOOL** out);
    HRESULT GetInt64Ref(UINT position, int64_t** out);
    HRESULT GetVariantRef(UINT position, VARIANT** out);

private:
    // The variant of the position when it has exactly the type; otherwise
    // the failure, recorded.
    HRESULT Take(UINT position, VARTYPE type, VARIANT** argument);
    // Take, then *out = value(argument) on success.
    template <class T, class Value>
    HRESULT Read(UINT position, VARTYPE type, T* out, Value value);
    HRESULT Fail(HRESULT failure);

    DISPPARAMS* m_params;
    HRESULT m_error = S_OK;
};
