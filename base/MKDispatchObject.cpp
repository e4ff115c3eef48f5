#include "base/MKDispatchObject.h"

#include <string.h>

#include "base/MKCrashGuard.h"

MKDispatchObject::MKDispatchObject(uint32_t iid0, uint32_t iid1, uint32_t iid2, uint32_t iid3)
{
    const uint32_t words[4] = {iid0, iid1, iid2, iid3};
    static_assert(sizeof(words) == sizeof(m_iid), "an interface id is four words");
    memcpy(&m_iid, words, sizeof(m_iid));
}

HRESULT STDMETHODCALLTYPE MKDispatchObject::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, m_iid)) {
        AddRef();
        *out = static_cast<IDispatch*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE MKDispatchObject::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_count));
}

ULONG STDMETHODCALLTYPE MKDispatchObject::Release()
{
    LONG count = InterlockedDecrement(&m_count);
    if (count == 0)
        delete this;
    return static_cast<ULONG>(count);
}

HRESULT STDMETHODCALLTYPE MKDispatchObject::GetTypeInfoCount(UINT*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE MKDispatchObject::GetTypeInfo(UINT, LCID, ITypeInfo**)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE MKDispatchObject::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE MKDispatchObject::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params,
                                                   VARIANT* result, EXCEPINFO*, UINT*)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, static_cast<HRESULT>(E_UNEXPECTED),
                        [&] { return HandleInvoke(id, params, result); });
}
