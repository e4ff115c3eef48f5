#pragma once
#include <windows.h>
#include <unknwn.h>

#include <stdint.h>

#include <type_traits>

#include "hostapi/PowerPointInterfaces.h"
#include "base/MKComHolder.h"

class MKBstrHolder;
class MKString;

// Timing of one animation effect on the slide's clock, as PptObjectRef::ReadTiming
// works it out: trigger type, start and end in seconds, repeat count, and
// whether it runs without end.
struct PptEffectTiming {
    int32_t triggerType = 0;
    float start = -1;
    float end = -1;
    int32_t repeatCount = 0;
    bool indefinite = false;
};

// Holds one object of PowerPoint's object model (shape, effect, timing,
// sequence, behaviour, presentation, collection) with one reference, and
// wraps the members the add-in needs. Each wrapper asks the held object for
// the interface it needs, so a holder of the wrong kind of object, an empty
// holder and a failing PowerPoint member all give the wrapper's false or
// default answer: nothing raises. Getters that fill another holder release
// what it held first. PowerPoint's user-interface thread only.
class PptObjectRef {
public:
    PptObjectRef() = default;
    ~PptObjectRef() { Release(); }
    PptObjectRef(const PptObjectRef&) = delete;
    PptObjectRef& operator=(const PptObjectRef&) = delete;

    IUnknown* Get() const { return m_object; }
    bool IsEmpty() const { return m_object == nullptr; }
    // Takes a reference of its own on the object, then lets the old one go.
    void Assign(IUnknown* object);
    // Takes over the caller's reference.
    void Attach(IUnknown* object);
    void Release();

    // Timing.
    float GetDuration() const;  // -1 on failure
    // Durations from 0 to below 0.001 s are written as 0.001 s (PowerPoint's
    // shortest); negative ones are refused without asking PowerPoint.
    bool SetDuration(float seconds) const;
    float GetTriggerDelayTime() const;  // -1
    bool SetTriggerDelayTime(float seconds) const;
    int32_t GetRepeatCount() const;  // 0
    float GetRepeatDuration() const;  // -1

    // Effect.
    bool GetTiming(PptObjectRef& out) const;
    int32_t GetTriggerType() const;  // 0
    bool SetTriggerType(int32_t type) const;
    float GetEffectDelay() const;  // -1
    bool SetEffectDelay(float seconds) const;
    bool GetTriggerShape(PptObjectRef& out) const;
    bool MoveTo(int position) const;
    bool MoveBefore(const PptObjectRef& effect) const;
    bool MoveAfter(const PptObjectRef& effect) const;
    bool DeleteEffect() const;
    bool GetBehaviors(PptObjectRef& out) const;
    // The member after Application and Parent: an effect's Shape, a time
    // line's MainSequence.
    bool GetFirstObject(PptObjectRef& out) const;
    // The effect carries the product's effect marker; the id that follows it.
    bool IsContentEffect() const;
    bool GetContentMarker(MKString& id) const;
    // The effect's shape is an embedded OLE object with the content tag.
    bool IsContentTarget() const;
    // False when a member the timing needs cannot be read.
    bool ReadTiming(PptEffectTiming& out) const;
    // Every animation behaviour that sets visibility is made to set it to the
    // value given.
    bool SetVisibilityBehaviors(bool visible) const;

    // Collections: Sequence or AnimationBehaviors by 1-based index; Shapes,
    // GroupShapes, Slides or Presentations by a VT_I4 index.
    bool GetItem(int index, PptObjectRef& out) const;
    bool GetItemByVariant(int index, PptObjectRef& out) const;
    int32_t GetCount() const;  // 0

    // Sequence.
    bool AddEffect(const PptObjectRef& shape, long effectId, long level, long trigger, int index,
                   PptObjectRef& out) const;
    // Moves the start of content effects that run with or after the previous
    // one to at least 0.01 s, so that their content is ready when they start.
    // Content: by target, effects on tagged OLE objects; otherwise effects on
    // OLE objects, form controls and media, and with byMarker effects that
    // carry the marker.
    bool FixContentEffectStarts(bool byMarker, bool byTarget) const;
    // A near-invisible transparency effect on `shape` takes over the trigger
    // of `effect`, which then starts with it. The new effect goes to `out`.
    bool InsertTriggerStandIn(const PptObjectRef& shape, const PptObjectRef& effect, PptObjectRef& out) const;
    bool DeleteContentEffects() const;
    bool HasContentEffect() const;
    // The first effect's trigger shape id: -1 when it has none, -2 for an
    // empty sequence (true) or an unreadable id (false).
    bool GetFirstTriggerShapeId(int32_t* id) const;
    bool GetFirstTriggerShape(PptObjectRef& out) const;

    // AnimationBehavior.
    bool GetBehaviorTiming(PptObjectRef& out) const;

    // Presentation.
    bool FindSlideById(long slideId, PptObjectRef& out) const;

    // Slide.
    bool GetShapes(PptObjectRef& out) const;

    // Shape.
    int32_t GetShapeType() const;  // -2
    int32_t GetShapeId() const;    // -1
    // Every value read is stored; true only when all four were read.
    bool GetBounds(float& left, float& top, float& width, float& height) const;
    bool GetGroupItems(PptObjectRef& out) const;
    // Empty holder, or a shape that was deleted.
    bool IsGone() const;
    // The text is emptied first.
    bool GetOleProgId(MKString& progId) const;
    // The value of the shape's tag; false (value empty) when unreadable.
    bool ReadTag(BSTR name, MKBstrHolder& value) const;
    // The content trigger tag "_VQZ_CTT" holds a non-empty text.
    bool HasContentTag() const;
    // An invisible shape: no visible fill, line or text. Office product codes
    // below 1200 test text boxes only.
    bool IsEmptyShape(int officeProductCode) const;

private:
    // The held object's interface; false (out empty) when absent.
    template <class I>
    bool Query(const IID& iid, MKComHolder<I>& out) const;
    // What the getter of the held object's interface I answers; fallback
    // when the object is no I or the getter fails.
    template <class I, class T>
    T QueryValue(const IID& iid, HRESULT (STDMETHODCALLTYPE I::*getter)(T*), std::type_identity_t<T> fallback) const;
    // out = the object the getter of the held object's interface I answers;
    // false (out empty) when the object is no I or the getter answers none.
    template <class I, class Child>
    bool QueryChild(const IID& iid, HRESULT (STDMETHODCALLTYPE I::*getter)(Child**), PptObjectRef& out) const;
    bool ReadEffectTiming(MKComHolder<PowerPoint::Timing>& out) const;
    bool ReadTriggerType(long* type) const;
    bool ReadEffectDelay(float* seconds) const;

    IUnknown* m_object = nullptr;
};
