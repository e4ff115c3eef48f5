#include "standins/powerpoint/EffectObject.h"

#include "standins/powerpoint/AnimationBehaviorsObject.h"
#include "standins/powerpoint/ComValues.h"
#include "standins/powerpoint/EffectParametersObject.h"
#include "standins/powerpoint/SequenceObject.h"
#include "standins/powerpoint/ShapeObject.h"
#include "standins/powerpoint/TimingObject.h"

namespace standin {

namespace {

const IID kEffectObjectIid = {0x6A1F3E21, 0x4C55, 0x4E0B, {0x9A, 0x61, 0x2F, 0x0D, 0x43, 0x77, 0x19, 0x02}};

}  // namespace

EffectObject::EffectObject(SequenceObject* sequence, const DocumentStatePtr& document, ShapeObject* shape,
                           long effectType)
    : DispatchObject(L"Effect", {PowerPoint::IID_Effect}),
      m_sequence(sequence),
      m_document(document),
      m_shape(shape),
      m_effectType(effectType),
      m_timing(new TimingObject(document)),
      m_parameters(new EffectParametersObject(document)),
      m_behaviors(new AnimationBehaviorsObject(document))
{
    m_timing->SetOwner(this);
    if (m_shape)
        m_shape->AddRef();
}

EffectObject::~EffectObject()
{
    m_timing->SetOwner(nullptr);
    m_behaviors->Release();
    m_parameters->Release();
    m_timing->Release();
    if (m_shape)
        m_shape->Release();
}

EffectObject* EffectObject::FromInterface(IUnknown* unknown)
{
    EffectObject* effect = nullptr;
    if (!unknown || FAILED(unknown->QueryInterface(kEffectObjectIid, reinterpret_cast<void**>(&effect))))
        return nullptr;
    effect->Release();
    return effect;
}

void* EffectObject::QueryExtra(REFIID iid)
{
    return iid == kEffectObjectIid ? this : nullptr;
}

HRESULT EffectObject::get_Shape(PowerPoint::Shape** result)
{
    if (!result)
        return E_POINTER;
    *result = nullptr;
    STANDIN_ALIVE(L"get_Shape");
    return ReturnObject(m_shape, result);
}

HRESULT EffectObject::MoveTo(int position)
{
    STANDIN_ALIVE(L"MoveTo");
    if (!m_sequence->Move(this, position))
        return E_INVALIDARG;
    m_document->Touch();
    return S_OK;
}

long EffectObject::ReportedTriggerType(long stored) const
{
    if (m_document->triggerTypesByPosition && m_sequence && m_sequence->IsInteractive())
        return PowerPoint::msoAnimTriggerOnShapeClick;
    return stored;
}

HRESULT EffectObject::MoveNextTo(PowerPoint::Effect* other, int offset)
{
    EffectObject* target = EffectObject::FromInterface(other);
    if (!target || !target->m_sequence || target->m_document != m_document)
        return E_INVALIDARG;
    if (target == this)
        return S_OK;
    // Next to an effect of another sequence of the presentation: the effect
    // moves over into that sequence.
    if (target->m_sequence != m_sequence) {
        SequenceObject* into = target->m_sequence;
        into->MoveIn(this, into->IndexOf(target) + offset + 1);
        m_document->Touch();
        return S_OK;
    }
    int from = m_sequence->IndexOf(this);
    int to = m_sequence->IndexOf(target) + offset;
    if (from < to)
        --to;
    m_sequence->Move(this, to + 1);
    m_document->Touch();
    return S_OK;
}

HRESULT EffectObject::MoveBefore(PowerPoint::Effect* effect)
{
    STANDIN_ALIVE(L"MoveBefore");
    return MoveNextTo(effect, 0);
}

HRESULT EffectObject::MoveAfter(PowerPoint::Effect* effect)
{
    STANDIN_ALIVE(L"MoveAfter");
    return MoveNextTo(effect, 1);
}

HRESULT EffectObject::Delete()
{
    STANDIN_ALIVE(L"Delete");
    m_sequence->Remove(this);
    m_document->Touch();
    return S_OK;
}

HRESULT EffectObject::get_Index(int* result)
{
    STANDIN_ALIVE_OUT(L"get_Index", result);
    *result = m_sequence->IndexOf(this) + 1;
    return S_OK;
}

HRESULT EffectObject::get_Timing(PowerPoint::Timing** result)
{
    STANDIN_ALIVE_OUT(L"get_Timing", result);
    return ReturnObject(m_timing, result);
}

HRESULT EffectObject::get_EffectType(long* result)
{
    return GetAliveValue(L"get_EffectType", m_effectType, result);
}

HRESULT EffectObject::put_EffectType(long value)
{
    STANDIN_ALIVE(L"put_EffectType");
    m_effectType = value;
    m_document->Touch();
    return S_OK;
}

HRESULT EffectObject::get_EffectParameters(PowerPoint::EffectParameters** result)
{
    STANDIN_ALIVE_OUT(L"get_EffectParameters", result);
    return ReturnObject(m_parameters, result);
}

HRESULT EffectObject::get_Behaviors(PowerPoint::AnimationBehaviors** result)
{
    STANDIN_ALIVE_OUT(L"get_Behaviors", result);
    return ReturnObject(m_behaviors, result);
}

}  // namespace standin
