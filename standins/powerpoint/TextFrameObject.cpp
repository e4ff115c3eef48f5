#include "standins/powerpoint/TextFrameObject.h"

namespace standin {

TextFrameObject::TextFrameObject(ShapeObject* shape)
    : ShapePartObject(L"TextFrame", PowerPoint::IID_TextFrame, shape)
{
}

HRESULT TextFrameObject::get_HasText(long* result)
{
    STANDIN_ENTER_OUT(L"get_HasText", result);
    if (!IsAlive())
        return E_FAIL;
    *result = Shape().HasText() ? PowerPoint::msoTrue : PowerPoint::msoFalse;
    return S_OK;
}

}  // namespace standin
