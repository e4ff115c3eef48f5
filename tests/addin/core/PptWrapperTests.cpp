// The PowerPoint object-model wrappers over the stand-in's presentations:
// timings read and changed for real, content effects, trigger stand-ins,
// empty shapes, and the default answers when PowerPoint fails.
#include "AddInTestSupport.h"
#include "fixtures/ComScope.h"

#include "addin/core/PptAnimationRef.h"
#include "addin/core/PptPresentationRef.h"
#include "addin/core/PptShapeRef.h"
#include "addin/core/PptTimingRef.h"
#include "base/MKString.h"
#include "standins/powerpoint/AnimationBehaviorObject.h"
#include "standins/powerpoint/AnimationBehaviorsObject.h"
#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/CallLog.h"
#include "standins/powerpoint/EffectObject.h"
#include "standins/powerpoint/EffectParametersObject.h"
#include "standins/powerpoint/PowerPointHost.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/SequenceObject.h"
#include "standins/powerpoint/SetEffectObject.h"
#include "standins/powerpoint/ShapeObject.h"
#include "standins/powerpoint/SlideObject.h"
#include "standins/powerpoint/TagsObject.h"
#include "standins/powerpoint/TimeLineObject.h"
#include "standins/powerpoint/TimingObject.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <functional>
#include <vector>

using standin::CallLog;
using standin::EffectObject;
using standin::ShapeObject;

namespace {

class PptWrapperTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        presentation = host.App().AddPresentation(L"Wrappers.pptx");
        slide = presentation->AddSlide();
        box = slide->AddShape(PowerPoint::msoAutoShape, L"Box", 10, 20, 300, 200);
        ole = slide->AddShape(PowerPoint::msoEmbeddedOLEObject, L"Movie", 5, 5, 50, 40);
        ole->SetOle(L"ShockwaveFlash.ShockwaveFlash.10", nullptr);
        ole->Tags()->Set(L"_VQZ_CTT", L"flash");
        main = slide->TimeLine()->Main();
        sequence.Assign(static_cast<PowerPoint::Sequence*>(main));
    }
    void TearDown() override { CallLog::Get().ClearFailures(); }

    static void Hold(PptObjectRef& ref, IUnknown* object) { ref.Assign(object); }
    // A member of the wrapper Ref, asked of a holder of that type over an
    // object (null: an empty holder).
    template <class Ref, class Member>
    static std::function<double(IUnknown*)> Ask(Member member)
    {
        return [member](IUnknown* object) {
            Ref ref;
            ref.Assign(object);
            return double(member(ref));
        };
    }

    // A custom effect carrying the product marker and its data behaviour.
    EffectObject* AddMarkedEffect(ShapeObject* shape, long trigger, const std::wstring& marker)
    {
        EffectObject* effect = main->AddEffect(shape, PowerPoint::msoAnimEffectCustom, trigger);
        effect->Behaviors()->AddCommand(PowerPoint::msoAnimCommandTypeVerb, marker);
        effect->Behaviors()->AddCommand(PowerPoint::msoAnimCommandTypeVerb, L"VistelloEffectData:aa");
        return effect;
    }

    ComScope com;
    standin::PowerPointHost host{L"14.0"};
    standin::PresentationObject* presentation = nullptr;
    standin::SlideObject* slide = nullptr;
    ShapeObject* box = nullptr;
    ShapeObject* ole = nullptr;
    standin::SequenceObject* main = nullptr;
    PptAnimationRef sequence;
};

TEST_F(PptWrapperTest, DefaultAnswersWhenTheHolderIsEmptyOfAnotherKindOrPowerPointFails)
{
    EffectObject* effect = main->AddEffect(ole, PowerPoint::msoAnimEffectCustom, PowerPoint::msoAnimTriggerWithPrevious);
    effect->Timing()->Values() = {2.0f, PowerPoint::msoAnimTriggerWithPrevious, 0.5f, 3, 1.0f, 0.5f};
    ole->Tags()->Set(L"_VQZ_CTT", L"flash");
    IUnknown* effectObject = static_cast<PowerPoint::Effect*>(effect);
    IUnknown* timingObject = static_cast<PowerPoint::Timing*>(effect->Timing());
    IUnknown* shapeObject = static_cast<PowerPoint::Shape*>(ole);
    using Timing = const PptTimingRef&;
    using Animation = const PptAnimationRef&;
    using Shape = const PptShapeRef&;

    struct Row {
        const wchar_t* failing;
        IUnknown* holder;
        std::function<double(IUnknown*)> answer;
        double working;
        double fallback;
    };
    const Row rows[] = {
        {L"Timing.get_Duration", timingObject, Ask<PptTimingRef>([](Timing r) { return r.GetDuration(); }), 2.0, -1},
        {L"Timing.get_TriggerDelayTime", timingObject,
         Ask<PptTimingRef>([](Timing r) { return r.GetTriggerDelayTime(); }), 0.5, -1},
        {L"Timing.get_RepeatCount", timingObject, Ask<PptTimingRef>([](Timing r) { return r.GetRepeatCount(); }), 3,
         0},
        {L"Timing.get_RepeatDuration", timingObject,
         Ask<PptTimingRef>([](Timing r) { return r.GetRepeatDuration(); }), 1.0, -1},
        {L"Timing.put_Duration", timingObject, Ask<PptTimingRef>([](Timing r) { return r.SetDuration(4) ? 1 : 0; }),
         1, 0},
        {L"Timing.get_TriggerType", effectObject,
         Ask<PptAnimationRef>([](Animation r) { return r.GetTriggerType(); }), 2, 0},
        {L"Effect.get_Timing", effectObject, Ask<PptAnimationRef>([](Animation r) { return r.GetEffectDelay(); }), 0.5,
         -1},
        {L"Timing.put_TriggerType", effectObject,
         Ask<PptAnimationRef>([](Animation r) { return r.SetTriggerType(2) ? 1 : 0; }), 1, 0},
        {L"Sequence.get_Count", sequence.Get(), Ask<PptAnimationRef>([](Animation r) { return r.GetCount(); }), 1, 0},
        {L"Shape.get_Type", shapeObject, Ask<PptShapeRef>([](Shape r) { return r.GetShapeType(); }), 7, -2},
        {L"Shape.get_Id", shapeObject, Ask<PptShapeRef>([](Shape r) { return r.GetShapeId(); }), 3, -1},
        {L"Shape.get_Left", shapeObject, Ask<PptShapeRef>([](Shape r) { return r.IsGone() ? 1 : 0; }), 0, 1},
        {L"Tags.Item", shapeObject, Ask<PptShapeRef>([](Shape r) { return r.HasContentTag() ? 1 : 0; }), 1, 0},
        {L"Effect.get_Shape", effectObject,
         Ask<PptAnimationRef>([](Animation r) { return r.IsContentTarget() ? 1 : 0; }), 1, 0},
    };
    IUnknown* otherKind = static_cast<PowerPoint::Slide*>(slide);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.failing);
        EXPECT_DOUBLE_EQ(row.answer(row.holder), row.working);
        EXPECT_DOUBLE_EQ(row.answer(nullptr), row.fallback);
        EXPECT_DOUBLE_EQ(row.answer(otherKind), row.fallback);
        CallLog::Get().Fail(row.failing, E_FAIL);
        EXPECT_DOUBLE_EQ(row.answer(row.holder), row.fallback);
        CallLog::Get().ClearFailures();
    }
    PptShapeRef empty;
    EXPECT_TRUE(empty.IsGone());
}

TEST_F(PptWrapperTest, DurationsBelowAMillisecondAreRaisedAndNegativeOnesReachPowerPointUnchanged)
{
    EffectObject* effect = main->AddEffect(box, PowerPoint::msoAnimEffectCustom, PowerPoint::msoAnimTriggerOnPageClick);
    PptTimingRef timing;
    Hold(timing, static_cast<PowerPoint::Timing*>(effect->Timing()));
    const struct {
        float written;
        bool answer;
        float stored;
        size_t puts;
    } cases[] = {{0.0f, true, 0.001f, 1},   {0.0005f, true, 0.001f, 1}, {0.001f, true, 0.001f, 1},
                 {2.5f, true, 2.5f, 1},     {-1.0f, false, 2.5f, 1},    {-0.0001f, false, 2.5f, 1},
                 {NAN, false, 2.5f, 0}};
    CallLog::Get().SetRecording(true);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        CallLog::Get().Clear();
        EXPECT_EQ(timing.SetDuration(c.written), c.answer);
        EXPECT_FLOAT_EQ(effect->Timing()->Values().duration, c.stored);
        // A negative value reaches PowerPoint as it is, which refuses it here.
        std::vector<std::wstring> puts = CallLog::Get().EntriesStartingWith(L"Timing.put_Duration");
        ASSERT_EQ(puts.size(), c.puts);
    }
    CallLog::Get().SetRecording(false);
}

TEST_F(PptWrapperTest, ReadTimingWorksOutStartEndAndRepeats)
{
    const struct {
        const char* name;
        long effectType;
        standin::TimingValues values;
        bool answer;
        PptEffectTiming expected;
    } cases[] = {
        {"click, once", 0, {2.0f, 1, 0.5f, 1, 0.0f}, true, {1, 0.5f, 2.5f, 1, false}},
        {"three times", 0, {2.0f, 3, 1.0f, 3, 0.0f}, true, {3, 1.0f, 7.0f, 3, false}},
        {"repeat duration cuts", 0, {2.0f, 2, 0.0f, 2, 0.5f}, true, {2, 0.0f, 1.0f, 2, false}},
        {"no duration, no count", 0, {FLT_MAX, 2, 1.5f, 0, 0.0f}, true, {2, 1.5f, 1.5f, 0, true}},
        {"until next click", 0, {1.0f, 3, 0.0f, 0, 0.0f}, true, {3, 0.0f, 1.0f, 0, true}},
        {"appear", 1, {0.001f, 2, 0.75f, 5, 0.0f}, true, {2, 0.75f, 0.75f, 1, false}},
        {"no trigger", 0, {2.0f, 0, 0.5f, 1, 0.0f}, true, {0, -1, -1, 0, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EffectObject* effect = main->AddEffect(box, c.effectType, PowerPoint::msoAnimTriggerOnPageClick);
        effect->Timing()->Values() = c.values;
        PptAnimationRef ref;
        Hold(ref, static_cast<PowerPoint::Effect*>(effect));
        PptEffectTiming timing;
        EXPECT_EQ(ref.ReadTiming(timing), c.answer);
        EXPECT_EQ(timing.triggerType, c.expected.triggerType);
        EXPECT_FLOAT_EQ(timing.start, c.expected.start);
        EXPECT_FLOAT_EQ(timing.end, c.expected.end);
        EXPECT_EQ(timing.repeatCount, c.expected.repeatCount);
        EXPECT_EQ(timing.indefinite, c.expected.indefinite);
    }
    PptAnimationRef last;
    ASSERT_TRUE(sequence.GetItem(1, last));
    CallLog::Get().Fail(L"Timing.get_RepeatDuration", E_FAIL);
    PptEffectTiming timing;
    EXPECT_FALSE(last.ReadTiming(timing));
}

TEST_F(PptWrapperTest, ContentEffectsStartingWithThePreviousOneAreMovedToTenMilliseconds)
{
    EffectObject* first = main->AddEffect(box, PowerPoint::msoAnimEffectCustom, PowerPoint::msoAnimTriggerWithPrevious);
    first->Timing()->Values() = {1.0f, PowerPoint::msoAnimTriggerWithPrevious, 0.0f, 1, 0.0f};
    EffectObject* content = main->AddEffect(ole, PowerPoint::msoAnimEffectCustom, PowerPoint::msoAnimTriggerWithPrevious);
    content->Timing()->Values() = {0.5f, PowerPoint::msoAnimTriggerWithPrevious, 0.0f, 1, 0.0f};
    EffectObject* later = main->AddEffect(ole, PowerPoint::msoAnimEffectCustom, PowerPoint::msoAnimTriggerAfterPrevious);
    later->Timing()->Values() = {0.5f, PowerPoint::msoAnimTriggerAfterPrevious, 0.0f, 1, 0.0f};

    EXPECT_TRUE(sequence.FixContentEffectStarts(false, false));
    EXPECT_FLOAT_EQ(first->Timing()->Values().delay, 0.0f);    // not content
    EXPECT_FLOAT_EQ(content->Timing()->Values().delay, 0.01f);  // 0 became 0.01 s
    EXPECT_FLOAT_EQ(later->Timing()->Values().delay, 0.0f);    // starts after the first second
    EXPECT_TRUE(sequence.FixContentEffectStarts(false, false));
    EXPECT_FLOAT_EQ(content->Timing()->Values().delay, 0.01f);  // once is enough
}

TEST_F(PptWrapperTest, AfterPreviousStartsCountFromTheEndOfThePreviousEffects)
{
    // Four effects of a millisecond each, one after the other: the last really
    // starts at 3 ms and must be pushed by 7 ms.
    EffectObject* a = main->AddEffect(box, PowerPoint::msoAnimEffectCustom, PowerPoint::msoAnimTriggerWithPrevious);
    EffectObject* b = main->AddEffect(box, PowerPoint::msoAnimEffectCustom, PowerPoint::msoAnimTriggerAfterPrevious);
    EffectObject* marked = AddMarkedEffect(box, PowerPoint::msoAnimTriggerAfterPrevious, L"VistelloEffect:fx");
    EffectObject* content = main->AddEffect(ole, PowerPoint::msoAnimEffectCustom, PowerPoint::msoAnimTriggerAfterPrevious);
    for (EffectObject* effect : {a, b, marked, content})
        effect->Timing()->Values().duration = 0.001f;

    EXPECT_TRUE(sequence.FixContentEffectStarts(false, false));
    EXPECT_FLOAT_EQ(marked->Timing()->Values().delay, 0.0f);  // markers not asked for
    EXPECT_NEAR(content->Timing()->Values().delay, 0.007f, 1e-6);

    content->Timing()->Values().delay = 0.0f;
    EXPECT_TRUE(sequence.FixContentEffectStarts(true, false));
    EXPECT_NEAR(marked->Timing()->Values().delay, 0.008f, 1e-6);
    EXPECT_FLOAT_EQ(content->Timing()->Values().delay, 0.0f);  // now after 11 ms

    CallLog::Get().Fail(L"Timing.put_TriggerDelayTime", E_FAIL);
    marked->Timing()->Values().delay = 0.0f;
    EXPECT_FALSE(sequence.FixContentEffectStarts(true, false));
}

TEST_F(PptWrapperTest, ASequenceStartingOnAClickIsLeftAlone)
{
    main->AddEffect(box, PowerPoint::msoAnimEffectCustom, PowerPoint::msoAnimTriggerOnPageClick);
    EffectObject* content = main->AddEffect(ole, PowerPoint::msoAnimEffectCustom, PowerPoint::msoAnimTriggerWithPrevious);
    content->Timing()->Values().delay = 0.0f;
    CallLog::Get().SetRecording(true);
    CallLog::Get().Clear();
    EXPECT_TRUE(sequence.FixContentEffectStarts(true, true));
    EXPECT_TRUE(CallLog::Get().EntriesStartingWith(L"Timing.put_").empty());
    CallLog::Get().SetRecording(false);
    EXPECT_FLOAT_EQ(content->Timing()->Values().delay, 0.0f);

    PptAnimationRef empty;  // nothing to fix
    EXPECT_TRUE(empty.FixContentEffectStarts(true, true));
}

TEST_F(PptWrapperTest, ATriggerStandInTakesOverTheTriggerOfTheEffect)
{
    main->AddEffect(box, PowerPoint::msoAnimEffectCustom, PowerPoint::msoAnimTriggerOnPageClick);
    EffectObject* effect = main->AddEffect(ole, PowerPoint::msoAnimEffectCustom, PowerPoint::msoAnimTriggerOnPageClick);
    PptAnimationRef effectRef;
    PptShapeRef shapeRef;
    Hold(effectRef, static_cast<PowerPoint::Effect*>(effect));
    Hold(shapeRef, static_cast<PowerPoint::Shape*>(box));

    PptAnimationRef standIn;
    ASSERT_TRUE(sequence.InsertTriggerStandIn(shapeRef, effectRef, standIn));
    ASSERT_EQ(main->Items().size(), 3u);
    EffectObject* added = main->Items()[1];
    EXPECT_EQ(EffectObject::FromInterface(standIn.Get()), added);
    EXPECT_EQ(added->EffectType(), PowerPoint::msoAnimEffectTransparency);  // effect id 62
    EXPECT_EQ(added->Shape(), box);
    EXPECT_EQ(added->Parameters()->Amount(), 0.0f);
    EXPECT_FLOAT_EQ(added->Timing()->Values().duration, 0.001f);
    EXPECT_EQ(added->Timing()->Values().triggerType, PowerPoint::msoAnimTriggerOnPageClick);
    EXPECT_EQ(main->Items()[2], effect);
    EXPECT_EQ(effect->Timing()->Values().triggerType, PowerPoint::msoAnimTriggerWithPrevious);

    // A failure on the way takes the half-made stand-in out again.
    const wchar_t* failures[] = {L"EffectParameters.put_Amount", L"Timing.put_Duration", L"Effect.MoveBefore",
                                 L"Timing.put_TriggerType"};
    for (const wchar_t* failing : failures) {
        SCOPED_TRACE(failing);
        CallLog::Get().Fail(failing, E_FAIL);
        PptAnimationRef none;
        EXPECT_FALSE(sequence.InsertTriggerStandIn(shapeRef, effectRef, none));
        EXPECT_TRUE(none.IsEmpty());
        EXPECT_EQ(main->Items().size(), 3u);
        CallLog::Get().ClearFailures();
    }
    PptShapeRef noShape;
    PptAnimationRef none;
    EXPECT_FALSE(sequence.InsertTriggerStandIn(noShape, effectRef, none));
}

TEST_F(PptWrapperTest, MarkersTargetsAndTheirDeletion)
{
    EffectObject* marked = AddMarkedEffect(box, PowerPoint::msoAnimTriggerOnPageClick, L"VistelloEffect:id-42");
    EffectObject* wrongCase = AddMarkedEffect(box, PowerPoint::msoAnimTriggerOnPageClick, L"vistelloEffect:id");
    EffectObject* onTarget = main->AddEffect(ole, PowerPoint::msoAnimEffectCustom, PowerPoint::msoAnimTriggerOnPageClick);
    PptAnimationRef ref;
    MKString id;
    Hold(ref, static_cast<PowerPoint::Effect*>(marked));
    EXPECT_TRUE(ref.IsContentEffect());
    EXPECT_TRUE(ref.GetContentMarker(id));
    EXPECT_TRUE(id.EqualsText(L"id-42"));
    EXPECT_FALSE(ref.IsContentTarget());
    Hold(ref, static_cast<PowerPoint::Effect*>(wrongCase));
    EXPECT_FALSE(ref.IsContentEffect());
    EXPECT_FALSE(ref.GetContentMarker(id));
    EXPECT_TRUE(id.IsEmpty());
    Hold(ref, static_cast<PowerPoint::Effect*>(onTarget));
    EXPECT_TRUE(ref.IsContentTarget());
    EXPECT_TRUE(sequence.HasContentEffect());
    EXPECT_TRUE(sequence.HasContentTargetEffect());

    ShapeObject* second = slide->AddShape(PowerPoint::msoEmbeddedOLEObject, L"Second", 0, 0, 10, 10);
    second->Tags()->Set(L"_VQZ_CTT", L"x");
    main->AddEffect(second, PowerPoint::msoAnimEffectCustom, PowerPoint::msoAnimTriggerOnPageClick);
    EXPECT_TRUE(sequence.DeleteContentEffects());
    ASSERT_EQ(main->Items().size(), 2u);
    EXPECT_EQ(main->Items()[0], marked);
    EXPECT_EQ(main->Items()[1], wrongCase);
    EXPECT_FALSE(onTarget->IsAlive());
}

TEST_F(PptWrapperTest, TheFirstTriggerShapeOfASequence)
{
    int32_t id = 0;
    PptShapeRef shape;
    EXPECT_TRUE(sequence.GetFirstTriggerShapeId(&id));
    EXPECT_EQ(id, -2);
    EXPECT_TRUE(sequence.GetFirstTriggerShape(shape));
    EXPECT_TRUE(shape.IsEmpty());

    EffectObject* effect = main->AddEffect(box, PowerPoint::msoAnimEffectCustom, PowerPoint::msoAnimTriggerOnShapeClick);
    EXPECT_TRUE(sequence.GetFirstTriggerShapeId(&id));
    EXPECT_EQ(id, -1);
    effect->Timing()->SetTriggerShape(ole);
    EXPECT_TRUE(sequence.GetFirstTriggerShapeId(&id));
    EXPECT_EQ(id, ole->Id());
    EXPECT_TRUE(sequence.GetFirstTriggerShape(shape));
    EXPECT_EQ(ShapeObject::FromInterface(shape.Get()), ole);

    CallLog::Get().Fail(L"Shape.get_Id", E_FAIL);
    EXPECT_FALSE(sequence.GetFirstTriggerShapeId(&id));
    EXPECT_EQ(id, -2);
    CallLog::Get().ClearFailures();
    CallLog::Get().Fail(L"Effect.get_Timing", E_FAIL);
    EXPECT_FALSE(sequence.GetFirstTriggerShapeId(&id));
}

TEST_F(PptWrapperTest, VisibilityBehavioursAreSetToTheValueGiven)
{
    EffectObject* appear = main->AddEffect(box, PowerPoint::msoAnimEffectAppear, PowerPoint::msoAnimTriggerOnPageClick);
    VARIANT opacity;
    VariantInit(&opacity);
    opacity.vt = VT_R4;
    opacity.fltVal = 0.5f;
    appear->Behaviors()->AddSet(9, opacity);
    PptAnimationRef ref;
    Hold(ref, static_cast<PowerPoint::Effect*>(appear));
    EXPECT_TRUE(ref.SetVisibilityBehaviors(false));
    const auto& items = appear->Behaviors()->Items();
    EXPECT_EQ(items[0]->SetEffect()->To().vt, VT_I4);
    EXPECT_EQ(items[0]->SetEffect()->To().lVal, 0);
    EXPECT_EQ(items[1]->SetEffect()->To().vt, VT_R4);  // not visibility: untouched
    EXPECT_TRUE(ref.SetVisibilityBehaviors(true));
    EXPECT_EQ(items[0]->SetEffect()->To().lVal, 1);
    CallLog::Get().Fail(L"SetEffect.put_To", E_FAIL);
    EXPECT_FALSE(ref.SetVisibilityBehaviors(false));
}

TEST_F(PptWrapperTest, EmptyShapesHaveNoVisibleFillLineOrText)
{
    auto invisible = [](ShapeObject* shape) {
        shape->SetFill(false, RGB(0, 0, 0));
        shape->SetLineVisible(false);
        return shape;
    };
    ShapeObject* blank = invisible(slide->AddShape(PowerPoint::msoAutoShape, L"Blank", 0, 0, 10, 10));
    ShapeObject* filled = slide->AddShape(PowerPoint::msoAutoShape, L"Filled", 0, 0, 10, 10);
    filled->SetLineVisible(false);
    ShapeObject* emptyText = invisible(slide->AddShape(PowerPoint::msoTextBox, L"Empty", 0, 0, 10, 10));
    emptyText->SetText(true, false);
    ShapeObject* text = invisible(slide->AddShape(PowerPoint::msoTextBox, L"Text", 0, 0, 10, 10));
    text->SetText(true, true);
    ShapeObject* group = slide->AddShape(PowerPoint::msoGroup, L"Group", 0, 0, 10, 10);
    invisible(group->AddChild(PowerPoint::msoTextBox, L"Inner", 0, 0, 5, 5))->SetText(true, true);
    ShapeObject* emptyGroup = slide->AddShape(PowerPoint::msoGroup, L"Nothing", 0, 0, 10, 10);
    ShapeObject* blankGroup = slide->AddShape(PowerPoint::msoGroup, L"Blanks", 0, 0, 10, 10);
    invisible(blankGroup->AddChild(PowerPoint::msoAutoShape, L"A", 0, 0, 5, 5));
    ShapeObject* holder = invisible(slide->AddShape(PowerPoint::msoAutoShape, L"Holder", 0, 0, 10, 10));
    holder->SetPlaceholder(2, PowerPoint::msoAutoShape);
    ShapeObject* picture = invisible(slide->AddShape(PowerPoint::msoAutoShape, L"Picture", 0, 0, 10, 10));
    picture->SetPlaceholder(18, PowerPoint::msoPicture);
    ShapeObject* nested = invisible(slide->AddShape(PowerPoint::msoAutoShape, L"Nested", 0, 0, 10, 10));
    nested->SetPlaceholder(2, PowerPoint::msoPlaceholder);

    const struct {
        ShapeObject* shape;
        bool office2007;
        bool office2003;
    } cases[] = {
        {blank, true, false},      {filled, false, false},    {emptyText, true, true}, {text, false, false},
        {group, false, false},     {emptyGroup, true, false}, {blankGroup, true, false}, {holder, true, false},
        {picture, false, false},   {nested, false, false},    {ole, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shape->Name());
        PptShapeRef ref;
        Hold(ref, static_cast<PowerPoint::Shape*>(c.shape));
        EXPECT_EQ(ref.IsEmptyShape(1200), c.office2007);
        EXPECT_EQ(ref.IsEmptyShape(1100), c.office2003);
    }
    PptShapeRef ref;
    Hold(ref, static_cast<PowerPoint::Shape*>(blank));
    CallLog::Get().Fail(L"LineFormat.get_Visible", E_FAIL);
    EXPECT_FALSE(ref.IsEmptyShape(1400));
}

TEST_F(PptWrapperTest, ShapesSlidesAndCollectionsThroughTheirHolders)
{
    PptPresentationRef presentationRef;
    Hold(presentationRef, static_cast<PowerPoint::Presentation*>(presentation));
    PptPresentationRef found;
    ASSERT_TRUE(presentationRef.FindSlideById(slide->SlideId(), found));
    PptShapeRef shapes;
    ASSERT_TRUE(found.GetShapes(shapes));
    EXPECT_EQ(shapes.GetCount(), 2);
    PptShapeRef shape;
    ASSERT_TRUE(shapes.GetItemByVariant(2, shape));
    EXPECT_EQ(shape.GetShapeId(), ole->Id());
    EXPECT_FALSE(shapes.GetItemByVariant(3, shape));
    EXPECT_TRUE(shape.IsEmpty());
    EXPECT_FALSE(presentationRef.FindSlideById(9999, found));
    EXPECT_TRUE(found.IsEmpty());

    Hold(shape, static_cast<PowerPoint::Shape*>(ole));
    float left = -1, top = -1, width = -1, height = -1;
    EXPECT_TRUE(shape.GetBounds(left, top, width, height));
    EXPECT_EQ(left, 5.0f);
    EXPECT_EQ(height, 40.0f);
    MKString progId = L"stale";
    EXPECT_TRUE(shape.GetOleProgId(progId));
    EXPECT_TRUE(progId.EqualsText(L"ShockwaveFlash.ShockwaveFlash.10"));
    CallLog::Get().Fail(L"Shape.get_Top", E_FAIL);
    top = -1;
    EXPECT_FALSE(shape.GetBounds(left, top, width, height));
    EXPECT_EQ(top, -1.0f);
    EXPECT_EQ(width, 50.0f);  // the others are still read
    CallLog::Get().ClearFailures();
    Hold(shape, static_cast<PowerPoint::Shape*>(box));
    EXPECT_FALSE(shape.GetOleProgId(progId));
    EXPECT_TRUE(progId.IsEmpty());

    // The time line's first object is its main sequence; an effect's is its shape.
    PptObjectRef timeLine;
    Hold(timeLine, static_cast<PowerPoint::TimeLine*>(slide->TimeLine()));
    PptAnimationRef mainRef;
    ASSERT_TRUE(timeLine.GetFirstObject(mainRef));
    EXPECT_EQ(mainRef.Get(), static_cast<IUnknown*>(static_cast<PowerPoint::Sequence*>(main)));
    EffectObject* effect = main->AddEffect(box, PowerPoint::msoAnimEffectAppear, PowerPoint::msoAnimTriggerOnPageClick);
    PptAnimationRef effectRef;
    ASSERT_TRUE(mainRef.GetItem(1, effectRef));
    EXPECT_EQ(EffectObject::FromInterface(effectRef.Get()), effect);
    PptAnimationRef behaviors;
    ASSERT_TRUE(effectRef.GetBehaviors(behaviors));
    EXPECT_EQ(behaviors.GetCount(), 1);
    PptAnimationRef behavior;
    ASSERT_TRUE(behaviors.GetItem(1, behavior));
    PptTimingRef behaviorTiming;
    ASSERT_TRUE(behavior.GetBehaviorTiming(behaviorTiming));
    EXPECT_GE(behaviorTiming.GetDuration(), 0.0f);
    EXPECT_TRUE(effectRef.MoveTo(1));
    EXPECT_FALSE(effectRef.MoveTo(5));
    EXPECT_TRUE(effectRef.DeleteEffect());
    EXPECT_EQ(mainRef.GetCount(), 0);
}


// The count of references the object holds right now.
ULONG Refs(IUnknown* object)
{
    object->AddRef();
    return object->Release();
}

TEST_F(PptWrapperTest, EveryReferenceTakenIsGivenBackWhetherPowerPointAnswersOrFails)
{
    EffectObject* effect = main->AddEffect(ole, PowerPoint::msoAnimEffectCustom, PowerPoint::msoAnimTriggerWithPrevious);
    effect->Timing()->SetTriggerShape(box);
    VARIANT visible;
    VariantInit(&visible);
    visible.vt = VT_I4;
    visible.lVal = 1;
    effect->Behaviors()->AddSet(PowerPoint::msoAnimVisibility, visible);
    effect->Behaviors()->AddCommand(PowerPoint::msoAnimCommandTypeVerb, L"VistelloEffect:fx");
    effect->Behaviors()->AddCommand(PowerPoint::msoAnimCommandTypeVerb, L"VistelloEffectData:aa");
    box->SetPlaceholder(2, PowerPoint::msoAutoShape);
    ShapeObject* group = slide->AddShape(PowerPoint::msoGroup, L"Group", 0, 0, 10, 10);
    group->AddChild(PowerPoint::msoTextBox, L"Inner", 0, 0, 5, 5)->SetText(true, false);
    PptAnimationRef effectRef;
    PptShapeRef boxRef, oleRef, groupRef;
    PptPresentationRef presentationRef, slideRef;
    PptObjectRef timeLineRef;
    Hold(effectRef, static_cast<PowerPoint::Effect*>(effect));
    Hold(boxRef, static_cast<PowerPoint::Shape*>(box));
    Hold(oleRef, static_cast<PowerPoint::Shape*>(ole));
    Hold(groupRef, static_cast<PowerPoint::Shape*>(group));
    Hold(presentationRef, static_cast<PowerPoint::Presentation*>(presentation));
    Hold(slideRef, static_cast<PowerPoint::Slide*>(slide));
    Hold(timeLineRef, static_cast<PowerPoint::TimeLine*>(slide->TimeLine()));

    IUnknown* watched[] = {static_cast<PowerPoint::Effect*>(effect),
                           static_cast<PowerPoint::Timing*>(effect->Timing()),
                           static_cast<PowerPoint::AnimationBehaviors*>(effect->Behaviors()),
                           static_cast<PowerPoint::Shape*>(box),
                           static_cast<PowerPoint::Shape*>(ole),
                           static_cast<PowerPoint::Shape*>(group),
                           static_cast<PowerPoint::Tags*>(ole->Tags()),
                           static_cast<PowerPoint::Sequence*>(main),
                           static_cast<PowerPoint::Slide*>(slide),
                           static_cast<PowerPoint::Presentation*>(presentation)};
    std::vector<ULONG> before;
    for (IUnknown* object : watched)
        before.push_back(Refs(object));

    auto everyWrapper = [&] {
        PptObjectRef out;
        PptTimingRef timingOut;
        PptShapeRef shapeOut;
        PptAnimationRef animationOut;
        PptPresentationRef slideOut;
        MKString text;
        float a = 0, b = 0, c = 0, d = 0;
        int32_t id = 0;
        PptEffectTiming timing;
        effectRef.GetTiming(timingOut);
        effectRef.SetTriggerType(effectRef.GetTriggerType());
        effectRef.SetEffectDelay(effectRef.GetEffectDelay());
        effectRef.GetTriggerShape(shapeOut);
        effectRef.GetBehaviors(animationOut);
        animationOut.GetItem(1, animationOut);
        effectRef.GetFirstObject(out);
        effectRef.IsContentEffect();
        effectRef.GetContentMarker(text);
        effectRef.IsContentTarget();
        effectRef.ReadTiming(timing);
        effectRef.SetVisibilityBehaviors(true);
        effectRef.MoveTo(1);
        timeLineRef.GetFirstObject(out);
        sequence.GetItem(1, out);
        sequence.GetCount();
        sequence.FixContentEffectStarts(true, true);
        sequence.HasContentEffect();
        sequence.GetFirstTriggerShapeId(&id);
        sequence.GetFirstTriggerShape(shapeOut);
        presentationRef.FindSlideById(slide->SlideId(), slideOut);
        slideRef.GetShapes(shapeOut);
        shapeOut.GetItemByVariant(1, shapeOut);
        for (const PptShapeRef* shape : {&boxRef, &oleRef, &groupRef}) {
            shape->GetShapeType();
            shape->GetShapeId();
            shape->GetBounds(a, b, c, d);
            shape->IsGone();
            shape->GetOleProgId(text);
            shape->HasContentTag();
            shape->IsEmptyShape(1400);
            shape->GetGroupItems(shapeOut);
        }
    };
    const wchar_t* failures[] = {nullptr,
                                 L"Effect.get_Timing",
                                 L"Effect.get_Shape",
                                 L"Effect.get_Behaviors",
                                 L"Effect.get_EffectType",
                                 L"Timing.get_TriggerType",
                                 L"Timing.get_TriggerShape",
                                 L"Timing.put_TriggerDelayTime",
                                 L"AnimationBehaviors.Item",
                                 L"AnimationBehaviors.get_Count",
                                 L"AnimationBehavior.get_SetEffect",
                                 L"AnimationBehavior.get_CommandEffect",
                                 L"SetEffect.put_To",
                                 L"Sequence.Item",
                                 L"Shape.get_Type",
                                 L"Shape.get_Id",
                                 L"Shape.get_Tags",
                                 L"Shape.get_OLEFormat",
                                 L"Shape.get_Fill",
                                 L"Shape.get_Line",
                                 L"Shape.get_TextFrame",
                                 L"Shape.get_GroupItems",
                                 L"Shape.get_PlaceholderFormat",
                                 L"GroupShapes.Item",
                                 L"Tags.Item",
                                 L"OLEFormat.get_ProgID",
                                 L"FillFormat.get_Visible",
                                 L"Presentation.get_Slides",
                                 L"Slides.FindBySlideID",
                                 L"Shapes.Item"};
    for (const wchar_t* failing : failures) {
        SCOPED_TRACE(failing ? failing : L"nothing fails");
        if (failing)
            CallLog::Get().Fail(failing, E_FAIL);
        everyWrapper();
        CallLog::Get().ClearFailures();
        for (size_t i = 0; i < before.size(); ++i)
            EXPECT_EQ(Refs(watched[i]), before[i]) << "object " << i;
    }
}

}  // namespace
