// Presentations built by test code, read and changed through PowerPoint's
// interfaces as the add-in does.
#include "StandInTestSupport.h"
#include "fixtures/ComScope.h"
#include "fixtures/VariantArgs.h"

#include "standins/powerpoint/AnimationBehaviorObject.h"
#include "standins/powerpoint/AnimationBehaviorsObject.h"
#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/CommandEffectObject.h"
#include "standins/powerpoint/EffectObject.h"
#include "standins/powerpoint/PowerPointHost.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/SequenceObject.h"
#include "standins/powerpoint/SequencesObject.h"
#include "standins/powerpoint/ShapeObject.h"
#include "standins/powerpoint/SlideObject.h"
#include "standins/powerpoint/TagsObject.h"
#include "standins/powerpoint/TimeLineObject.h"
#include "standins/powerpoint/TimingObject.h"

#include <gtest/gtest.h>

#include <cfloat>

using standin::PowerPointHost;

namespace {

std::wstring Text(BSTR text)
{
    std::wstring value = text ? text : L"";
    SysFreeString(text);
    return value;
}

class ModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        presentation = host.App().AddPresentation(L"Model.pptx");
        slide = presentation->AddSlide();
        box = slide->AddShape(PowerPoint::msoAutoShape, L"Box", 10, 20, 300, 200);
        box->Tags()->Set(L"_VQZ_CT", L"movie");
        box->SetText(true, false);
        ole = slide->AddShape(PowerPoint::msoEmbeddedOLEObject, L"Object", 0, 0, 50, 50);
        ole->SetOle(L"PowerPoint.Show.12", nullptr);
        group = slide->AddShape(PowerPoint::msoGroup, L"Group", 0, 300, 100, 100);
        group->AddChild(PowerPoint::msoTextBox, L"Inner", 0, 300, 100, 50)->SetText(true, true);
    }

    // The slide through Presentations, Slides.FindBySlideID and Shapes.
    PowerPoint::Shapes* ShapesThroughCom()
    {
        PowerPoint::Presentations* presentations = nullptr;
        EXPECT_EQ(host.App().get_Presentations(&presentations), S_OK);
        PowerPoint::Presentation* found = nullptr;
        EXPECT_EQ(presentations->Item(IntArg(1), &found), S_OK);
        presentations->Release();
        PowerPoint::Slides* slides = nullptr;
        EXPECT_EQ(found->get_Slides(&slides), S_OK);
        found->Release();
        PowerPoint::Slide* comSlide = nullptr;
        EXPECT_EQ(slides->FindBySlideID(256, &comSlide), S_OK);
        PowerPoint::Slide* missing = nullptr;
        EXPECT_EQ(slides->FindBySlideID(999, &missing), E_INVALIDARG);
        slides->Release();
        PowerPoint::Shapes* shapes = nullptr;
        EXPECT_EQ(comSlide->get_Shapes(&shapes), S_OK);
        comSlide->Release();
        return shapes;
    }

    ComScope com;
    PowerPointHost host{L"14.0"};
    standin::PresentationObject* presentation = nullptr;
    standin::SlideObject* slide = nullptr;
    standin::ShapeObject* box = nullptr;
    standin::ShapeObject* ole = nullptr;
    standin::ShapeObject* group = nullptr;
};

TEST_F(ModelTest, ShapesAnswerTheirPropertiesThroughPowerPointsInterfaces)
{
    PowerPoint::Shapes* shapes = ShapesThroughCom();
    int count = 0;
    ASSERT_EQ(shapes->get_Count(&count), S_OK);
    EXPECT_EQ(count, 3);
    PowerPoint::Shape* first = nullptr;
    ASSERT_EQ(shapes->Item(IntArg(1), &first), S_OK);
    long type = 0;
    int id = 0;
    int zorder = 0;
    float left = 0;
    float width = 0;
    first->get_Type(&type);
    first->get_Id(&id);
    first->get_ZOrderPosition(&zorder);
    first->get_Left(&left);
    first->get_Width(&width);
    EXPECT_EQ(type, PowerPoint::msoAutoShape);
    EXPECT_EQ(id, 2);
    EXPECT_EQ(zorder, 1);
    EXPECT_EQ(left, 10.0f);
    EXPECT_EQ(width, 300.0f);

    // Tag names ignore case; an unknown name reads as the empty text.
    PowerPoint::Tags* tags = nullptr;
    ASSERT_EQ(first->get_Tags(&tags), S_OK);
    BSTR value = nullptr;
    BSTR name = SysAllocString(L"_vqz_ct");
    EXPECT_EQ(tags->Item(name, &value), S_OK);
    EXPECT_EQ(Text(value), L"movie");
    SysFreeString(name);
    name = SysAllocString(L"_VQZ_CTT");
    EXPECT_EQ(tags->Item(name, &value), S_OK);
    EXPECT_EQ(Text(value), L"");
    SysFreeString(name);
    tags->Release();

    long hasFrame = 0;
    first->get_HasTextFrame(&hasFrame);
    EXPECT_EQ(hasFrame, PowerPoint::msoTrue);
    PowerPoint::TextFrame* frame = nullptr;
    ASSERT_EQ(first->get_TextFrame(&frame), S_OK);
    long hasText = 0;
    frame->get_HasText(&hasText);
    EXPECT_EQ(hasText, PowerPoint::msoFalse);
    frame->Release();
    PowerPoint::OLEFormat* format = nullptr;
    EXPECT_EQ(first->get_OLEFormat(&format), E_FAIL);
    first->Release();

    // By name, an OLE object's ProgID.
    VARIANT byName;
    VariantInit(&byName);
    byName.vt = VT_BSTR;
    byName.bstrVal = SysAllocString(L"object");
    PowerPoint::Shape* object = nullptr;
    ASSERT_EQ(shapes->Item(byName, &object), S_OK);
    VariantClear(&byName);
    ASSERT_EQ(object->get_OLEFormat(&format), S_OK);
    BSTR progId = nullptr;
    format->get_ProgID(&progId);
    EXPECT_EQ(Text(progId), L"PowerPoint.Show.12");
    format->Release();
    object->Release();

    // A group's items.
    PowerPoint::Shape* comGroup = nullptr;
    ASSERT_EQ(shapes->Item(IntArg(3), &comGroup), S_OK);
    PowerPoint::GroupShapes* items = nullptr;
    ASSERT_EQ(comGroup->get_GroupItems(&items), S_OK);
    items->get_Count(&count);
    EXPECT_EQ(count, 1);
    PowerPoint::Shape* inner = nullptr;
    ASSERT_EQ(items->Item(IntArg(1), &inner), S_OK);
    inner->get_Type(&type);
    EXPECT_EQ(type, PowerPoint::msoTextBox);
    inner->Release();
    items->Release();
    comGroup->Release();

    PowerPoint::Shape* none = nullptr;
    EXPECT_EQ(shapes->Item(IntArg(4), &none), E_INVALIDARG);
    shapes->Release();
}

TEST_F(ModelTest, ADeletedShapeFailsForItsHolders)
{
    PowerPoint::Shape* held = box;
    held->AddRef();
    box->Delete();
    float left = 0;
    EXPECT_EQ(held->get_Left(&left), E_FAIL);
    int id = 0;
    EXPECT_EQ(held->get_Id(&id), E_FAIL);
    held->Release();
    EXPECT_EQ(slide->ShapeItems().Count(), 2);
}

TEST_F(ModelTest, ChangesThroughPowerPointClearTheSavedMarkButBuildingDoesNot)
{
    long saved = 0;
    ASSERT_EQ(presentation->get_Saved(&saved), S_OK);
    EXPECT_EQ(saved, PowerPoint::msoTrue);
    // Writing the value already there changes nothing.
    EXPECT_EQ(box->put_Left(10), S_OK);
    EXPECT_EQ(presentation->Saved(), PowerPoint::msoTrue);
    EXPECT_EQ(box->put_Visible(PowerPoint::msoFalse), S_OK);
    EXPECT_EQ(presentation->Saved(), PowerPoint::msoFalse);
    EXPECT_EQ(presentation->put_Saved(PowerPoint::msoTrue), S_OK);
    PowerPoint::FillFormat* fill = nullptr;
    ASSERT_EQ(box->get_Fill(&fill), S_OK);
    fill->put_Visible(PowerPoint::msoFalse);
    fill->Release();
    EXPECT_EQ(presentation->Saved(), PowerPoint::msoFalse);
    EXPECT_FALSE(box->FillVisible());
}

TEST_F(ModelTest, PlaceholderContainedTypeAnswersThroughDispatchFromVersionTwelve)
{
    standin::ShapeObject* placeholder = slide->AddShape(PowerPoint::msoAutoShape, L"Title", 0, 0, 10, 10);
    placeholder->SetPlaceholder(1, PowerPoint::msoPicture);
    PowerPoint::PlaceholderFormat* format = nullptr;
    ASSERT_EQ(placeholder->get_PlaceholderFormat(&format), S_OK);
    DISPPARAMS none{};
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(format->Invoke(PowerPoint::DISPID_PlaceholderFormat_ContainedType, IID_NULL, 1024,
                             DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(result.vt, VT_I4);
    EXPECT_EQ(result.lVal, PowerPoint::msoPicture);
    host.App().SetVersion(L"11.0");
    EXPECT_EQ(format->Invoke(PowerPoint::DISPID_PlaceholderFormat_ContainedType, IID_NULL, 1024,
                             DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
    format->Release();
    EXPECT_EQ(box->get_PlaceholderFormat(&format), E_FAIL);
}

TEST_F(ModelTest, EffectsAreAddedMovedAndDeletedInTheirSequence)
{
    PowerPoint::TimeLine* timeLine = nullptr;
    ASSERT_EQ(slide->get_TimeLine(&timeLine), S_OK);
    PowerPoint::Sequence* main = nullptr;
    ASSERT_EQ(timeLine->get_MainSequence(&main), S_OK);
    timeLine->Release();
    PowerPoint::Effect* a = nullptr;
    PowerPoint::Effect* b = nullptr;
    PowerPoint::Effect* c = nullptr;
    ASSERT_EQ(main->AddEffect(box, PowerPoint::msoAnimEffectAppear, 0, PowerPoint::msoAnimTriggerOnPageClick, -1, &a),
              S_OK);
    ASSERT_EQ(main->AddEffect(ole, 0, 0, PowerPoint::msoAnimTriggerWithPrevious, -1, &b), S_OK);
    ASSERT_EQ(main->AddEffect(group, PowerPoint::msoAnimEffectTransparency, 0, PowerPoint::msoAnimTriggerAfterPrevious,
                              1, &c),
              S_OK);
    auto order = [&]() {
        std::vector<int> indexes;
        for (PowerPoint::Effect* effect : {a, b, c}) {
            int index = 0;
            effect->get_Index(&index);
            indexes.push_back(index);
        }
        return indexes;
    };
    EXPECT_EQ(order(), (std::vector<int>{2, 3, 1}));
    EXPECT_EQ(c->MoveAfter(b), S_OK);
    EXPECT_EQ(order(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(c->MoveBefore(a), S_OK);
    EXPECT_EQ(order(), (std::vector<int>{2, 3, 1}));
    EXPECT_EQ(a->MoveTo(3), S_OK);
    EXPECT_EQ(order(), (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(a->MoveTo(4), E_INVALIDARG);

    // An Appear effect carries a set behaviour of visibility.
    PowerPoint::AnimationBehaviors* behaviors = nullptr;
    ASSERT_EQ(a->get_Behaviors(&behaviors), S_OK);
    PowerPoint::AnimationBehavior* set = nullptr;
    ASSERT_EQ(behaviors->Item(1, &set), S_OK);
    long type = 0;
    set->get_Type(&type);
    EXPECT_EQ(type, PowerPoint::msoAnimTypeSet);
    PowerPoint::SetEffect* setEffect = nullptr;
    set->get_SetEffect(&setEffect);
    long property = 0;
    setEffect->get_Property(&property);
    EXPECT_EQ(property, PowerPoint::msoAnimVisibility);
    setEffect->Release();
    set->Release();

    // A command behaviour written as the add-in writes verb commands.
    PowerPoint::AnimationBehavior* command = nullptr;
    ASSERT_EQ(behaviors->Add(PowerPoint::msoAnimTypeCommand, -1, &command), S_OK);
    PowerPoint::CommandEffect* commandEffect = nullptr;
    command->get_CommandEffect(&commandEffect);
    EXPECT_EQ(commandEffect->put_Type(PowerPoint::msoAnimCommandTypeVerb), S_OK);
    BSTR text = SysAllocString(L"11");
    EXPECT_EQ(commandEffect->put_Command(text), S_OK);
    SysFreeString(text);
    commandEffect->Release();
    command->Release();
    long behaviorCount = 0;
    behaviors->get_Count(&behaviorCount);
    EXPECT_EQ(behaviorCount, 2);
    behaviors->Release();
    standin::EffectObject* effect = standin::EffectObject::FromInterface(a);
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->Behaviors()->Items().back()->Command()->Command(), L"11");

    // Durations below 0.001 s are refused; no trigger shape reads as null.
    PowerPoint::Timing* timing = nullptr;
    ASSERT_EQ(a->get_Timing(&timing), S_OK);
    EXPECT_EQ(timing->put_Duration(0.0f), E_INVALIDARG);
    EXPECT_EQ(timing->put_Duration(0.001f), S_OK);
    EXPECT_EQ(timing->put_Duration(FLT_MAX), S_OK);
    PowerPoint::Shape* trigger = reinterpret_cast<PowerPoint::Shape*>(1);
    EXPECT_EQ(timing->get_TriggerShape(&trigger), S_OK);
    EXPECT_EQ(trigger, nullptr);
    timing->Release();

    // A deleted effect fails for its holders.
    EXPECT_EQ(b->Delete(), S_OK);
    int index = 0;
    EXPECT_EQ(b->get_Index(&index), E_FAIL);
    long count = 0;
    main->get_Count(&count);
    EXPECT_EQ(count, 2);
    for (PowerPoint::Effect* held : {a, b, c})
        held->Release();
    main->Release();
    EXPECT_EQ(presentation->Saved(), PowerPoint::msoFalse);
}

TEST_F(ModelTest, InteractiveSequencesHoldTriggerEffects)
{
    standin::SequenceObject* sequence = slide->TimeLine()->Interactive()->AddSequence();
    standin::EffectObject* effect =
        sequence->AddEffect(box, PowerPoint::msoAnimEffectCustom, PowerPoint::msoAnimTriggerOnShapeClick);
    effect->Timing()->SetTriggerShape(ole);
    PowerPoint::Sequences* sequences = nullptr;
    ASSERT_EQ(slide->TimeLine()->get_InteractiveSequences(&sequences), S_OK);
    long count = 0;
    sequences->get_Count(&count);
    EXPECT_EQ(count, 1);
    PowerPoint::Sequence* first = nullptr;
    ASSERT_EQ(sequences->Item(1, &first), S_OK);
    PowerPoint::Effect* comEffect = nullptr;
    ASSERT_EQ(first->Item(1, &comEffect), S_OK);
    PowerPoint::Timing* timing = nullptr;
    comEffect->get_Timing(&timing);
    PowerPoint::Shape* trigger = nullptr;
    ASSERT_EQ(timing->get_TriggerShape(&trigger), S_OK);
    int id = 0;
    trigger->get_Id(&id);
    EXPECT_EQ(id, ole->Id());
    trigger->Release();
    timing->Release();
    comEffect->Release();
    first->Release();
    sequences->Release();
}

}  // namespace
