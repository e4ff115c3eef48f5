#include "standins/powerpoint/TimingObject.h"

#include "standins/powerpoint/EffectObject.h"
#include "standins/powerpoint/ShapeObject.h"

namespace standin {

TimingObject::TimingObject(const DocumentStatePtr& document)
    : DispatchObject(L"Timing", {PowerPoint::IID_Timing}), m_document(document)
{
}

TimingObject::~TimingObject()
{
    SetTriggerShape(nullptr);
}

void TimingObject::SetTriggerShape(ShapeObject* shape)
{
    if (shape)
        shape->AddRef();
    if (m_triggerShape)
        m_triggerShape->Release();
    m_triggerShape = shape;
}

HRESULT TimingObject::get_Duration(float* result)
{
    return GetValue(L"get_Duration", m_values.duration, result);
}

HRESULT TimingObject::put_Duration(float value)
{
    // PowerPoint refuses durations below 0.001 s.
    return PutValue(L"put_Duration", m_values.duration, value, m_document.get(), value >= 0.001f);
}

HRESULT TimingObject::get_TriggerType(long* result)
{
    long type = m_owner ? m_owner->ReportedTriggerType(m_values.triggerType) : m_values.triggerType;
    return GetValue(L"get_TriggerType", type, result);
}

HRESULT TimingObject::put_TriggerType(long value)
{
    const bool known = value >= PowerPoint::msoAnimTriggerNone && value <= PowerPoint::msoAnimTriggerOnShapeClick;
    return PutValue(L"put_TriggerType", m_values.triggerType, value, m_document.get(), known);
}

HRESULT TimingObject::get_TriggerDelayTime(float* result)
{
    return GetValue(L"get_TriggerDelayTime", m_values.delay, result);
}

HRESULT TimingObject::put_TriggerDelayTime(float value)
{
    return PutValue(L"put_TriggerDelayTime", m_values.delay, value, m_document.get());
}

HRESULT TimingObject::get_TriggerShape(PowerPoint::Shape** result)
{
    STANDIN_ENTER_OUT(L"get_TriggerShape", result);
    *result = m_triggerShape;
    if (m_triggerShape)
        m_triggerShape->AddRef();
    return S_OK;
}

HRESULT TimingObject::put_TriggerShape(PowerPoint::Shape* value)
{
    STANDIN_ENTER(L"put_TriggerShape");
    ShapeObject* shape = ShapeObject::FromInterface(value);
    if (value && !shape)
        return E_INVALIDARG;
    SetTriggerShape(shape);
    m_document->Touch();
    return S_OK;
}

HRESULT TimingObject::get_RepeatCount(int* result)
{
    return GetValue(L"get_RepeatCount", m_values.repeatCount, result);
}

HRESULT TimingObject::put_RepeatCount(int value)
{
    return PutValue(L"put_RepeatCount", m_values.repeatCount, value, m_document.get());
}

HRESULT TimingObject::get_RepeatDuration(float* result)
{
    return GetValue(L"get_RepeatDuration", m_values.repeatDuration, result);
}

HRESULT TimingObject::put_RepeatDuration(float value)
{
    return PutValue(L"put_RepeatDuration", m_values.repeatDuration, value, m_document.get());
}

HRESULT TimingObject::get_Speed(float* result)
{
    return GetValue(L"get_Speed", m_values.speed, result);
}

HRESULT TimingObject::put_Speed(float value)
{
    return PutValue(L"put_Speed", m_values.speed, value, m_document.get());
}

}  // namespace standin
