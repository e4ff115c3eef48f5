#include "standins/powerpoint/PageSetupObject.h"

namespace standin {

PageSetupObject::PageSetupObject(const DocumentStatePtr& document)
    : DispatchObject(L"PageSetup", {PowerPoint::IID_PageSetup}), m_document(document)
{
}

void PageSetupObject::SetSize(float width, float height)
{
    m_width = width;
    m_height = height;
}

HRESULT PageSetupObject::get_SlideHeight(float* result)
{
    STANDIN_ENTER_OUT(L"get_SlideHeight", result);
    *result = m_height;
    return S_OK;
}

HRESULT PageSetupObject::put_SlideHeight(float value)
{
    STANDIN_ENTER(L"put_SlideHeight");
    if (value <= 0)
        return E_INVALIDARG;
    m_height = value;
    m_document->Touch();
    return S_OK;
}

HRESULT PageSetupObject::get_SlideWidth(float* result)
{
    STANDIN_ENTER_OUT(L"get_SlideWidth", result);
    *result = m_width;
    return S_OK;
}

HRESULT PageSetupObject::put_SlideWidth(float value)
{
    STANDIN_ENTER(L"put_SlideWidth");
    if (value <= 0)
        return E_INVALIDARG;
    m_width = value;
    m_document->Touch();
    return S_OK;
}

}  // namespace standin
