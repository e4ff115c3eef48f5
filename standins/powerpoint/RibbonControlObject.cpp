#include "standins/powerpoint/RibbonControlObject.h"

#include "standins/powerpoint/ComValues.h"

namespace standin {

RibbonControlObject::RibbonControlObject(const std::wstring& id, const std::wstring& tag)
    : DispatchObject(L"RibbonControl", {Office::IID_IRibbonControl}), m_id(id), m_tag(tag)
{
}

HRESULT RibbonControlObject::get_Id(BSTR* result)
{
    STANDIN_ENTER_OUT(L"get_Id", result);
    return ReturnText(m_id, result);
}

HRESULT RibbonControlObject::InvokeMember(DISPID id, WORD, DISPPARAMS*, VARIANT* result)
{
    if (id < 1 || id > 3)
        return DISP_E_MEMBERNOTFOUND;
    if (!result)
        return S_OK;
    VariantInit(result);
    if (id == 2) {
        result->vt = VT_DISPATCH;
        result->pdispVal = nullptr;
        return S_OK;
    }
    result->vt = VT_BSTR;
    return ReturnText(id == 1 ? m_id : m_tag, &result->bstrVal);
}

}  // namespace standin
