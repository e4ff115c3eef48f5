#include "standins/powerpoint/OleFormatObject.h"

#include "standins/powerpoint/ComValues.h"
#include "standins/powerpoint/ShapeObject.h"

namespace standin {

OleFormatObject::OleFormatObject(ShapeObject* shape)
    : DispatchObject(L"OLEFormat", {PowerPoint::IID_OLEFormat}), m_shape(shape)
{
    m_shape->AddRef();
}

OleFormatObject::~OleFormatObject()
{
    m_shape->Release();
}

HRESULT OleFormatObject::get_Object(IDispatch** result)
{
    STANDIN_ENTER_OUT(L"get_Object", result);
    *result = nullptr;
    if (!m_shape->IsAlive())
        return E_FAIL;
    return ReturnObject(m_shape->OleObject(), result);
}

HRESULT OleFormatObject::get_ProgID(BSTR* result)
{
    STANDIN_ENTER_OUT(L"get_ProgID", result);
    if (!m_shape->IsAlive())
        return E_FAIL;
    return ReturnText(m_shape->OleProgId(), result);
}

}  // namespace standin
