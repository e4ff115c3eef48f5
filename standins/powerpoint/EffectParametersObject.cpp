#include "standins/powerpoint/EffectParametersObject.h"

namespace standin {

EffectParametersObject::EffectParametersObject(const DocumentStatePtr& document)
    : DispatchObject(L"EffectParameters", {PowerPoint::IID_EffectParameters}), m_document(document)
{
}

HRESULT EffectParametersObject::get_Amount(float* result)
{
    return GetValue(L"get_Amount", m_amount, result);
}

HRESULT EffectParametersObject::put_Amount(float value)
{
    return PutValue(L"put_Amount", m_amount, value, m_document.get());
}

}  // namespace standin
