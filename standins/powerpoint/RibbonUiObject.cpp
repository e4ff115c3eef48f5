#include "standins/powerpoint/RibbonUiObject.h"

#include "standins/powerpoint/ComValues.h"

namespace standin {

RibbonUiObject::RibbonUiObject() : DispatchObject(L"RibbonUI", {Office::IID_IRibbonUI}) {}

HRESULT RibbonUiObject::Invalidate()
{
    STANDIN_ENTER(L"Invalidate");
    m_invalidations.push_back(std::wstring());
    return S_OK;
}

HRESULT RibbonUiObject::InvalidateControl(BSTR controlId)
{
    STANDIN_ENTER(L"InvalidateControl");
    if (SysStringLen(controlId) == 0)
        return E_INVALIDARG;
    m_invalidations.push_back(TextFromBstr(controlId));
    return S_OK;
}

HRESULT RibbonUiObject::InvokeMember(DISPID id, WORD, DISPPARAMS* params, VARIANT*)
{
    if (id == 1)
        return params && params->cArgs == 0 ? Invalidate() : DISP_E_BADPARAMCOUNT;
    if (id == 2) {
        if (!params || params->cArgs != 1)
            return DISP_E_BADPARAMCOUNT;
        return params->rgvarg[0].vt == VT_BSTR ? InvalidateControl(params->rgvarg[0].bstrVal) : DISP_E_TYPEMISMATCH;
    }
    return DISP_E_MEMBERNOTFOUND;
}

}  // namespace standin
