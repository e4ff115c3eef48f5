#include "standins/powerpoint/LineFormatObject.h"

#include "standins/powerpoint/ShapeObject.h"

namespace standin {

LineFormatObject::LineFormatObject(ShapeObject* shape)
    : DispatchObject(L"LineFormat", {PowerPoint::IID_LineFormat}), m_shape(shape)
{
    m_shape->AddRef();
}

LineFormatObject::~LineFormatObject()
{
    m_shape->Release();
}

HRESULT LineFormatObject::get_Visible(long* result)
{
    STANDIN_ENTER_OUT(L"get_Visible", result);
    if (!m_shape->IsAlive())
        return E_FAIL;
    *result = m_shape->LineVisible() ? PowerPoint::msoTrue : PowerPoint::msoFalse;
    return S_OK;
}

HRESULT LineFormatObject::put_Visible(long value)
{
    STANDIN_ENTER(L"put_Visible");
    if (!m_shape->IsAlive())
        return E_FAIL;
    m_shape->SetLineVisible(value != PowerPoint::msoFalse);
    m_shape->Document().Touch();
    return S_OK;
}

}  // namespace standin
