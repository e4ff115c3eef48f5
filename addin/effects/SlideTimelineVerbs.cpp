#include "addin/effects/SlideTimeline.h"

#include "addin/core/PptAnimationRef.h"
#include "addin/core/PptShapeRef.h"
#include "addin/effects/StepList.h"
#include "addin/effects/TimelineLayer.h"
#include "addin/effects/VerbCommand.h"

using namespace PowerPoint;

namespace {

// A verb command on a new effect of the command object in the step's
// sequence; the verb number, below 0 on failure.
int32_t AddVerb(const PptAnimationRef& sequence, const PptShapeRef& commandObject, long trigger,
                PptAnimationRef& added)
{
    MKComHolder<Effect> effect;
    if (!sequence.AddEffect(commandObject, 0, 0, trigger, -1, added) || !added.Query(IID_Effect, effect))
        return -1;
    return AddVerbEffect(effect.Get());
}

int LastNumberedStep(const StepList& list)
{
    for (int s = list.GetStepCount() - 1; s >= 0; --s) {
        if (list.GetStep(s)->clickIndex >= 0)
            return s;
    }
    return -1;
}

}  // namespace

bool SlideTimeline::AddVerbsToList(StepList& list, const PptShapeRef& commandObject, MKTArray<IUnknown*>& added)
{
    const int last = LastNumberedStep(list);
    for (int s = 0; s < list.GetStepCount(); ++s) {
        Step* step = list.GetStep(s);
        if (step->clickIndex < 0 || step->inserted || step->GetItemCount() == 0)
            continue;
        PptAnimationRef start;
        step->startVerb = AddVerb(list.sequence, commandObject, msoAnimTriggerWithPrevious, start);
        if (!start.IsEmpty() && added.Add(start.Get())) {
            start.Get()->AddRef();
            m_journal.NoteAdded(start);
        }
        if (step->startVerb < 0 || !start.MoveAfter(step->firstEffect))
            return false;
        if (s != last)
            continue;
        PptAnimationRef end;
        step->endVerb = AddVerb(list.sequence, commandObject, msoAnimTriggerAfterPrevious, end);
        if (!end.IsEmpty() && added.Add(end.Get())) {
            end.Get()->AddRef();
            m_journal.NoteAdded(end);
        }
        if (step->endVerb < 0 || !end.SetEffectDelay(1.0f))
            return false;
    }
    return true;
}

bool SlideTimeline::AddTriggerVerbs(const PptShapeRef& commandObject)
{
    PptShapeRef listed;
    if (commandObject.IsEmpty() || !m_layer->GetListedCommandObject(listed))
        return true;
    MKTArray<IUnknown*> added;
    bool done = true;
    bool mainVerbs = false;
    for (int l = 0; done && l < m_lists.GetCount(); ++l) {
        StepList& list = *m_lists[l];
        if (list.IsMain() && !m_layer->IsOldOffice())
            continue;
        int before = added.GetCount();
        done = AddVerbsToList(list, commandObject, added);
        mainVerbs = mainVerbs || (list.IsMain() && added.GetCount() > before);
    }
    if (done && mainVerbs)
        done = m_journal.RaiseStartDelays(m_lists[0]->sequence, m_layer->IsOldOffice(), true);
    for (int i = 0; i < added.GetCount(); ++i) {
        PptAnimationRef effect;
        effect.Attach(added[i]);
        if (!done)
            effect.DeleteEffect();
    }
    if (!done)
        m_layer->LeaveContentList();
    return done;
}
