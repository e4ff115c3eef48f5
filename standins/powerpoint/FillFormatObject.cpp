#include "standins/powerpoint/FillFormatObject.h"

namespace standin {

FillFormatObject::FillFormatObject(ShapeObject* shape)
    : ShapePartObject(L"FillFormat", PowerPoint::IID_FillFormat, shape)
{
}

HRESULT FillFormatObject::get_Visible(long* result)
{
    STANDIN_ENTER_OUT(L"get_Visible", result);
    if (!IsAlive())
        return E_FAIL;
    *result = Shape().FillVisible() ? PowerPoint::msoTrue : PowerPoint::msoFalse;
    return S_OK;
}

HRESULT FillFormatObject::put_Visible(long value)
{
    STANDIN_ENTER(L"put_Visible");
    if (!IsAlive())
        return E_FAIL;
    Shape().SetFill(value != PowerPoint::msoFalse, Shape().FillColor());
    Shape().Document().Touch();
    return S_OK;
}

}  // namespace standin
