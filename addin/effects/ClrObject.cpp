#include "addin/effects/ClrObject.h"

#include <new>

ClrObject::ClrObject(IDispatch* object) : m_object(object)
{
    m_object->AddRef();
}

ClrObject::~ClrObject()
{
    m_object->Release();
}

ClrObject* ClrObject::Create(IDispatch* object)
{
    return object ? new (std::nothrow) ClrObject(object) : nullptr;
}

ClrObject* ClrObject::FromVariant(const VARIANT& value)
{
    return value.vt == VT_DISPATCH ? Create(value.pdispVal) : nullptr;
}

HRESULT ClrObject::QueryInterface(REFIID iid, void** out) const
{
    if (!out)
        return E_POINTER;
    return m_object->QueryInterface(iid, out);
}

HRESULT ClrObject::InvokeMethod(const wchar_t* name, VARIANT* arguments, UINT count, VARIANT* result) const
{
    LPOLESTR names[1] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = m_object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr))
        return hr;
    DISPPARAMS params = {arguments, nullptr, count, 0};
    VARIANT local;
    VariantInit(&local);
    EXCEPINFO exception = {};
    hr = m_object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result ? result : &local,
                          &exception, nullptr);
    VariantClear(&local);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    if (SUCCEEDED(hr))
        return S_OK;
    // A failure without exception information is still a failure.
    return exception.scode != 0 ? exception.scode : hr;
}
