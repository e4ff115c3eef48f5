#pragma once
#include <windows.h>
#include <oaidl.h>

#include <stdint.h>

// Base of the late-bound automation objects handed to plug-ins: callers must
// know the dispatch identifiers (no type information, no name lookup). The
// count is locked, so references may be taken and dropped on any thread; it
// starts at 0 and the first AddRef comes from whoever hands the object out.
// The last Release deletes the object. Invoke runs the handler inside the
// crash guard (E_UNEXPECTED when it fails).
class MKDispatchObject : public IDispatch {
public:
    // The object's own interface identifier, as four 32-bit words in memory
    // order.
    MKDispatchObject(uint32_t iid0, uint32_t iid1, uint32_t iid2, uint32_t iid3);
    explicit MKDispatchObject(REFIID iid) : m_iid(iid) {}
    MKDispatchObject(const MKDispatchObject&) = delete;
    MKDispatchObject& operator=(const MKDispatchObject&) = delete;

    // IUnknown, IDispatch and the object's own interface.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override;
    // Every call goes to HandleInvoke, whatever the invocation flags.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    const IID& InterfaceId() const { return m_iid; }

protected:
    virtual ~MKDispatchObject() = default;

    // One case per dispatch identifier (DISP_E_MEMBERNOTFOUND for others).
    // `result` is null when the caller wants none: nothing may be written then.
    virtual HRESULT HandleInvoke(DISPID id, DISPPARAMS* params, VARIANT* result) = 0;

private:
    volatile LONG m_count = 0;
    IID m_iid;
};
