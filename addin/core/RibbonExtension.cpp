#include "addin/core/RibbonExtension.h"

#include <new>

#include "addin/core/AddInGuard.h"
#include "addin/core/RibbonCallbacks.h"
#include "addin/core/RibbonModel.h"
#include "base/MKString.h"

RibbonExtension::RibbonExtension(IUnknown* outer, AddIn* addIn)
    : m_outer(outer), m_addIn(addIn), m_callbacks(new (std::nothrow) RibbonCallbacks(this, addIn))
{
}

RibbonExtension::~RibbonExtension()
{
    delete m_callbacks;
}

HRESULT RibbonExtension::QueryInterface(REFIID iid, void** out)
{
    static AddInGuardRecord s_guard;
    return AddInGuarded(s_guard, m_addIn, E_UNEXPECTED, [&]() -> HRESULT {
        if (!out)
            return E_POINTER;
        IUnknown* answer = nullptr;
        if (iid == Office::IID_IRibbonExtensibility)
            answer = static_cast<Office::IRibbonExtensibility*>(this);
        else if (iid == IID_IDispatch)
            answer = m_callbacks;  // how Office reaches the callbacks
        else
            return m_outer->QueryInterface(iid, out);  // IUnknown too: one identity
        *out = answer;
        if (!answer)
            return E_NOINTERFACE;
        answer->AddRef();
        return S_OK;
    });
}

ULONG RibbonExtension::AddRef()
{
    return m_outer->AddRef();
}

ULONG RibbonExtension::Release()
{
    return m_outer->Release();
}

HRESULT RibbonExtension::GetTypeInfoCount(UINT*)
{
    return E_FAIL;
}

HRESULT RibbonExtension::GetTypeInfo(UINT, LCID, ITypeInfo**)
{
    return E_FAIL;
}

HRESULT RibbonExtension::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_FAIL;
}

HRESULT RibbonExtension::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return E_FAIL;
}

HRESULT RibbonExtension::GetCustomUI(BSTR, BSTR* ribbonXml)
{
    static AddInGuardRecord s_guard;
    return AddInGuarded(s_guard, m_addIn, E_UNEXPECTED, [&]() -> HRESULT {
        if (!ribbonXml)
            return E_POINTER;
        *ribbonXml = nullptr;
        if (!m_model)
            return E_FAIL;
        MKString xml;
        if (!m_model->BuildCustomUI(xml))
            return E_OUTOFMEMORY;
        *ribbonXml = xml.ToBstr();
        return *ribbonXml ? S_OK : E_OUTOFMEMORY;
    });
}
