#include "addin/core/PptObjectRef.h"

#include <float.h>
#include <string.h>

#include "addin/core/IntVariant.h"
#include "addin/core/ShapeEffectMarker.h"
#include "base/MKBstrHolder.h"
#include "base/MKString.h"
#include "base/MKTArray.h"

namespace {

using namespace PowerPoint;

// PowerPoint refuses durations below a millisecond.
constexpr float kShortestDuration = 0.001f;
// Content must not start before this, so that it is ready to show.
constexpr float kEarliestContentStart = 0.01f;
constexpr long kLocaleNeutral = 1024;

// The tag that marks a shape as the trigger of content. Made once, freed at
// process exit.
BSTR ContentTagName()
{
    static MKBstrHolder s_name;
    if (!s_name.Get())
        *s_name.Receive() = SysAllocString(L"_VQZ_CTT");
    return s_name.Get();
}

// The interface a PowerPoint getter wrote to *slot (one reference) into a
// holder. The slot is read only after the call: pass its address.
template <class I>
bool Fetched(HRESULT hr, I** slot, MKComHolder<I>& out)
{
    I* object = *slot;
    out.Attach(SUCCEEDED(hr) ? object : nullptr);
    if (FAILED(hr) && object)
        object->Release();
    return out.Get() != nullptr;
}

// Same for a PptObjectRef.
template <class I>
bool FetchedRef(HRESULT hr, I** slot, PptObjectRef& out)
{
    I* object = *slot;
    if (FAILED(hr)) {
        if (object)
            object->Release();
        out.Release();
        return false;
    }
    out.Attach(object);
    return object != nullptr;
}

bool IsTrue(long triState)
{
    return triState == msoTrue;
}

}  // namespace

template <class I>
bool PptObjectRef::Query(const IID& iid, MKComHolder<I>& out) const
{
    out.Release();
    if (!m_object)
        return false;
    I* found = nullptr;
    if (FAILED(m_object->QueryInterface(iid, reinterpret_cast<void**>(&found))))
        return false;
    out.Attach(found);
    return found != nullptr;
}

template <class I, class T>
T PptObjectRef::QueryValue(const IID& iid, HRESULT (STDMETHODCALLTYPE I::*getter)(T*),
                           std::type_identity_t<T> fallback) const
{
    MKComHolder<I> object;
    T value{};
    if (!Query(iid, object) || FAILED((object.Get()->*getter)(&value)))
        return fallback;
    return value;
}

template <class I, class Child>
bool PptObjectRef::QueryChild(const IID& iid, HRESULT (STDMETHODCALLTYPE I::*getter)(Child**),
                              PptObjectRef& out) const
{
    MKComHolder<I> object;
    if (!Query(iid, object)) {
        out.Release();
        return false;
    }
    Child* child = nullptr;
    return FetchedRef((object.Get()->*getter)(&child), &child, out);
}

void PptObjectRef::Assign(IUnknown* object)
{
    if (object)
        object->AddRef();
    Attach(object);
}

void PptObjectRef::Attach(IUnknown* object)
{
    IUnknown* old = m_object;
    m_object = object;
    if (old)
        old->Release();
}

void PptObjectRef::Release()
{
    Attach(nullptr);
}

// --- Timing ---

float PptObjectRef::GetDuration() const
{
    return QueryValue(IID_Timing, &Timing::get_Duration, -1);
}

bool PptObjectRef::SetDuration(float seconds) const
{
    if (!(seconds >= 0))
        return false;
    if (seconds < kShortestDuration)
        seconds = kShortestDuration;
    MKComHolder<Timing> timing;
    return Query(IID_Timing, timing) && SUCCEEDED(timing->put_Duration(seconds));
}

float PptObjectRef::GetTriggerDelayTime() const
{
    return QueryValue(IID_Timing, &Timing::get_TriggerDelayTime, -1);
}

bool PptObjectRef::SetTriggerDelayTime(float seconds) const
{
    MKComHolder<Timing> timing;
    return Query(IID_Timing, timing) && SUCCEEDED(timing->put_TriggerDelayTime(seconds));
}

int32_t PptObjectRef::GetRepeatCount() const
{
    return QueryValue(IID_Timing, &Timing::get_RepeatCount, 0);
}

float PptObjectRef::GetRepeatDuration() const
{
    return QueryValue(IID_Timing, &Timing::get_RepeatDuration, -1);
}

// --- Effect ---

bool PptObjectRef::ReadEffectTiming(MKComHolder<Timing>& out) const
{
    MKComHolder<Effect> effect;
    Timing* timing = nullptr;
    if (!Query(IID_Effect, effect)) {
        out.Release();
        return false;
    }
    return Fetched(effect->get_Timing(&timing), &timing, out);
}

bool PptObjectRef::GetTiming(PptObjectRef& out) const
{
    MKComHolder<Timing> timing;
    ReadEffectTiming(timing);
    out.Assign(timing.Get());
    return !out.IsEmpty();
}

bool PptObjectRef::ReadTriggerType(long* type) const
{
    MKComHolder<Timing> timing;
    return ReadEffectTiming(timing) && SUCCEEDED(timing->get_TriggerType(type));
}

int32_t PptObjectRef::GetTriggerType() const
{
    long type = 0;
    return ReadTriggerType(&type) ? type : 0;
}

bool PptObjectRef::SetTriggerType(int32_t type) const
{
    MKComHolder<Timing> timing;
    return ReadEffectTiming(timing) && SUCCEEDED(timing->put_TriggerType(type));
}

bool PptObjectRef::ReadEffectDelay(float* seconds) const
{
    MKComHolder<Timing> timing;
    return ReadEffectTiming(timing) && SUCCEEDED(timing->get_TriggerDelayTime(seconds));
}

float PptObjectRef::GetEffectDelay() const
{
    float seconds = 0;
    return ReadEffectDelay(&seconds) ? seconds : -1;
}

bool PptObjectRef::SetEffectDelay(float seconds) const
{
    MKComHolder<Timing> timing;
    return ReadEffectTiming(timing) && SUCCEEDED(timing->put_TriggerDelayTime(seconds));
}

bool PptObjectRef::GetTriggerShape(PptObjectRef& out) const
{
    MKComHolder<Timing> timing;
    if (!ReadEffectTiming(timing)) {
        out.Release();
        return false;
    }
    Shape* shape = nullptr;
    return FetchedRef(timing->get_TriggerShape(&shape), &shape, out);
}

bool PptObjectRef::MoveTo(int position) const
{
    MKComHolder<Effect> effect;
    return Query(IID_Effect, effect) && SUCCEEDED(effect->MoveTo(position));
}

bool PptObjectRef::MoveBefore(const PptObjectRef& other) const
{
    MKComHolder<Effect> effect;
    MKComHolder<Effect> anchor;
    return Query(IID_Effect, effect) && other.Query(IID_Effect, anchor) &&
           SUCCEEDED(effect->MoveBefore(anchor.Get()));
}

bool PptObjectRef::MoveAfter(const PptObjectRef& other) const
{
    MKComHolder<Effect> effect;
    MKComHolder<Effect> anchor;
    return Query(IID_Effect, effect) && other.Query(IID_Effect, anchor) &&
           SUCCEEDED(effect->MoveAfter(anchor.Get()));
}

bool PptObjectRef::DeleteEffect() const
{
    MKComHolder<Effect> effect;
    return Query(IID_Effect, effect) && SUCCEEDED(effect->Delete());
}

bool PptObjectRef::GetBehaviors(PptObjectRef& out) const
{
    return QueryChild(IID_Effect, &Effect::get_Behaviors, out);
}

bool PptObjectRef::GetFirstObject(PptObjectRef& out) const
{
    MKComHolder<Effect> effect;
    if (Query(IID_Effect, effect)) {
        Shape* shape = nullptr;
        return FetchedRef(effect->get_Shape(&shape), &shape, out);
    }
    MKComHolder<TimeLine> timeLine;
    if (Query(IID_TimeLine, timeLine)) {
        Sequence* sequence = nullptr;
        return FetchedRef(timeLine->get_MainSequence(&sequence), &sequence, out);
    }
    out.Release();
    return false;
}

bool PptObjectRef::IsContentEffect() const
{
    MKComHolder<Effect> effect;
    return Query(IID_Effect, effect) && ReadShapeEffectId(effect.Get(), nullptr, nullptr);
}

bool PptObjectRef::GetContentMarker(MKString& id) const
{
    MKComHolder<Effect> effect;
    if (!Query(IID_Effect, effect)) {
        id.Clear();
        return false;
    }
    return ReadShapeEffectId(effect.Get(), &id, nullptr);
}

bool PptObjectRef::IsContentTarget() const
{
    PptObjectRef shape;
    return GetFirstObject(shape) && shape.GetShapeType() == msoEmbeddedOLEObject && shape.HasContentTag();
}

bool PptObjectRef::ReadTiming(PptEffectTiming& out) const
{
    out = PptEffectTiming();
    MKComHolder<Effect> effect;
    MKComHolder<Timing> timing;
    if (!Query(IID_Effect, effect) || !ReadEffectTiming(timing))
        return false;
    long effectType = 0;
    if (FAILED(effect->get_EffectType(&effectType)))
        effectType = 0;
    long trigger = 0;
    if (FAILED(timing->get_TriggerType(&trigger)))
        return false;
    out.triggerType = trigger;
    if (trigger == msoAnimTriggerMixed || trigger == msoAnimTriggerNone)
        return true;
    float delay = 0;
    if (FAILED(timing->get_TriggerDelayTime(&delay)))
        return false;
    if (effectType == msoAnimEffectAppear) {
        out.start = out.end = delay;
        out.repeatCount = 1;
        return true;
    }
    int repeatCount = 0;
    float repeatDuration = 0;
    float duration = 0;
    if (FAILED(timing->get_RepeatCount(&repeatCount)) || FAILED(timing->get_RepeatDuration(&repeatDuration)) ||
        FAILED(timing->get_Duration(&duration)))
        return false;
    if (duration == FLT_MAX) {
        duration = 0;
        out.indefinite = true;
    }
    if (repeatDuration > 0 && repeatDuration < duration)
        duration = repeatDuration;
    if (repeatCount < 1) {
        out.indefinite = true;
        out.repeatCount = 0;
    } else {
        out.repeatCount = repeatCount;
        duration *= float(repeatCount);
    }
    out.start = delay;
    out.end = delay + duration;
    return true;
}

bool PptObjectRef::SetVisibilityBehaviors(bool visible) const
{
    PptObjectRef behaviors;
    if (!GetBehaviors(behaviors))
        return false;
    MKComHolder<AnimationBehaviors> list;
    long count = 0;
    if (!behaviors.Query(IID_AnimationBehaviors, list) || FAILED(list->get_Count(&count)) || count < 0)
        return false;
    for (long i = 1; i <= count; ++i) {
        AnimationBehavior* item = nullptr;
        MKComHolder<AnimationBehavior> behavior;
        long type = 0;
        if (!Fetched(list->Item(int(i), &item), &item, behavior) || FAILED(behavior->get_Type(&type)))
            return false;
        if (type != msoAnimTypeSet)
            continue;
        SetEffect* set = nullptr;
        MKComHolder<SetEffect> setEffect;
        long property = 0;
        if (!Fetched(behavior->get_SetEffect(&set), &set, setEffect) || FAILED(setEffect->get_Property(&property)))
            return false;
        if (property != msoAnimVisibility)
            continue;
        if (FAILED(setEffect->put_To(IntVariant(visible ? 1 : 0))))
            return false;
    }
    return true;
}

// --- Collections ---

bool PptObjectRef::GetItem(int index, PptObjectRef& out) const
{
    MKComHolder<Sequence> sequence;
    if (Query(IID_Sequence, sequence)) {
        Effect* effect = nullptr;
        return FetchedRef(sequence->Item(index, &effect), &effect, out);
    }
    MKComHolder<AnimationBehaviors> behaviors;
    if (Query(IID_AnimationBehaviors, behaviors)) {
        AnimationBehavior* behavior = nullptr;
        return FetchedRef(behaviors->Item(index, &behavior), &behavior, out);
    }
    out.Release();
    return false;
}

bool PptObjectRef::GetItemByVariant(int index, PptObjectRef& out) const
{
    const VARIANT position = IntVariant(index);
    MKComHolder<Shapes> shapes;
    MKComHolder<GroupShapes> groupItems;
    MKComHolder<Slides> slides;
    MKComHolder<Presentations> presentations;
    if (Query(IID_Shapes, shapes)) {
        Shape* shape = nullptr;
        return FetchedRef(shapes->Item(position, &shape), &shape, out);
    }
    if (Query(IID_GroupShapes, groupItems)) {
        Shape* shape = nullptr;
        return FetchedRef(groupItems->Item(position, &shape), &shape, out);
    }
    if (Query(IID_Slides, slides)) {
        Slide* slide = nullptr;
        return FetchedRef(slides->Item(position, &slide), &slide, out);
    }
    if (Query(IID_Presentations, presentations)) {
        Presentation* presentation = nullptr;
        return FetchedRef(presentations->Item(position, &presentation), &presentation, out);
    }
    out.Release();
    return false;
}

int32_t PptObjectRef::GetCount() const
{
    // Shape collections count in int; every other collection derives from
    // PowerPoint's Collection, whose Count sits in the same slot for all.
    int shapeCount = 0;
    MKComHolder<Shapes> shapes;
    if (Query(IID_Shapes, shapes))
        return SUCCEEDED(shapes->get_Count(&shapeCount)) ? shapeCount : 0;
    MKComHolder<GroupShapes> groupItems;
    if (Query(IID_GroupShapes, groupItems))
        return SUCCEEDED(groupItems->get_Count(&shapeCount)) ? shapeCount : 0;
    static const IID* const s_collections[] = {&IID_Sequence, &IID_AnimationBehaviors, &IID_Slides,
                                               &IID_Sequences, &IID_Presentations, &IID_SlideShowWindows,
                                               &IID_Tags};
    for (const IID* iid : s_collections) {
        MKComHolder<IUnknown> found;
        if (!Query(*iid, found))
            continue;
        long count = 0;
        return SUCCEEDED(static_cast<Collection*>(found.Get())->get_Count(&count)) ? count : 0;
    }
    return 0;
}

// --- Sequence ---

bool PptObjectRef::AddEffect(const PptObjectRef& shapeRef, long effectId, long level, long trigger, int index,
                             PptObjectRef& out) const
{
    MKComHolder<Sequence> sequence;
    MKComHolder<Shape> shape;
    if (!Query(IID_Sequence, sequence) || !shapeRef.Query(IID_Shape, shape)) {
        out.Release();
        return false;
    }
    Effect* effect = nullptr;
    return FetchedRef(sequence->AddEffect(shape.Get(), effectId, level, trigger, index, &effect), &effect, out);
}

bool PptObjectRef::FixContentEffectStarts(bool byMarker, bool byTarget) const
{
    int32_t count = GetCount();
    if (count <= 0)
        return true;
    float base = 0;
    float groupEnd = 0;
    for (int i = 1; i <= count; ++i) {
        PptObjectRef effect;
        PptEffectTiming timing;
        if (!GetItem(i, effect) || !effect.ReadTiming(timing))
            return false;
        bool afterPrevious = timing.triggerType == msoAnimTriggerAfterPrevious;
        if (timing.triggerType != msoAnimTriggerWithPrevious && !afterPrevious)
            return true;

        PptObjectRef shape;
        long shapeType = msoMedia;
        if (effect.GetFirstObject(shape)) {
            shapeType = shape.GetShapeType();
            if (shapeType == msoShapeTypeMixed)
                return false;
        }
        bool content;
        if (byTarget)
            content = effect.IsContentTarget();
        else if (shapeType == msoEmbeddedOLEObject || shapeType == msoFormControl ||
                 shapeType == msoLinkedOLEObject || shapeType == msoOLEControlObject || shapeType == msoMedia)
            content = true;
        else
            content = byMarker && effect.IsContentEffect();

        // The group end is already on the slide's clock: it becomes the base.
        if (afterPrevious)
            base = groupEnd;
        float start = timing.start + base;
        float end = timing.end + base;
        if (content && start < kEarliestContentStart) {
            float push = kEarliestContentStart - start;
            float delay = 0;
            if (!effect.ReadEffectDelay(&delay) || !effect.SetEffectDelay(delay + push))
                return false;
            start = kEarliestContentStart;
            end += push;
        }
        groupEnd = afterPrevious ? end : (end > groupEnd ? end : groupEnd);
    }
    return true;
}

bool PptObjectRef::InsertTriggerStandIn(const PptObjectRef& shape, const PptObjectRef& effect,
                                        PptObjectRef& out) const
{
    out.Release();
    long trigger = 0;
    if (!effect.ReadTriggerType(&trigger))
        return false;
    PptObjectRef standIn;
    if (!AddEffect(shape, msoAnimEffectTransparency, 0, trigger, -1, standIn))
        return false;

    MKComHolder<Effect> added;
    EffectParameters* parameters = nullptr;
    MKComHolder<EffectParameters> held;
    MKComHolder<Timing> timing;
    bool made = standIn.Query(IID_Effect, added) &&
                Fetched(added->get_EffectParameters(&parameters), &parameters, held) &&
                SUCCEEDED(held->put_Amount(0)) && standIn.ReadEffectTiming(timing) &&
                SUCCEEDED(timing->put_Duration(kShortestDuration));
    if (made && standIn.MoveBefore(effect) && effect.SetTriggerType(msoAnimTriggerWithPrevious)) {
        out.Assign(standIn.Get());
        return true;
    }
    standIn.DeleteEffect();
    return false;
}

bool PptObjectRef::DeleteContentEffects() const
{
    // Collected first: deleting while walking would shift the indices.
    MKTArray<IUnknown*> found;
    int32_t count = GetCount();
    for (int i = 1; i <= count; ++i) {
        PptObjectRef effect;
        if (GetItem(i, effect) && effect.IsContentTarget() && found.Add(effect.Get()))
            effect.Get()->AddRef();
    }
    for (int i = 0; i < found.GetCount(); ++i) {
        PptObjectRef effect;
        effect.Attach(found[i]);
        effect.DeleteEffect();
    }
    return true;
}

bool PptObjectRef::HasContentEffect() const
{
    int32_t count = GetCount();
    for (int i = 1; i <= count; ++i) {
        PptObjectRef effect;
        if (GetItem(i, effect) && effect.IsContentEffect())
            return true;
    }
    return false;
}

bool PptObjectRef::GetFirstTriggerShapeId(int32_t* id) const
{
    *id = -2;
    if (GetCount() <= 0)
        return true;
    PptObjectRef shape;
    if (!GetFirstTriggerShape(shape))
        return false;
    if (shape.IsEmpty()) {
        *id = -1;
        return true;
    }
    MKComHolder<Shape> held;
    int value = 0;
    if (!shape.Query(IID_Shape, held) || FAILED(held->get_Id(&value)))
        return false;
    *id = value;
    return true;
}

bool PptObjectRef::GetFirstTriggerShape(PptObjectRef& out) const
{
    out.Release();
    if (GetCount() <= 0)
        return true;
    PptObjectRef first;
    MKComHolder<Timing> timing;
    if (!GetItem(1, first) || !first.ReadEffectTiming(timing))
        return false;
    // A trigger shape that cannot be read is no trigger shape.
    Shape* shape = nullptr;
    FetchedRef(timing->get_TriggerShape(&shape), &shape, out);
    return true;
}

// --- AnimationBehavior, Presentation, Slide ---

bool PptObjectRef::GetBehaviorTiming(PptObjectRef& out) const
{
    return QueryChild(IID_AnimationBehavior, &AnimationBehavior::get_Timing, out);
}

bool PptObjectRef::FindSlideById(long slideId, PptObjectRef& out) const
{
    MKComHolder<Presentation> presentation;
    Slides* list = nullptr;
    MKComHolder<Slides> slides;
    if (!Query(IID_Presentation, presentation) || !Fetched(presentation->get_Slides(&list), &list, slides)) {
        out.Release();
        return false;
    }
    Slide* slide = nullptr;
    return FetchedRef(slides->FindBySlideID(slideId, &slide), &slide, out);
}

bool PptObjectRef::GetShapes(PptObjectRef& out) const
{
    return QueryChild(IID_Slide, &Slide::get_Shapes, out);
}

// --- Shape ---

int32_t PptObjectRef::GetShapeType() const
{
    return QueryValue(IID_Shape, &Shape::get_Type, msoShapeTypeMixed);
}

int32_t PptObjectRef::GetShapeId() const
{
    return QueryValue(IID_Shape, &Shape::get_Id, -1);
}

bool PptObjectRef::GetBounds(float& left, float& top, float& width, float& height) const
{
    MKComHolder<Shape> shape;
    if (!Query(IID_Shape, shape))
        return false;
    float value = 0;
    int read = 0;
    if (SUCCEEDED(shape->get_Left(&value)))
        left = value, ++read;
    if (SUCCEEDED(shape->get_Top(&value)))
        top = value, ++read;
    if (SUCCEEDED(shape->get_Width(&value)))
        width = value, ++read;
    if (SUCCEEDED(shape->get_Height(&value)))
        height = value, ++read;
    return read == 4;
}

bool PptObjectRef::GetGroupItems(PptObjectRef& out) const
{
    return QueryChild(IID_Shape, &Shape::get_GroupItems, out);
}

bool PptObjectRef::IsGone() const
{
    MKComHolder<Shape> shape;
    float left = 0;
    return !Query(IID_Shape, shape) || FAILED(shape->get_Left(&left));
}

bool PptObjectRef::GetOleProgId(MKString& progId) const
{
    progId.Clear();
    MKComHolder<Shape> shape;
    OLEFormat* format = nullptr;
    MKComHolder<OLEFormat> ole;
    MKBstrHolder text;
    if (!Query(IID_Shape, shape) || !Fetched(shape->get_OLEFormat(&format), &format, ole) ||
        FAILED(ole->get_ProgID(text.Receive())))
        return false;
    progId = text.ToString();
    return true;
}

bool PptObjectRef::ReadTag(BSTR name, MKBstrHolder& value) const
{
    value.Empty();
    MKComHolder<Shape> shape;
    Tags* list = nullptr;
    MKComHolder<Tags> tags;
    return Query(IID_Shape, shape) && Fetched(shape->get_Tags(&list), &list, tags) &&
           SUCCEEDED(tags->Item(name, value.Receive()));
}

bool PptObjectRef::HasContentTag() const
{
    MKBstrHolder value;
    return ReadTag(ContentTagName(), value) && !value.IsEmpty();
}

namespace {

bool IsEmptyShapeOfType(Shape* shape, long type);

// Neither a visible fill, nor a visible line, nor text; every read must work.
bool HasNothingVisible(Shape* shape)
{
    FillFormat* fillFormat = nullptr;
    MKComHolder<FillFormat> fill;
    LineFormat* lineFormat = nullptr;
    MKComHolder<LineFormat> line;
    long fillVisible = 0;
    long lineVisible = 0;
    long hasFrame = 0;
    if (!Fetched(shape->get_Fill(&fillFormat), &fillFormat, fill) || FAILED(fill->get_Visible(&fillVisible)) ||
        !Fetched(shape->get_Line(&lineFormat), &lineFormat, line) || FAILED(line->get_Visible(&lineVisible)) ||
        FAILED(shape->get_HasTextFrame(&hasFrame)))
        return false;
    if (IsTrue(fillVisible) || IsTrue(lineVisible))
        return false;
    if (!IsTrue(hasFrame))
        return true;
    TextFrame* textFrame = nullptr;
    MKComHolder<TextFrame> frame;
    long hasText = 0;
    return Fetched(shape->get_TextFrame(&textFrame), &textFrame, frame) && SUCCEEDED(frame->get_HasText(&hasText)) &&
           !IsTrue(hasText);
}

bool IsEmptyGroup(Shape* shape)
{
    GroupShapes* list = nullptr;
    MKComHolder<GroupShapes> items;
    int count = 0;
    if (!Fetched(shape->get_GroupItems(&list), &list, items) || FAILED(items->get_Count(&count)))
        return false;
    for (int i = 1; i <= count; ++i) {
        Shape* found = nullptr;
        MKComHolder<Shape> item;
        long type = 0;
        if (!Fetched(items->Item(IntVariant(i), &found), &found, item) || FAILED(item->get_Type(&type)) ||
            !IsEmptyShapeOfType(item.Get(), type))
            return false;
    }
    return true;
}

// A placeholder is as empty as the kind of shape it holds; its contained
// type is newer than the interface layout, so it is read through IDispatch.
bool IsEmptyPlaceholder(Shape* shape)
{
    PlaceholderFormat* found = nullptr;
    MKComHolder<PlaceholderFormat> format;
    if (!Fetched(shape->get_PlaceholderFormat(&found), &found, format))
        return false;
    DISPPARAMS none = {};
    VARIANT result;
    VariantInit(&result);
    HRESULT hr = format->Invoke(DISPID_PlaceholderFormat_ContainedType, IID_NULL, kLocaleNeutral,
                                DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr);
    if (FAILED(hr) || FAILED(VariantChangeType(&result, &result, 0, VT_I4))) {
        VariantClear(&result);
        return false;
    }
    long contained = result.lVal;
    if (contained == msoAutoShape)
        return HasNothingVisible(shape);
    if (contained == msoPlaceholder || contained == msoShapeTypeMixed)
        return false;
    return IsEmptyShapeOfType(shape, contained);
}

bool IsEmptyShapeOfType(Shape* shape, long type)
{
    switch (type) {
    case msoAutoShape:
    case msoCallout:
    case msoFreeform:
    case msoLine:
    case 15:  // msoTextEffect
    case msoTextBox:
        return HasNothingVisible(shape);
    case msoGroup:
        return IsEmptyGroup(shape);
    case msoPlaceholder:
        return IsEmptyPlaceholder(shape);
    default:
        return false;
    }
}

}  // namespace

bool PptObjectRef::IsEmptyShape(int officeProductCode) const
{
    MKComHolder<Shape> shape;
    long type = 0;
    if (!Query(IID_Shape, shape) || FAILED(shape->get_Type(&type)))
        return false;
    // Before Office 2007 only text boxes are left empty on purpose.
    if (officeProductCode < 1200 && type != msoTextBox)
        return false;
    return IsEmptyShapeOfType(shape.Get(), type);
}
