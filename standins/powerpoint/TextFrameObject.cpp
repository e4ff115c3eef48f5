#include "standins/powerpoint/TextFrameObject.h"

#include "standins/powerpoint/ShapeObject.h"

namespace standin {

TextFrameObject::TextFrameObject(ShapeObject* shape)
    : DispatchObject(L"TextFrame", {PowerPoint::IID_TextFrame}), m_shape(shape)
{
    m_shape->AddRef();
}

TextFrameObject::~TextFrameObject()
{
    m_shape->Release();
}

HRESULT TextFrameObject::get_HasText(long* result)
{
    STANDIN_ENTER_OUT(L"get_HasText", result);
    if (!m_shape->IsAlive())
        return E_FAIL;
    *result = m_shape->HasText() ? PowerPoint::msoTrue : PowerPoint::msoFalse;
    return S_OK;
}

}  // namespace standin
