#pragma once
#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/DispatchObject.h"
#include "standins/powerpoint/DocumentState.h"

namespace standin {

// AnimationBehavior.SetEffect: the property a set behaviour changes and the
// value it sets.
class SetEffectObject : public DispatchObject<PowerPoint::SetEffect> {
public:
    explicit SetEffectObject(const DocumentStatePtr& document);

    long Property() const { return m_property; }
    const VARIANT& To() const { return m_to; }
    void Set(long property, const VARIANT& to);

    HRESULT STDMETHODCALLTYPE get_Property(long* result) override;
    HRESULT STDMETHODCALLTYPE put_Property(long value) override;
    HRESULT STDMETHODCALLTYPE get_To(VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE put_To(VARIANT value) override;

protected:
    ~SetEffectObject() override;

private:
    DocumentStatePtr m_document;
    long m_property = 0;
    VARIANT m_to;
};

}  // namespace standin
