#include "standins/powerpoint/LineFormatObject.h"

namespace standin {

LineFormatObject::LineFormatObject(ShapeObject* shape)
    : ShapePartObject(L"LineFormat", PowerPoint::IID_LineFormat, shape)
{
}

HRESULT LineFormatObject::get_Visible(long* result)
{
    STANDIN_ENTER_OUT(L"get_Visible", result);
    if (!IsAlive())
        return E_FAIL;
    *result = Shape().LineVisible() ? PowerPoint::msoTrue : PowerPoint::msoFalse;
    return S_OK;
}

HRESULT LineFormatObject::put_Visible(long value)
{
    STANDIN_ENTER(L"put_Visible");
    if (!IsAlive())
        return E_FAIL;
    Shape().SetLineVisible(value != PowerPoint::msoFalse);
    Shape().Document().Touch();
    return S_OK;
}

}  // namespace standin
