#pragma once
#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/DispatchObject.h"
#include "standins/powerpoint/DocumentState.h"

namespace standin {

// Effect.EffectParameters: the Amount of the effect.
class EffectParametersObject : public DispatchObject<PowerPoint::EffectParameters> {
public:
    explicit EffectParametersObject(const DocumentStatePtr& document);

    float Amount() const { return m_amount; }

    HRESULT STDMETHODCALLTYPE get_Amount(float* result) override;
    HRESULT STDMETHODCALLTYPE put_Amount(float value) override;

private:
    DocumentStatePtr m_document;
    float m_amount = 1.0f;
};

}  // namespace standin
