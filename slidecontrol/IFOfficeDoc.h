#pragma once
#include <windows.h>
#include <oaidl.h>

// The slide movie control's class and its dual automation interface, in the
// order of the type library (FOffice.idl): the virtual table below must match
// it, since IDispatch calls are dispatched through the type information.
inline constexpr CLSID CLSID_FOfficeDoc = {
    0x10FD7FEE, 0x875F, 0x11D6, {0x83, 0xD2, 0x52, 0x54, 0x00, 0xE8, 0x0B, 0xD5}};
inline constexpr IID IID_IFOfficeDoc = {0x10FD7FED, 0x875F, 0x11D6, {0x83, 0xD2, 0x52, 0x54, 0x00, 0xE8, 0x0B, 0xD5}};
inline constexpr GUID LIBID_FOFFICELib = {
    0x10FD7FE0, 0x875F, 0x11D6, {0x83, 0xD2, 0x52, 0x54, 0x00, 0xE8, 0x0B, 0xD5}};

enum FOfficeDocDispId : DISPID {
    kFOfficeDispSetMovie = 1,
    kFOfficeDispGetInternalID = 2,
    kFOfficeDispLockActivateFlag = 3,
    kFOfficeDispSetAddIn = 4,
    kFOfficeDispEnableVerbProperties = 5,
    kFOfficeDispRegisterATLEvents = 6,
    kFOfficeDispUnregisterATLEvents = 7,
};

struct IFOfficeDoc : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE SetMovie(BSTR filename) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetInternalID(long* intid) = 0;
    virtual HRESULT STDMETHODCALLTYPE LockActivateFlag(long ok) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetAddIn(VARIANT addin) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_EnableVerbProperties(long* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_EnableVerbProperties(long value) = 0;
    virtual HRESULT STDMETHODCALLTYPE RegisterATLEvents(VARIANT listener) = 0;
    virtual HRESULT STDMETHODCALLTYPE UnregisterATLEvents(VARIANT listener) = 0;
};
