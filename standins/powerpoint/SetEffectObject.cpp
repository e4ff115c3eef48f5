#include "standins/powerpoint/SetEffectObject.h"

namespace standin {

SetEffectObject::SetEffectObject(const DocumentStatePtr& document)
    : DispatchObject(L"SetEffect", {PowerPoint::IID_SetEffect}), m_document(document)
{
    VariantInit(&m_to);
}

SetEffectObject::~SetEffectObject()
{
    VariantClear(&m_to);
}

void SetEffectObject::Set(long property, const VARIANT& to)
{
    m_property = property;
    VariantCopy(&m_to, const_cast<VARIANT*>(&to));
}

HRESULT SetEffectObject::get_Property(long* result)
{
    return GetValue(L"get_Property", m_property, result);
}

HRESULT SetEffectObject::put_Property(long value)
{
    return PutValue(L"put_Property", m_property, value, m_document.get());
}

HRESULT SetEffectObject::get_To(VARIANT* result)
{
    STANDIN_ENTER_OUT(L"get_To", result);
    VariantInit(result);
    return VariantCopy(result, &m_to);
}

HRESULT SetEffectObject::put_To(VARIANT value)
{
    STANDIN_ENTER(L"put_To");
    HRESULT hr = VariantCopy(&m_to, &value);
    if (SUCCEEDED(hr))
        m_document->Touch();
    return hr;
}

}  // namespace standin
