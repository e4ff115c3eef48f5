#include "addin/effects/SlideTimeline.h"

#include <math.h>

#include "addin/core/PptAnimationRef.h"
#include "addin/core/PptPresentationRef.h"
#include "addin/core/PptShapeRef.h"
#include "addin/effects/InteractiveTiming.h"
#include "addin/effects/StepEffect.h"
#include "addin/effects/StepList.h"
#include "addin/effects/TimeLineSequences.h"
#include "addin/effects/TimelineLayer.h"
#include "base/MKString.h"

#include <new>

using namespace PowerPoint;

namespace {

// Seconds to milliseconds, rounded half up; what does not fit in 32 bits
// becomes the lowest value (and so 0 once clamped).
int32_t ToMilliseconds(double seconds)
{
    double ms = floor(seconds * 1000.0 + 0.5);
    if (!(ms >= -2147483648.0 && ms < 2147483648.0))
        return INT32_MIN;
    return int32_t(ms);
}

int32_t NotNegative(int32_t ms)
{
    return ms < 0 ? 0 : ms;
}

bool IsShapeVisible(const PptShapeRef& shape)
{
    MKComHolder<Shape> held;
    long visible = 0;
    return shape.Query(IID_Shape, held) && SUCCEEDED(held->get_Visible(&visible)) && visible == msoTrue;
}

// The first shape of the slide that can carry the main sequence's marker:
// none of the OLE, form-control and media kinds.
bool FindMarkerShape(const PptObjectRef& slide, PptShapeRef& out)
{
    PptPresentationRef slideRef;
    slideRef.Assign(slide.Get());
    PptShapeRef shapes;
    if (!slideRef.GetShapes(shapes))
        return false;
    int32_t count = shapes.GetCount();
    for (int i = 1; i <= count; ++i) {
        if (!shapes.GetItemByVariant(i, out))
            continue;
        switch (out.GetShapeType()) {
        case msoEmbeddedOLEObject:
        case msoFormControl:
        case msoLinkedOLEObject:
        case msoOLEControlObject:
        case msoMedia:
            continue;
        default:
            return true;
        }
    }
    out.Release();
    return false;
}

}  // namespace

bool SlideTimeline::Build(const PptObjectRef& timeLine, const PptObjectRef& slide)
{
    ClearLists();
    m_timeLine.Assign(timeLine.Get());

    PptAnimationRef main;
    StepList* mainList = nullptr;
    bool built = timeLine.GetFirstObject(main) && (mainList = AppendList(0)) != nullptr &&
                 BuildList(*mainList, main, slide) &&
                 ForEachInteractiveSequence(timeLine, [&](long index, const PptAnimationRef& sequence) {
                     StepList* list = AppendList(int32_t(index));
                     return list && BuildList(*list, sequence, slide);
                 });
    if (mainList)
        DeleteMarker(*mainList);
    if (!built) {
        DeleteLists();
        return false;
    }
    return true;
}

void SlideTimeline::DeleteMarker(StepList& list)
{
    if (list.marker.IsEmpty())
        return;
    list.marker.DeleteEffect();
    list.marker.Release();
}

bool SlideTimeline::AddMarkers(StepList& list, const PptAnimationRef& sequence, const PptObjectRef& slide)
{
    PptShapeRef triggerShape;
    PptAnimationRef marker;
    if (!sequence.GetFirstTriggerShape(triggerShape) ||
        !sequence.AddEffect(triggerShape, 0, 0, msoAnimTriggerOnShapeClick, -1, marker))
        return false;
    list.marker.Assign(marker.Get());
    m_journal.NoteAdded(marker);
    StepList* mainList = m_lists[0];
    if (!mainList->marker.IsEmpty())
        return true;
    PptShapeRef shape;
    PptAnimationRef mainMarker;
    if (!FindMarkerShape(slide, shape) ||
        !mainList->sequence.AddEffect(shape, 0, 0, msoAnimTriggerOnPageClick, -1, mainMarker))
        return false;
    mainList->marker.Assign(mainMarker.Get());
    m_journal.NoteAdded(mainMarker);
    return true;
}

bool SlideTimeline::BuildList(StepList& list, const PptAnimationRef& sequence, const PptObjectRef& slide)
{
    list.sequence.Assign(sequence.Get());
    int32_t count = sequence.GetCount();
    bool built = true;
    if (list.IsMain()) {
        list.triggerValue = -1;
        built = m_journal.RaiseStartDelays(sequence, m_layer->IsOldOffice(), false);
    } else {
        int32_t value = -1;
        if (!sequence.GetFirstTriggerShapeId(&value)) {
            list.triggerValue = -1;
            return false;
        }
        list.triggerValue = value;
        if (value < 0)
            return true;
        if (m_layer->GetOfficeCode() < 1200)
            built = AddMarkers(list, sequence, slide);
    }

    int32_t start = 0;
    for (int32_t index = 0; built && start <= count; ++index) {
        Step* step = new (std::nothrow) Step(&list, index);
        int32_t next = start;
        built = step && list.AddStep(step) && BuildStep(*step, sequence, start, count, &next) && next > start;
        start = next;
    }
    DeleteMarker(list);
    if (built)
        list.RenumberClicks();
    else
        list.ReleaseReferences();
    return built;
}

bool SlideTimeline::ReadItemTiming(const StepList& list, const PptAnimationRef& animation, int32_t position,
                                   PptEffectTiming& timing)
{
    if (list.IsMain())
        return animation.ReadTiming(timing);
    return ReadInteractiveTiming(animation, position, m_layer->GetOfficeCode(), m_lists[0]->marker, list.marker,
                                 timing);
}

bool SlideTimeline::BuildStep(Step& step, const PptAnimationRef& sequence, int32_t first, int32_t count,
                              int32_t* next)
{
    StepList& list = *step.GetList();
    const int officeCode = m_layer->GetOfficeCode();
    *next = count + 1;
    double base = 0;
    double longest = 0;
    const int32_t from = first > 1 ? first : 1;
    for (int32_t p = from; p <= count; ++p) {
        PptAnimationRef animation;
        if (!sequence.GetItem(p, animation))
            return false;
        if (animation.IsContentTarget())
            continue;
        PptShapeRef shape;
        if (officeCode >= 1200 && (!animation.GetFirstObject(shape) || !IsShapeVisible(shape)))
            continue;
        PptEffectTiming timing;
        if (!ReadItemTiming(list, animation, p, timing))
            return false;
        if (timing.start < 0)
            continue;
        const int32_t type = timing.triggerType;
        const bool click = type == msoAnimTriggerOnPageClick || type == msoAnimTriggerOnShapeClick;
        if (click && p > first) {
            *next = p;
            break;
        }
        if (click || type == msoAnimTriggerAfterPrevious) {
            base += longest;
            longest = timing.end;
        } else if (type == msoAnimTriggerWithPrevious) {
            if (timing.end > longest)
                longest = timing.end;
        } else {
            return false;
        }

        StepItem* item = new (std::nothrow) StepItem;
        if (!item)
            return false;
        item->list = &list;
        item->step = &step;
        item->position = p;
        item->animation.Assign(animation.Get());
        item->start = NotNegative(ToMilliseconds(double(timing.start) + base));
        item->end = NotNegative(ToMilliseconds(double(timing.end) + base));
        item->repeatCount = timing.repeatCount;
        item->openEnded = timing.indefinite;
        item->mode = timing.indefinite ? StepItem::kOpenEnded : StepItem::kEndsByItself;
        if (shape.IsEmpty())
            animation.GetFirstObject(shape);
        StepEffect* effect = nullptr;
        if (animation.GetContentMarker(item->effectId) && (effect = m_layer->FindStepEffect(shape)) != nullptr) {
            if (!effect->ConfirmWithKernel(item->effectId)) {
                delete item;
                return false;
            }
            item->effect = effect;
        } else {
            item->plainTextBox = shape.IsEmptyShape(officeCode);
        }
        if (!step.AddItem(item))
            return false;
    }
    if (*next - 1 >= from)
        sequence.GetItem(from, step.firstEffect);
    return true;
}
