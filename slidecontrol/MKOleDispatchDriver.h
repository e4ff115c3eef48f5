#pragma once
#include "base/MKString.h"

#include <windows.h>
#include <oaidl.h>

// Calls an automation object by DISPID (IID_NULL, locale 0). Failures throw:
// MKOleDispatchException when the object answers DISP_E_EXCEPTION,
// MKOleException with the HRESULT otherwise (E_POINTER without an object).
// Callers that cannot let an exception pass catch both.
//
// Argument and result types are VARTYPE codes:
//   VT_I4 (long), VT_BOOL (BOOL), VT_BSTR (const char*: 8-bit text, sent as
//   a BSTR), VT_DISPATCH (IDispatch*), VT_VARIANT (const VARIANT*);
// results: VT_EMPTY (none), VT_I4 (long*), VT_BOOL (BOOL*), VT_BSTR
//   (MKString*), VT_DISPATCH (IDispatch**, one reference for the caller),
//   VT_VARIANT (VARIANT*, stored as it comes). Other result types are
//   converted with VariantChangeType.
class MKOleDispatchDriver {
public:
    MKOleDispatchDriver() = default;
    ~MKOleDispatchDriver() { Release(); }
    MKOleDispatchDriver(const MKOleDispatchDriver&) = delete;
    MKOleDispatchDriver& operator=(const MKOleDispatchDriver&) = delete;

    // Keeps the object; release: whether Release lets go of a reference.
    void Attach(IDispatch* dispatch, bool release);
    // Releases the object when it was attached with release, then forgets it.
    void Release();
    // Forgets the object without releasing it.
    IDispatch* Detach();
    IDispatch* Get() const { return m_dispatch; }

    // types: the arguments' VARTYPEs ending with 0 (null for none).
    void InvokeHelper(DISPID id, WORD flags, VARTYPE resultType, void* result, const VARTYPE* types, ...);
    void GetProperty(DISPID id, VARTYPE type, void* result);

private:
    IDispatch* m_dispatch = nullptr;
    bool m_release = false;
};
