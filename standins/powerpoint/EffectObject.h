#pragma once
#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/DispatchObject.h"
#include "standins/powerpoint/DocumentState.h"

namespace standin {

class AnimationBehaviorsObject;
class EffectParametersObject;
class SequenceObject;
class ShapeObject;
class TimingObject;

// One animation effect of a sequence: its shape, effect type, timing,
// parameters and behaviours; it moves within its sequence and can delete
// itself. Once out of its sequence every member answers E_FAIL. The sequence
// pointer is not counted; the sequence detaches its effects when it drops them.
class EffectObject : public DispatchObject<PowerPoint::Effect> {
public:
    EffectObject(SequenceObject* sequence, const DocumentStatePtr& document, ShapeObject* shape, long effectType);

    // The stand-in effect behind an interface pointer, or null; not counted.
    static EffectObject* FromInterface(IUnknown* unknown);

    bool IsAlive() const override { return m_sequence != nullptr; }
    void Detach() { m_sequence = nullptr; }
    void MoveToSequence(SequenceObject* sequence) { m_sequence = sequence; }
    // The trigger type Timing.TriggerType answers for the stored one.
    long ReportedTriggerType(long stored) const;
    SequenceObject* Sequence() const { return m_sequence; }
    ShapeObject* Shape() const { return m_shape; }
    long EffectType() const { return m_effectType; }
    TimingObject* Timing() const { return m_timing; }
    AnimationBehaviorsObject* Behaviors() const { return m_behaviors; }
    EffectParametersObject* Parameters() const { return m_parameters; }

    HRESULT STDMETHODCALLTYPE get_Shape(PowerPoint::Shape** result) override;
    HRESULT STDMETHODCALLTYPE MoveTo(int position) override;
    HRESULT STDMETHODCALLTYPE MoveBefore(PowerPoint::Effect* effect) override;
    HRESULT STDMETHODCALLTYPE MoveAfter(PowerPoint::Effect* effect) override;
    HRESULT STDMETHODCALLTYPE Delete() override;
    HRESULT STDMETHODCALLTYPE get_Index(int* result) override;
    HRESULT STDMETHODCALLTYPE get_Timing(PowerPoint::Timing** result) override;
    HRESULT STDMETHODCALLTYPE get_EffectType(long* result) override;
    HRESULT STDMETHODCALLTYPE put_EffectType(long value) override;
    HRESULT STDMETHODCALLTYPE get_EffectParameters(PowerPoint::EffectParameters** result) override;
    HRESULT STDMETHODCALLTYPE get_Behaviors(PowerPoint::AnimationBehaviors** result) override;

protected:
    ~EffectObject() override;
    void* QueryExtra(REFIID iid) override;

private:
    HRESULT MoveNextTo(PowerPoint::Effect* other, int offset);

    SequenceObject* m_sequence;
    DocumentStatePtr m_document;
    ShapeObject* m_shape;
    long m_effectType;
    TimingObject* m_timing;
    EffectParametersObject* m_parameters;
    AnimationBehaviorsObject* m_behaviors;
};

}  // namespace standin
