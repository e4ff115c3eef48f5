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
    return GetValue(L"get_SlideHeight", m_height, result);
}

HRESULT PageSetupObject::put_SlideHeight(float value)
{
    return PutValue(L"put_SlideHeight", m_height, value, m_document.get(), value > 0);
}

HRESULT PageSetupObject::get_SlideWidth(float* result)
{
    return GetValue(L"get_SlideWidth", m_width, result);
}

HRESULT PageSetupObject::put_SlideWidth(float value)
{
    return PutValue(L"put_SlideWidth", m_width, value, m_document.get(), value > 0);
}

}  // namespace standin
