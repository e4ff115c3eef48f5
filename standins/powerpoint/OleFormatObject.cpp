#include "standins/powerpoint/OleFormatObject.h"

#include "standins/powerpoint/ComValues.h"

namespace standin {

OleFormatObject::OleFormatObject(ShapeObject* shape)
    : ShapePartObject(L"OLEFormat", PowerPoint::IID_OLEFormat, shape)
{
}

HRESULT OleFormatObject::get_Object(IDispatch** result)
{
    STANDIN_ENTER_OUT(L"get_Object", result);
    *result = nullptr;
    if (!IsAlive())
        return E_FAIL;
    return ReturnObject(Shape().OleObject(), result);
}

HRESULT OleFormatObject::get_ProgID(BSTR* result)
{
    STANDIN_ENTER_OUT(L"get_ProgID", result);
    if (!IsAlive())
        return E_FAIL;
    return ReturnText(Shape().OleProgId(), result);
}

HRESULT OleFormatObject::InvokeMember(DISPID id, WORD flags, DISPPARAMS*, VARIANT* result)
{
    if (!IsGet(flags))
        return DISP_E_MEMBERNOTFOUND;
    if (id == 2004) {
        IDispatch* object = nullptr;
        HRESULT hr = get_Object(&object);
        return AnswerObject(hr, object, result);
    }
    if (id == 2005) {
        BSTR progId = nullptr;
        HRESULT hr = get_ProgID(&progId);
        return AnswerText(hr, progId, result);
    }
    return DISP_E_MEMBERNOTFOUND;
}

}  // namespace standin
