#pragma once
#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/DispatchObject.h"
#include "standins/powerpoint/DocumentState.h"

#include <string>
#include <vector>

namespace standin {

class AnimationBehaviorObject;

// Effect.Behaviors: the effect's behaviours in order, one reference each.
class AnimationBehaviorsObject : public DispatchObject<PowerPoint::AnimationBehaviors> {
public:
    explicit AnimationBehaviorsObject(const DocumentStatePtr& document);

    // A new behaviour of the type at the 1-based position (-1: at the end).
    AnimationBehaviorObject* AddBehavior(long type, int index = -1);
    // A command behaviour with the command type and text, at the end.
    AnimationBehaviorObject* AddCommand(long commandType, const std::wstring& command);
    // A set behaviour of the property to the value, at the end.
    AnimationBehaviorObject* AddSet(long property, const VARIANT& to);
    void Remove(AnimationBehaviorObject* behavior);
    const std::vector<AnimationBehaviorObject*>& Items() const { return m_items; }

    HRESULT STDMETHODCALLTYPE get_Count(long* result) override;
    HRESULT STDMETHODCALLTYPE Item(int index, PowerPoint::AnimationBehavior** result) override;
    HRESULT STDMETHODCALLTYPE Add(long type, int index, PowerPoint::AnimationBehavior** result) override;

protected:
    ~AnimationBehaviorsObject() override;

private:
    DocumentStatePtr m_document;
    std::vector<AnimationBehaviorObject*> m_items;
};

}  // namespace standin
