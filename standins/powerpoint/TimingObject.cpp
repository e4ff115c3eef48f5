#include "standins/powerpoint/TimingObject.h"

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

template <class T>
HRESULT TimingObject::Get(const wchar_t* member, T value, T* result) const
{
    STANDIN_ENTER_OUT(member, result);
    *result = value;
    return S_OK;
}

template <class T>
HRESULT TimingObject::Put(const wchar_t* member, T& field, T value)
{
    STANDIN_ENTER(member);
    field = value;
    m_document->Touch();
    return S_OK;
}

HRESULT TimingObject::get_Duration(float* result)
{
    return Get(L"get_Duration", m_values.duration, result);
}

HRESULT TimingObject::put_Duration(float value)
{
    STANDIN_ENTER(L"put_Duration");
    // PowerPoint refuses durations below 0.001 s.
    if (value < 0.001f)
        return E_INVALIDARG;
    m_values.duration = value;
    m_document->Touch();
    return S_OK;
}

HRESULT TimingObject::get_TriggerType(long* result)
{
    return Get(L"get_TriggerType", m_values.triggerType, result);
}

HRESULT TimingObject::put_TriggerType(long value)
{
    STANDIN_ENTER(L"put_TriggerType");
    if (value < PowerPoint::msoAnimTriggerNone || value > PowerPoint::msoAnimTriggerOnShapeClick)
        return E_INVALIDARG;
    m_values.triggerType = value;
    m_document->Touch();
    return S_OK;
}

HRESULT TimingObject::get_TriggerDelayTime(float* result)
{
    return Get(L"get_TriggerDelayTime", m_values.delay, result);
}

HRESULT TimingObject::put_TriggerDelayTime(float value)
{
    return Put(L"put_TriggerDelayTime", m_values.delay, value);
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
    return Get(L"get_RepeatCount", m_values.repeatCount, result);
}

HRESULT TimingObject::put_RepeatCount(int value)
{
    return Put(L"put_RepeatCount", m_values.repeatCount, value);
}

HRESULT TimingObject::get_RepeatDuration(float* result)
{
    return Get(L"get_RepeatDuration", m_values.repeatDuration, result);
}

HRESULT TimingObject::put_RepeatDuration(float value)
{
    return Put(L"put_RepeatDuration", m_values.repeatDuration, value);
}

HRESULT TimingObject::get_Speed(float* result)
{
    return Get(L"get_Speed", m_values.speed, result);
}

HRESULT TimingObject::put_Speed(float value)
{
    return Put(L"put_Speed", m_values.speed, value);
}

}  // namespace standin
