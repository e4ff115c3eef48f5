#include "addin/effects/SlidePreparation.h"

#include "addin/core/PptAnimationRef.h"
#include "addin/effects/SessionReport.h"
#include "addin/effects/SlideShowSession.h"
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

bool TouchAnimationTimings(const PptObjectRef& timeLine)
{
    PptAnimationRef animation;
    PptAnimationRef main;
    if (timeLine.GetFirstObject(main) && main.GetCount() > 0) {
        main.GetItem(1, animation);
    } else {
        MKComHolder<TimeLine> line;
        MKComHolder<Sequences> sequences;
        Sequences* found = nullptr;
        long count = 0;
        if (timeLine.Query(IID_TimeLine, line) && PptFetched(line->get_InteractiveSequences(&found), &found, sequences) &&
            SUCCEEDED(sequences->get_Count(&count))) {
            for (long i = 1; i <= count; ++i) {
                Sequence* item = nullptr;
                PptAnimationRef sequence;
                PptAnimationRef first;
                if (PptFetched(sequences->Item(int(i), &item), &item, sequence) && sequence.GetCount() > 0 &&
                    sequence.GetItem(1, first))
                    animation.Assign(first.Get());
            }
        }
    }
    if (animation.IsEmpty())
        return true;
    MKComHolder<Effect> effect;
    MKComHolder<Timing> timing;
    Timing* held = nullptr;
    float delay = 0;
    if (!animation.Query(IID_Effect, effect) || !PptFetched(effect->get_Timing(&held), &held, timing) ||
        FAILED(timing->get_TriggerDelayTime(&delay)))
        return false;
    return SUCCEEDED(timing->put_TriggerDelayTime(delay + 0.1f)) && SUCCEEDED(timing->put_TriggerDelayTime(delay));
}
