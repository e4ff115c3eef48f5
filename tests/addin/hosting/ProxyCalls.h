#pragma once
#include <oaidl.h>
#include <stdint.h>

#include <string>
#include <vector>

// Plug-ins build and drive node trees only through Invoke by dispatch
// identifier: the hosting tests do the same with these.

VARIANT R4(float value);
VARIANT I4(int32_t value);
VARIANT I8(int64_t value);
VARIANT Bool(bool value);
// The object is the caller's: no reference is taken.
VARIANT Dispatch(IDispatch* value);
// A string of its own; a null text gives a null BSTR.
VARIANT Text(const wchar_t* text);
VARIANT Text(const std::wstring& text);
VARIANT RefR4(float* value);

// Invoke with the arguments in declared order; the result lands in `result`.
// The arguments are made for this call: they are cleared afterwards.
HRESULT Call(IDispatch* proxy, DISPID id, std::vector<VARIANT> declared, VARIANT* result = nullptr);
// The same, leaving the arguments to the caller (rows of a table that share
// their strings, objects passed without a reference).
HRESULT CallKeepingArguments(IDispatch* proxy, DISPID id, const std::vector<VARIANT>& declared,
                             VARIANT* result = nullptr);

// The result of a call without arguments, which must answer `expected`.
VARIANT Get(IDispatch* proxy, DISPID id, HRESULT expected = S_OK);
