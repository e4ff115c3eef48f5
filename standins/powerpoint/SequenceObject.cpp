#include "standins/powerpoint/SequenceObject.h"

#include "standins/powerpoint/AnimationBehaviorsObject.h"
#include "standins/powerpoint/ComValues.h"
#include "standins/powerpoint/EffectObject.h"
#include "standins/powerpoint/ItemList.h"
#include "standins/powerpoint/ShapeObject.h"
#include "standins/powerpoint/TimingObject.h"

namespace standin {

SequenceObject::SequenceObject(const DocumentStatePtr& document, bool interactive)
    : DispatchObject(L"Sequence", {PowerPoint::IID_Sequence, PowerPoint::IID_Collection}),
      m_document(document),
      m_interactive(interactive)
{
}

SequenceObject::~SequenceObject()
{
    Clear();
}

EffectObject* SequenceObject::AddEffect(ShapeObject* shape, long effectId, long trigger, int index)
{
    auto* effect = new EffectObject(this, m_document, shape, effectId);
    effect->Timing()->Values().triggerType = trigger;
    if (effectId == PowerPoint::msoAnimEffectAppear) {
        effect->Timing()->Values().duration = 0.001f;
        VARIANT visible;
        VariantInit(&visible);
        visible.vt = VT_I4;
        visible.lVal = 1;
        effect->Behaviors()->AddSet(PowerPoint::msoAnimVisibility, visible);
    }
    if (index < 1 || index > static_cast<int>(m_items.size()))
        m_items.push_back(effect);
    else
        m_items.insert(m_items.begin() + (index - 1), effect);
    return effect;
}

void SequenceObject::Remove(EffectObject* effect)
{
    RemoveItem(m_items, effect, [](EffectObject* item) { item->Detach(); });
}

bool SequenceObject::Move(EffectObject* effect, int position)
{
    int index = IndexOf(effect);
    if (index < 0 || position < 1 || position > static_cast<int>(m_items.size()))
        return false;
    m_items.erase(m_items.begin() + index);
    m_items.insert(m_items.begin() + (position - 1), effect);
    return true;
}

void SequenceObject::MoveIn(EffectObject* effect, int position)
{
    SequenceObject* from = effect->Sequence();
    from->m_items.erase(from->m_items.begin() + from->IndexOf(effect));
    effect->MoveToSequence(this);
    if (position < 1 || position > static_cast<int>(m_items.size()))
        m_items.push_back(effect);
    else
        m_items.insert(m_items.begin() + (position - 1), effect);
}

void SequenceObject::Clear()
{
    ClearItems(m_items, [](EffectObject* item) { item->Detach(); });
}

int SequenceObject::IndexOf(const EffectObject* effect) const
{
    return IndexOfItem(m_items, effect);
}

HRESULT SequenceObject::get_Count(long* result)
{
    return GetValue(L"get_Count", static_cast<long>(m_items.size()), result);
}

HRESULT SequenceObject::Item(int index, PowerPoint::Effect** result)
{
    STANDIN_ENTER_OUT(L"Item", result);
    *result = nullptr;
    return ReturnItem(ItemAt(m_items, index), result);
}

HRESULT SequenceObject::AddEffect(PowerPoint::Shape* shape, long effectId, long, long trigger, int index,
                                  PowerPoint::Effect** result)
{
    STANDIN_ENTER_OUT(L"AddEffect", result);
    *result = nullptr;
    ShapeObject* target = ShapeObject::FromInterface(shape);
    if (!target || !target->IsAlive())
        return E_INVALIDARG;
    if (trigger < PowerPoint::msoAnimTriggerNone || trigger > PowerPoint::msoAnimTriggerOnShapeClick)
        return E_INVALIDARG;
    EffectObject* effect = AddEffect(target, effectId, trigger, index);
    m_document->Touch();
    return ReturnObject(effect, result);
}

}  // namespace standin
