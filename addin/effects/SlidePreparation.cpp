#include "addin/effects/SlidePreparation.h"

#include "addin/core/PptAnimationRef.h"
#include "addin/core/PptShapeRef.h"
#include "addin/effects/SessionReport.h"
#include "addin/effects/ShowContentList.h"
#include "addin/effects/SlideLayer.h"
#include "addin/effects/SlideShowSession.h"
#include "addin/effects/TimeLineSequences.h"
#include "base/MKString.h"

using namespace PowerPoint;

bool StopForEmbeddedPresentation(SlideShowSession& session, int32_t slideNumber)
{
    if (session.IsStopped() || session.IsStopRequested())
        return false;
    session.RequestStop();
    if (SessionReport* report = session.GetReport())
        report->SetFatal(MKString::FromFormat(L"Slide %d contains an Embedded PowerPoint Presentation Object.\n"
                                              L"Vistello cannot run in a presentation which contains an embedded "
                                              L"PowerPoint Presentation.",
                                              int(slideNumber)));
    return false;
}

void WarnOfTriggerEffects(SessionReport* report, int32_t slideNumber)
{
    if (report)
        report->AddWarning(MKString::FromFormat(
            L"Slide %d contains trigger effects applied to Vistello Shapes. There are not supported.", int(slideNumber)));
}

bool ApplyCommandObjectRule(SlideLayer& layer, const PptObjectRef& timeLine, const PptShapeRef& commandObject)
{
    SlideShowSession* session = layer.GetSession();
    ShowContentList* list = session->GetContentList();
    PptAnimationRef main;
    if (session->IsOldOffice() && timeLine.GetFirstObject(main) && main.HasContentTargetEffect()) {
        MKComHolder<Shape> shape;
        if (list && commandObject.Query(IID_Shape, shape) && list->Add(&layer, shape.Get()))
            return true;
        if (list)
            list->Remove(&layer);
        return false;
    }
    if (list)
        list->Remove(&layer);
    bool triggered = false;
    ForEachInteractiveSequence(timeLine, [&](long, const PptAnimationRef& sequence) {
        triggered = sequence.HasContentTargetEffect();
        return !triggered;
    });
    if (triggered)
        WarnOfTriggerEffects(session->GetReport(), layer.GetSlideNumber());
    return true;
}

bool TouchAnimationTimings(const PptObjectRef& timeLine)
{
    PptAnimationRef animation;
    PptAnimationRef main;
    if (timeLine.GetFirstObject(main) && main.GetCount() > 0) {
        main.GetItem(1, animation);
    } else {
        // The last interactive sequence that has animations gives the first.
        ForEachInteractiveSequence(timeLine, [&](long, const PptAnimationRef& sequence) {
            PptAnimationRef first;
            if (sequence.GetCount() > 0 && sequence.GetItem(1, first))
                animation.Assign(first.Get());
            return true;
        });
    }
    if (animation.IsEmpty())
        return true;
    MKComHolder<PowerPoint::Effect> effect;
    MKComHolder<Timing> timing;
    Timing* held = nullptr;
    float delay = 0;
    if (!animation.Query(IID_Effect, effect) || !PptFetched(effect->get_Timing(&held), &held, timing) ||
        FAILED(timing->get_TriggerDelayTime(&delay)))
        return false;
    return SUCCEEDED(timing->put_TriggerDelayTime(delay + 0.1f)) && SUCCEEDED(timing->put_TriggerDelayTime(delay));
}
