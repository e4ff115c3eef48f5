#pragma once
#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/DispatchObject.h"
#include "standins/powerpoint/DocumentState.h"

namespace standin {

class EffectObject;
class ShapeObject;

// The timing values of an effect or behaviour, set freely by test code.
// A duration of FLT_MAX means none, as in PowerPoint.
struct TimingValues {
    float duration = 0.5f;
    long triggerType = PowerPoint::msoAnimTriggerOnPageClick;
    float delay = 0.0f;
    int repeatCount = 1;
    float repeatDuration = 0.0f;
    float speed = 0.5f;
};

// Effect.Timing and AnimationBehavior.Timing.
class TimingObject : public DispatchObject<PowerPoint::Timing> {
public:
    explicit TimingObject(const DocumentStatePtr& document);

    TimingValues& Values() { return m_values; }
    // The effect whose timing this is (not counted; it clears itself when it
    // goes); it decides the trigger type that is answered.
    void SetOwner(const EffectObject* owner) { m_owner = owner; }
    ShapeObject* TriggerShape() const { return m_triggerShape; }
    void SetTriggerShape(ShapeObject* shape);

    HRESULT STDMETHODCALLTYPE get_Duration(float* result) override;
    HRESULT STDMETHODCALLTYPE put_Duration(float value) override;
    HRESULT STDMETHODCALLTYPE get_TriggerType(long* result) override;
    HRESULT STDMETHODCALLTYPE put_TriggerType(long value) override;
    HRESULT STDMETHODCALLTYPE get_TriggerDelayTime(float* result) override;
    HRESULT STDMETHODCALLTYPE put_TriggerDelayTime(float value) override;
    HRESULT STDMETHODCALLTYPE get_TriggerShape(PowerPoint::Shape** result) override;
    HRESULT STDMETHODCALLTYPE put_TriggerShape(PowerPoint::Shape* value) override;
    HRESULT STDMETHODCALLTYPE get_RepeatCount(int* result) override;
    HRESULT STDMETHODCALLTYPE put_RepeatCount(int value) override;
    HRESULT STDMETHODCALLTYPE get_RepeatDuration(float* result) override;
    HRESULT STDMETHODCALLTYPE put_RepeatDuration(float value) override;
    HRESULT STDMETHODCALLTYPE get_Speed(float* result) override;
    HRESULT STDMETHODCALLTYPE put_Speed(float value) override;

protected:
    ~TimingObject() override;

private:
    DocumentStatePtr m_document;
    TimingValues m_values;
    ShapeObject* m_triggerShape = nullptr;
    const EffectObject* m_owner = nullptr;
};

}  // namespace standin
