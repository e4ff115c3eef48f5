#include "standins/powerpoint/FillFormatObject.h"

#include "standins/powerpoint/ShapeObject.h"

namespace standin {

FillFormatObject::FillFormatObject(ShapeObject* shape)
    : DispatchObject(L"FillFormat", {PowerPoint::IID_FillFormat}), m_shape(shape)
{
    m_shape->AddRef();
}

FillFormatObject::~FillFormatObject()
{
    m_shape->Release();
}

HRESULT FillFormatObject::get_Visible(long* result)
{
    STANDIN_ENTER_OUT(L"get_Visible", result);
    if (!m_shape->IsAlive())
        return E_FAIL;
    *result = m_shape->FillVisible() ? PowerPoint::msoTrue : PowerPoint::msoFalse;
    return S_OK;
}

HRESULT FillFormatObject::put_Visible(long value)
{
    STANDIN_ENTER(L"put_Visible");
    if (!m_shape->IsAlive())
        return E_FAIL;
    m_shape->SetFill(value != PowerPoint::msoFalse, m_shape->FillColor());
    m_shape->Document().Touch();
    return S_OK;
}

}  // namespace standin
