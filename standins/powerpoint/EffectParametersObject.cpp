#include "standins/powerpoint/EffectParametersObject.h"

namespace standin {

EffectParametersObject::EffectParametersObject(const DocumentStatePtr& document)
    : DispatchObject(L"EffectParameters", {PowerPoint::IID_EffectParameters}), m_document(document)
{
}

HRESULT EffectParametersObject::get_Amount(float* result)
{
    STANDIN_ENTER_OUT(L"get_Amount", result);
    *result = m_amount;
    return S_OK;
}

HRESULT EffectParametersObject::put_Amount(float value)
{
    STANDIN_ENTER(L"put_Amount");
    m_amount = value;
    m_document->Touch();
    return S_OK;
}

}  // namespace standin
