#include "standins/powerpoint/AnimationBehaviorObject.h"

#include "standins/powerpoint/AnimationBehaviorsObject.h"
#include "standins/powerpoint/ComValues.h"
#include "standins/powerpoint/CommandEffectObject.h"
#include "standins/powerpoint/SetEffectObject.h"
#include "standins/powerpoint/TimingObject.h"

namespace standin {

AnimationBehaviorObject::AnimationBehaviorObject(AnimationBehaviorsObject* owner, const DocumentStatePtr& document,
                                                 long type)
    : DispatchObject(L"AnimationBehavior", {PowerPoint::IID_AnimationBehavior}),
      m_owner(owner),
      m_document(document),
      m_type(type),
      m_timing(new TimingObject(document)),
      m_command(new CommandEffectObject(document)),
      m_set(new SetEffectObject(document))
{
}

AnimationBehaviorObject::~AnimationBehaviorObject()
{
    m_set->Release();
    m_command->Release();
    m_timing->Release();
}

HRESULT AnimationBehaviorObject::get_Type(long* result)
{
    return GetValue(L"get_Type", m_type, result);
}

HRESULT AnimationBehaviorObject::put_Type(long value)
{
    return PutValue(L"put_Type", m_type, value, m_document.get());
}

HRESULT AnimationBehaviorObject::get_Timing(PowerPoint::Timing** result)
{
    STANDIN_ENTER_OUT(L"get_Timing", result);
    return ReturnObject(m_timing, result);
}

HRESULT AnimationBehaviorObject::Delete()
{
    STANDIN_ENTER(L"Delete");
    if (!m_owner)
        return E_FAIL;
    m_owner->Remove(this);
    m_document->Touch();
    return S_OK;
}

HRESULT AnimationBehaviorObject::get_CommandEffect(PowerPoint::CommandEffect** result)
{
    STANDIN_ENTER_OUT(L"get_CommandEffect", result);
    return ReturnObject(m_command, result);
}

HRESULT AnimationBehaviorObject::get_SetEffect(PowerPoint::SetEffect** result)
{
    STANDIN_ENTER_OUT(L"get_SetEffect", result);
    return ReturnObject(m_set, result);
}

}  // namespace standin
