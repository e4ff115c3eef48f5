#pragma once
#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/DispatchObject.h"
#include "standins/powerpoint/DocumentState.h"

#include <vector>

namespace standin {

class EffectObject;
class ShapeObject;

// The main sequence or one interactive sequence of a slide's time line: its
// effects in order, one reference each.
class SequenceObject : public DispatchObject<PowerPoint::Sequence> {
public:
    SequenceObject(const DocumentStatePtr& document, bool interactive = false);

    bool IsInteractive() const { return m_interactive; }
    // A new effect on the shape at the 1-based position (-1: at the end), with
    // the trigger type; an Appear effect (1) gets a set behaviour making the
    // shape visible.
    EffectObject* AddEffect(ShapeObject* shape, long effectId, long trigger, int index = -1);
    void Remove(EffectObject* effect);
    // Moves the effect to the 1-based position; false when either is unknown.
    bool Move(EffectObject* effect, int position);
    // Takes the effect out of its sequence (with the reference that sequence
    // held) and puts it at the 1-based position of this one.
    void MoveIn(EffectObject* effect, int position);
    // Detaches and drops every effect.
    void Clear();
    int IndexOf(const EffectObject* effect) const;
    const std::vector<EffectObject*>& Items() const { return m_items; }

    HRESULT STDMETHODCALLTYPE get_Count(long* result) override;
    HRESULT STDMETHODCALLTYPE Item(int index, PowerPoint::Effect** result) override;
    HRESULT STDMETHODCALLTYPE AddEffect(PowerPoint::Shape* shape, long effectId, long level, long trigger, int index,
                                        PowerPoint::Effect** result) override;

protected:
    ~SequenceObject() override;

private:
    DocumentStatePtr m_document;
    bool m_interactive;
    std::vector<EffectObject*> m_items;
};

}  // namespace standin
