#include "DocumentContainer.h"

#include "hostapi/PowerPointInterfaces.h"

#include <wchar.h>

namespace {
constexpr DISPID kApplication = 1;
}

DocumentContainer::DocumentContainer(IDispatch* application, bool presentation)
    : m_application(application), m_presentation(presentation)
{
    if (m_application)
        m_application->AddRef();
}

DocumentContainer::~DocumentContainer()
{
    if (m_application)
        m_application->Release();
}

HRESULT DocumentContainer::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleContainer || iid == IID_IParseDisplayName)
        *out = static_cast<IOleContainer*>(this);
    else if (iid == IID_IDispatch || (m_presentation && iid == PowerPoint::IID_Presentation))
        *out = static_cast<IDispatch*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG DocumentContainer::Release()
{
    ULONG left = --m_refs;
    if (left == 0)
        delete this;
    return left;
}

HRESULT DocumentContainer::GetTypeInfoCount(UINT* count)
{
    if (count)
        *count = 0;
    return S_OK;
}

HRESULT DocumentContainer::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    if (count != 1 || _wcsicmp(names[0], L"Application") != 0)
        return DISP_E_UNKNOWNNAME;
    ids[0] = kApplication;
    return S_OK;
}

HRESULT DocumentContainer::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*)
{
    if (id != kApplication)
        return DISP_E_MEMBERNOTFOUND;
    if (!result)
        return E_POINTER;
    VariantInit(result);
    result->vt = VT_DISPATCH;
    result->pdispVal = m_application;
    if (m_application)
        m_application->AddRef();
    return S_OK;
}
