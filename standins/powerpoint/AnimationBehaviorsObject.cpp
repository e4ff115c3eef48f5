#include "standins/powerpoint/AnimationBehaviorsObject.h"

#include "standins/powerpoint/AnimationBehaviorObject.h"
#include "standins/powerpoint/ComValues.h"
#include "standins/powerpoint/CommandEffectObject.h"
#include "standins/powerpoint/ItemList.h"
#include "standins/powerpoint/SetEffectObject.h"

namespace standin {

AnimationBehaviorsObject::AnimationBehaviorsObject(const DocumentStatePtr& document)
    : DispatchObject(L"AnimationBehaviors", {PowerPoint::IID_AnimationBehaviors, PowerPoint::IID_Collection}),
      m_document(document)
{
}

AnimationBehaviorsObject::~AnimationBehaviorsObject()
{
    for (AnimationBehaviorObject* behavior : m_items) {
        behavior->Detach();
        behavior->Release();
    }
}

AnimationBehaviorObject* AnimationBehaviorsObject::AddBehavior(long type, int index)
{
    auto* behavior = new AnimationBehaviorObject(this, m_document, type);
    if (index < 1 || index > static_cast<int>(m_items.size()))
        m_items.push_back(behavior);
    else
        m_items.insert(m_items.begin() + (index - 1), behavior);
    return behavior;
}

AnimationBehaviorObject* AnimationBehaviorsObject::AddCommand(long commandType, const std::wstring& command)
{
    AnimationBehaviorObject* behavior = AddBehavior(PowerPoint::msoAnimTypeCommand);
    behavior->Command()->Set(commandType, command);
    return behavior;
}

AnimationBehaviorObject* AnimationBehaviorsObject::AddSet(long property, const VARIANT& to)
{
    AnimationBehaviorObject* behavior = AddBehavior(PowerPoint::msoAnimTypeSet);
    behavior->SetEffect()->Set(property, to);
    return behavior;
}

void AnimationBehaviorsObject::Remove(AnimationBehaviorObject* behavior)
{
    RemoveItem(m_items, behavior, [](AnimationBehaviorObject* item) { item->Detach(); });
}

HRESULT AnimationBehaviorsObject::get_Count(long* result)
{
    return GetValue(L"get_Count", static_cast<long>(m_items.size()), result);
}

HRESULT AnimationBehaviorsObject::Item(int index, PowerPoint::AnimationBehavior** result)
{
    STANDIN_ENTER_OUT(L"Item", result);
    *result = nullptr;
    return ReturnItem(ItemAt(m_items, index), result);
}

HRESULT AnimationBehaviorsObject::Add(long type, int index, PowerPoint::AnimationBehavior** result)
{
    STANDIN_ENTER_OUT(L"Add", result);
    AnimationBehaviorObject* behavior = AddBehavior(type, index);
    m_document->Touch();
    return ReturnObject(behavior, result);
}

}  // namespace standin
