#pragma once
#include "standins/controls/OleControl.h"

#include <oaidl.h>

namespace standin {

// An OleControl that is also its automation interface I, a dual interface
// that hosts call through its table; its IDispatch half offers no type
// information and no names (Invoke is the derived control's). IUnknown is
// OleControl's: QueryOwn hands out I.
template <class I>
class DualControl : public OleControl, public I {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override { return OleControl::QueryInterface(iid, out); }
    ULONG STDMETHODCALLTYPE AddRef() override { return OleControl::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return OleControl::Release(); }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override
    {
        if (info)
            *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return DISP_E_UNKNOWNNAME;
    }

protected:
    using OleControl::OleControl;
};

}  // namespace standin
