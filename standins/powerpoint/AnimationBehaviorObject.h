#pragma once
#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/DispatchObject.h"
#include "standins/powerpoint/DocumentState.h"

namespace standin {

class AnimationBehaviorsObject;
class CommandEffectObject;
class SetEffectObject;
class TimingObject;

// One behaviour of an effect: its type, timing, command effect and set effect.
// The owner pointer is not counted; the owner detaches it when it drops it.
class AnimationBehaviorObject : public DispatchObject<PowerPoint::AnimationBehavior> {
public:
    AnimationBehaviorObject(AnimationBehaviorsObject* owner, const DocumentStatePtr& document, long type);

    void Detach() { m_owner = nullptr; }
    long Type() const { return m_type; }
    TimingObject* Timing() const { return m_timing; }
    CommandEffectObject* Command() const { return m_command; }
    SetEffectObject* SetEffect() const { return m_set; }

    HRESULT STDMETHODCALLTYPE get_Type(long* result) override;
    HRESULT STDMETHODCALLTYPE put_Type(long value) override;
    HRESULT STDMETHODCALLTYPE get_Timing(PowerPoint::Timing** result) override;
    HRESULT STDMETHODCALLTYPE Delete() override;
    HRESULT STDMETHODCALLTYPE get_CommandEffect(PowerPoint::CommandEffect** result) override;
    HRESULT STDMETHODCALLTYPE get_SetEffect(PowerPoint::SetEffect** result) override;

protected:
    ~AnimationBehaviorObject() override;

private:
    AnimationBehaviorsObject* m_owner;
    DocumentStatePtr m_document;
    long m_type;
    TimingObject* m_timing;
    CommandEffectObject* m_command;
    SetEffectObject* m_set;
};

}  // namespace standin
